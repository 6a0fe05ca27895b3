// Entry operations of the graphics core that the simulation core calls (the set-up pictures).
//
// Platform-neutral declarations: the win build implements them in the graphics core, the host build in
// toolkit/headless, which records the calls and draws nothing.
#ifndef QR4T_TOOLKIT_GRAPHICS_ENTRY_H
#define QR4T_TOOLKIT_GRAPHICS_ENTRY_H

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
// An arrow from (x1, y1) to (x2, y2); head style 2 filled, any other value open.
void IGrArrow(float x1, float y1, float x2, float y2, int style);
// An arrow with its head at (x, y), its length in user x units and its angle in degrees.
void IGrArrowPolar(float x, float y, float length, float angle, int style);
// Clears the graphics area to colour number 0.
void IGrAreaClear();
// Saves the current target's image to a file (BMP, PCX or PNG by the name's ending).
void IGrSaveImage(std::string_view file);

#endif
