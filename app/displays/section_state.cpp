// The state of the flowfield section display and its values on opening.
#include "app/displays/section_state.h"

#include "app/state/box.h"
#include "app/state/divisions.h"

SectionDisplayState SECTION;

float element_layer_centre(int axis, int division, int element)
{
    const Divisions& D = DIVISIONS;
    const BoxState& B = BOX;
    float division_width = D.DIVISION_WIDTH_Z, minimum = B.ZMIN, element_width = D.ELEMENT_WIDTH_Z;
    if (axis == 1) {
        division_width = D.DIVISION_WIDTH_X;
        minimum = B.XMIN;
        element_width = D.ELEMENT_WIDTH_X;
    } else if (axis == 2) {
        division_width = D.DIVISION_WIDTH_Y;
        minimum = B.YMIN;
        element_width = D.ELEMENT_WIDTH_Y;
    }
    // 4-byte arithmetic as stored: each product and sum is a 4-byte real.
    const float lower = static_cast<float>((division - 1) * division_width) + minimum;
    return lower + static_cast<float>((static_cast<float>(element) - 0.5f) * element_width);
}

float section_plane_position()
{
    const SectionDisplayState& s = SECTION;
    return element_layer_centre(s.JSDIR.current, s.SECTION_DIVISION.current, s.SECTION_ELEMENT.current);
}

void open_section_display_state()
{
    SectionDisplayState& s = SECTION;
    s.JSDIR.set(3);
    s.SECTION_DIVISION.set(1);
    s.SECTION_ELEMENT.set(1);
    s.SECTION_PROPERTY.set(10);
    s.SECTION_SPECIES.set(1);
    s.SECTION_LOG_SCALE.set(0);
    s.SECTION_RANGE_LOW.set(0);
    s.SECTION_RANGE_HIGH.set(0);
    s.SECTION_WHITE_BACKGROUND.set(0);
    s.REPORT_SPECIES.set(1);
    s.SECTION_POINT_SHOWN = 0;
    DISPLAY.FLOW_COLOUR_MAP.set(1);
    DISPLAY.FLOW_LINE_COUNT = 0;
    s.SECTION_PLANE_POSITION = section_plane_position();
}
