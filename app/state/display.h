// DISPLAY: the display settings and the start-up choices of the run.
//
// Every control of the live displays is a (current, previous) pair of integers; a display redraws when
// the two differ and then copies current into previous. The main program sets the pairs when a run is
// continued, the displays change them, and the restart set saves them. The start-up choices
// (RUN_TYPE, NOMINAL_SCREEN_WIDTH, DIALOG_OFFSET_X/Y) are written by the main program only.
#ifndef QR4T_APP_STATE_DISPLAY_H
#define QR4T_APP_STATE_DISPLAY_H

#include <array>

// A display control: the value the user chose and the value last drawn.
struct DisplayPair {
    int current = 0;
    int previous = 0;
    void set(int v) { current = previous = v; }
};

struct DisplaySettings {
    // ---- start-up choices of the main program
    int RUN_TYPE = 6;                 // 1 continue, 2 adapt and continue, 3..5 demonstration cases, 6 about
    int NOMINAL_SCREEN_WIDTH = 1280;  // 1280 on screens at least 1100 pixels wide, else 1024
    int DIALOG_OFFSET_X = 100;        // offset of the "Characteristic Area" dialog in 0..9999 units
    int DIALOG_OFFSET_Y = 100;
    int MESSAGE_TYPE = -1;  // type of the last poll; 9 is a close request

    // ---- display controls (FLOW_PROPERTY with FLOW_PROPERTY_PREV, ...)
    DisplayPair FLOW_PROPERTY;
    DisplayPair SURF_DISPLAY_PROPERTY;
    DisplayPair FORCE_SURFACE;
    DisplayPair LOG_REACTION;
    DisplayPair FLOW_COLOUR_MAP;  // "Color Map" radio buttons 1, 2, 3 (COLOUR_MAP in the restart items)
    DisplayPair FLOW_LOG_SCALE;
    DisplayPair SURF_LOG_SCALE;
    DisplayPair FLOW_WHITE_BACKGROUND;
    DisplayPair SURF_WHITE_BACKGROUND;
    DisplayPair FLOW_RANGE_LOW;
    DisplayPair FLOW_RANGE_HIGH;
    DisplayPair SURF_RANGE_LOW;
    DisplayPair SURF_RANGE_HIGH;
    std::array<DisplayPair, 5> DISPLAY_SPARE;  // DISPLAY_SPARE_1..5 (SPARE_SETTING_n in the restart items)
    DisplayPair FLOW_PLANE_AXIS;
    DisplayPair FLOW_PLANE_DIVISION;
    DisplayPair FLOW_PLANE_ELEMENT;
    DisplayPair SURF_VIEW_ZOOM;
    DisplayPair SURF_VIEW_SHIFT_H;
    DisplayPair SURF_VIEW_SHIFT_V;
    DisplayPair SURF_VIEW_AZIMUTH;
    DisplayPair SURF_VIEW_ELEVATION;

    // ---- single display variables
    int VIEW_MODE_3D = 1;     // 3-D view mode 1, 2 or 3 (VIEW_3D_MODE in the restart items)
    int FLOW_LINE_COUNT = 0;  // flow-direction lines in use, at most 50
    std::array<float, 50> FLOW_LINE_X{};
    std::array<float, 50> FLOW_LINE_Y{};
    float REFERENCE_LENGTH = 0.0f;  // length of the moment coefficients
};

extern DisplaySettings DISPLAY;

// The pairs that a continued run starts from (FLOW_PROPERTY 13, surface property 2, ...).
void set_continued_run_display_settings();

#endif
