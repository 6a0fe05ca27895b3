// The graphics entry operations that the simulation core calls (toolkit/graphics/entry.h), forwarding
// to the graphics core. The host build answers them from toolkit/headless instead.
#include "toolkit/graphics/entry.h"

#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/graphics_text.h"
#include "toolkit/graphics/fill_shapes.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_lines.h"
#include "toolkit/graphics/gr_platform.h"

void IGrSelectTarget(int kind, int handle)
{
    GR_PLATFORM_HOOKS.select_target(kind, handle);
}

void IGrCharFont(std::optional<int> type, std::optional<int> style, std::optional<float> width,
                 std::optional<float> height, std::optional<std::string_view> name, std::optional<int> option)
{
    gr_char_font(type, style, width, height, name, option);
}

void IGrCharScale(float width_factor, float height_factor)
{
    gr_char_scale(width_factor, height_factor);
}

void IGrCharOut(std::optional<float> x, std::optional<float> y, std::string_view text)
{
    gr_char_out(x, y, text);
}

void IGrIntegerOut(std::optional<float> x, std::optional<float> y, int value, std::optional<int> width)
{
    gr_integer_out(x, y, value, width);
}

void IGrRealOut(std::optional<float> x, std::optional<float> y, float value,
                std::optional<std::string_view> format)
{
    gr_real_out(x, y, value, format);
}

void IGrMarker(float x, float y, int n)
{
    gr_marker(x, y, n);
}

void IGrArea(float x1, float y1, float x2, float y2)
{
    gr_area(x1, y1, x2, y2);
}

void IGrUnits(float left, float bottom, float right, float top)
{
    gr_units(left, bottom, right, top);
}

void IGrColourN(int colour)
{
    gr_colour_n(colour);
}

void IGrFillPattern(int style, int density, int angle)
{
    gr_fill_pattern(style, density, angle);
}

void IGrRectangle(float x1, float y1, float x2, float y2)
{
    gr_rectangle(x1, y1, x2, y2);
}

void IGrMoveTo(float x, float y)
{
    gr_move_to(x, y);
}

void IGrLineTo(float x, float y)
{
    gr_line_to(x, y);
}

void IGrLine(float x1, float y1, float x2, float y2)
{
    gr_line(x1, y1, x2, y2);
}

void IGrArrow(float x1, float y1, float x2, float y2, int style)
{
    gr_arrow(x1, y1, x2, y2, style);
}

void IGrArrowPolar(float x, float y, float length, float angle, int style)
{
    gr_arrow_polar(x, y, length, angle, style);
}

void IGrAreaClear()
{
    gr_area_clear();
}
