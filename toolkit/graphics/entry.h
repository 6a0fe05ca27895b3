// Entry operations of the graphics core that the simulation core calls (the set-up pictures and the
// result displays).
//
// Platform-neutral declarations: the win build implements them in the graphics core, the host build in
// toolkit/headless, which records the calls and draws nothing.
#ifndef QR4T_TOOLKIT_GRAPHICS_ENTRY_H
#define QR4T_TOOLKIT_GRAPHICS_ENTRY_H

#include <optional>
#include <string_view>

// Selects the drawing target: kind 1 a window (handle its number; -1 the current window).
void IGrSelectTarget(int kind, int handle);
// The graphics area as fractions 0..1 of the target.
void IGrArea(float x1, float y1, float x2, float y2);
// The user units of the graphics area.
void IGrUnits(float left, float bottom, float right, float top);
// Selects the drawing colour 0..255 of the shared colour table.
void IGrColourN(int colour);
// Fill pattern of later areas: style -2..4, density 1..5, angle 1..4.
void IGrFillPattern(int style, int density = 2, int angle = 3);
// A rectangle between two corners in user units, filled with the current pattern.
void IGrRectangle(float x1, float y1, float x2, float y2);
// Moves the current point without drawing (user units).
void IGrMoveTo(float x, float y);
// A line from the current point to (x, y), which becomes the current point.
void IGrLineTo(float x, float y);
// A line between two points (user units).
void IGrLine(float x1, float y1, float x2, float y2);
// An arrow from (x1, y1) to (x2, y2); head style 2 filled, any other value open.
void IGrArrow(float x1, float y1, float x2, float y2, int style);
// An arrow with its head at (x, y), its length in user x units and its angle in degrees.
void IGrArrowPolar(float x, float y, float length, float angle, int style);
// Clears the graphics area to colour number 0.
void IGrAreaClear();
// Saves the current target's image to a file (BMP, PCX or PNG by the name's ending).
void IGrSaveImage(std::string_view file);

// Graphics text and markers in user units (the section picture's legend and overlay).
// The font: types 101..104 the built-in stroke fonts; style bits; character width and height as
// fractions of the graphics area; a face name and a text mode option.
void IGrCharFont(std::optional<int> type, std::optional<int> style = {}, std::optional<float> width = {},
                 std::optional<float> height = {}, std::optional<std::string_view> name = {},
                 std::optional<int> option = {});
// The character size relative to the default.
void IGrCharScale(float width_factor, float height_factor);
// Text at (x, y); without a point at the current point.
void IGrCharOut(std::optional<float> x, std::optional<float> y, std::string_view text);
// An integer right-justified in `width` characters, and a real with an edit format such as "(F5.1)".
void IGrIntegerOut(std::optional<float> x, std::optional<float> y, int value, std::optional<int> width = {});
void IGrRealOut(std::optional<float> x, std::optional<float> y, float value,
                std::optional<std::string_view> format = {});
// Marker n (1..20) centred at (x, y), sized from the character size.
void IGrMarker(float x, float y, int n);

#endif
