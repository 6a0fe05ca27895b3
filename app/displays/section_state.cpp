// The state of the flowfield section display and its values on opening.
#include "app/displays/section_state.h"

#include "app/state/box.h"
#include "app/state/divisions.h"

SectionDisplayState SECTION;

int division_count(int axis)
{
    const BoxState& B = BOX;
    return axis == 1 ? B.DIVISIONS_X : axis == 2 ? B.DIVISIONS_Y : B.DIVISIONS_Z;
}

int element_count(int axis)
{
    const BoxState& B = BOX;
    return axis == 1   ? B.ELEMENTS_PER_DIVISION_X
           : axis == 2 ? B.ELEMENTS_PER_DIVISION_Y
                       : B.ELEMENTS_PER_DIVISION_Z;
}

float box_minimum(int axis)
{
    return axis == 1 ? BOX.XMIN : axis == 2 ? BOX.YMIN : BOX.ZMIN;
}

float box_maximum(int axis)
{
    return axis == 1 ? BOX.XMAX : axis == 2 ? BOX.YMAX : BOX.ZMAX;
}

float division_width(int axis)
{
    const Divisions& D = DIVISIONS;
    return axis == 1 ? D.DIVISION_WIDTH_X : axis == 2 ? D.DIVISION_WIDTH_Y : D.DIVISION_WIDTH_Z;
}

float element_width(int axis)
{
    const Divisions& D = DIVISIONS;
    return axis == 1 ? D.ELEMENT_WIDTH_X : axis == 2 ? D.ELEMENT_WIDTH_Y : D.ELEMENT_WIDTH_Z;
}

bool lattice_ready()
{
    const Array<int, 6>& E = DIVISIONS.ELEMENT_CELL;
    return E.allocated() && E.extent(1) == division_count(3) && E.extent(2) == division_count(2) &&
           E.extent(3) == division_count(1) && E.extent(4) == element_count(3) &&
           E.extent(5) == element_count(2) && E.extent(6) == element_count(1);
}

float element_layer_centre(int axis, int division, int element)
{
    // 4-byte arithmetic as stored: each product and sum is a 4-byte real.
    const float lower = static_cast<float>((division - 1) * division_width(axis)) + box_minimum(axis);
    return lower + static_cast<float>((static_cast<float>(element) - 0.5f) * element_width(axis));
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
