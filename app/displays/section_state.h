// SECTION: the process-wide state of the flowfield section display (the paused, detailed view of one
// plane of elements). The section window sets it when it opens and while it runs; the section picture,
// its legend, the flow-direction lines and the point report read it. The picture counter lives in RUN
// (PICTURE_COUNTER) and the flow-direction line store in DISPLAY (FLOW_LINE_COUNT, FLOW_LINE_X/Y),
// since the restart set holds them; FLOW_COLOUR_MAP is the display setting shared with the live
// flowfield picture.
#ifndef QR4T_APP_DISPLAYS_SECTION_STATE_H
#define QR4T_APP_DISPLAYS_SECTION_STATE_H

#include "app/state/display.h"

struct SectionDisplayState {
    DisplayPair JSDIR;                     // axis to which the plane is normal: 1 x, 2 y, 3 z
    DisplayPair SECTION_DIVISION;          // division along JSDIR that holds the plane, 1..DIVISIONS_*
    DisplayPair SECTION_ELEMENT;           // element within it, 1..ELEMENTS_PER_DIVISION_*
    DisplayPair SECTION_PROPERTY;          // 1..17 VAR rows of the gas, 18..28 SPECIES_VAR rows 1..11
    DisplayPair SECTION_SPECIES;           // species of the species properties, 1..SPECIES_COUNT
    DisplayPair SECTION_LOG_SCALE;         // 0 linear, 1 logarithmic colour scale
    DisplayPair SECTION_RANGE_LOW;         // shift of the low end of the colour scale
    DisplayPair SECTION_RANGE_HIGH;        // shift of the high end of the colour scale
    DisplayPair SECTION_WHITE_BACKGROUND;  // 1 white, 0 black background
    DisplayPair REPORT_SPECIES;            // species of the point report's species part
    int SECTION_POINT_SHOWN = 0;           // 1 while a reported point is marked in the picture
    float SECTION_PICK_X = 0.0f;           // last mouse press inside the box (scaled); kept on reopening
    float SECTION_PICK_Y = 0.0f;
    float SECTION_PICK_Z = 0.0f;
    float SECTION_POINT_X = 0.0f;  // the point marked while SECTION_POINT_SHOWN is 1; kept
    float SECTION_POINT_Y = 0.0f;
    float SECTION_POINT_Z = 0.0f;
    float SECTION_PLANE_POSITION = 0.0f;  // coordinate of the plane along JSDIR (scaled length)
    int SECTION_WINDOW = 0;               // child window of the display
};

extern SectionDisplayState SECTION;

// The lattice along an axis 1 x, 2 y, 3 z: numbers of divisions and of elements per division, the box
// limits and the division and element widths (scaled lengths).
int division_count(int axis);
int element_count(int axis);
float box_minimum(int axis);
float box_maximum(int axis);
float division_width(int axis);
float element_width(int axis);

// Whether ELEMENT_CELL holds the box's lattice (its extents those of the division and element counts),
// so that elements can be walked and points located; not before the cells are formed.
bool lattice_ready();

// The centre of an element layer in the scaled length unit: along axis 1 x, 2 y, 3 z, (division - 1) x
// division width + box minimum + (element - 0.5) x element width.
float element_layer_centre(int axis, int division, int element);

// The centre of element SECTION_ELEMENT of division SECTION_DIVISION along JSDIR, in the scaled length
// unit.
float section_plane_position();

// The values the display takes on opening: the z plane through element 1 of division 1, property 10
// (temperature), species 1, linear scale, no range shift, black background, colour map 1, no point
// shown, no flow-direction line. The pick and point coordinates, the line arrays and the picture
// counter keep their values.
void open_section_display_state();

#endif
