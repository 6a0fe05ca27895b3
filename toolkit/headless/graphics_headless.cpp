// The headless stand-in of the graphics entry operations: records the calls, draws nothing.
#include "toolkit/common/error_numbers.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/graphics/window_text.h"
#include "toolkit/headless/headless.h"

#include <string>

namespace {

std::string num(float v)
{
    std::string s = std::to_string(v);
    s.erase(s.find_last_not_of('0') + 1);
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    return s;
}

void record(std::string line)
{
    if (HEADLESS.record_calls)
        HEADLESS.calls.push_back(std::move(line));
}

}  // namespace

void IGrSelectTarget(int kind, int handle)
{
    record("IGrSelectTarget " + std::to_string(kind) + " " + std::to_string(handle));
}

void IGrArea(float x1, float y1, float x2, float y2)
{
    record("IGrArea " + num(x1) + " " + num(y1) + " " + num(x2) + " " + num(y2));
}

void IGrUnits(float left, float bottom, float right, float top)
{
    record("IGrUnits " + num(left) + " " + num(bottom) + " " + num(right) + " " + num(top));
}

void IGrColourN(int colour)
{
    if (colour < 0 || colour > 255) {
        HEADLESS.last_error = GR_ERR_COLOUR;
        return;
    }
    record("IGrColourN " + std::to_string(colour));
}

void IGrFillPattern(int style, int density, int angle)
{
    record("IGrFillPattern " + std::to_string(style) + " " + std::to_string(density) + " " +
           std::to_string(angle));
}

void IGrRectangle(float x1, float y1, float x2, float y2)
{
    record("IGrRectangle " + num(x1) + " " + num(y1) + " " + num(x2) + " " + num(y2));
}

void IGrCharFont(std::optional<int> type, std::optional<int> style, std::optional<float> width,
                 std::optional<float> height, std::optional<std::string_view>, std::optional<int>)
{
    record("IGrCharFont " + std::to_string(type.value_or(-1)) + " " + std::to_string(style.value_or(-1)) +
           " " + num(width.value_or(-1.0f)) + " " + num(height.value_or(-1.0f)));
}

void IGrCharScale(float width_factor, float height_factor)
{
    record("IGrCharScale " + num(width_factor) + " " + num(height_factor));
}

void IGrCharOut(std::optional<float> x, std::optional<float> y, std::string_view text)
{
    record("IGrCharOut " + num(x.value_or(0.0f)) + " " + num(y.value_or(0.0f)) + " |" + std::string(text) +
           "|");
}

void IGrIntegerOut(std::optional<float> x, std::optional<float> y, int value, std::optional<int> width)
{
    record("IGrIntegerOut " + num(x.value_or(0.0f)) + " " + num(y.value_or(0.0f)) + " " +
           std::to_string(value) + " " + std::to_string(width.value_or(11)));
}

void IGrRealOut(std::optional<float> x, std::optional<float> y, float value,
                std::optional<std::string_view> format)
{
    record("IGrRealOut " + num(x.value_or(0.0f)) + " " + num(y.value_or(0.0f)) + " " + num(value) + " " +
           std::string(format.value_or("(G15.5E2)")));
}

void IGrMarker(float x, float y, int n)
{
    record("IGrMarker " + num(x) + " " + num(y) + " " + std::to_string(n));
}

void IGrSaveImage(std::string_view file)
{
    record("IGrSaveImage " + std::string(file));
}

void IGrMoveTo(float x, float y)
{
    record("IGrMoveTo " + num(x) + " " + num(y));
}

void IGrLineTo(float x, float y)
{
    record("IGrLineTo " + num(x) + " " + num(y));
}

void IGrLine(float x1, float y1, float x2, float y2)
{
    record("IGrLine " + num(x1) + " " + num(y1) + " " + num(x2) + " " + num(y2));
}

void IGrArrow(float x1, float y1, float x2, float y2, int style)
{
    record("IGrArrow " + num(x1) + " " + num(y1) + " " + num(x2) + " " + num(y2) + " " +
           std::to_string(style));
}

void IGrArrowPolar(float x, float y, float length, float angle, int style)
{
    record("IGrArrowPolar " + num(x) + " " + num(y) + " " + num(length) + " " + num(angle) + " " +
           std::to_string(style));
}

void IGrAreaClear()
{
    record("IGrAreaClear");
}

// ---- window text (drawn by Win32 code; the colours and the font state stay the portable toolkit's)

void WGrTextString(int x, int y, std::string_view text)
{
    record("WGrTextString " + std::to_string(x) + " " + std::to_string(y) + " |" + std::string(text) + "|");
}

int WGrTextLength(std::string_view text)
{
    return HEADLESS_TEXT_CHARACTER_WIDTH * static_cast<int>(text.size());
}

void WGrTextReal(int x, int y, float value, std::string_view format)
{
    record("WGrTextReal " + std::to_string(x) + " " + std::to_string(y) + " " + num(value) + " " +
           std::string(format));
}

void WGrTextInteger(int x, int y, int value, int width)
{
    record("WGrTextInteger " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(value) +
           " " + std::to_string(width));
}
