// Entry operations of the graphics core that the simulation core calls (the set-up pictures).
//
// Platform-neutral declarations: the win build implements them in the graphics core, the host build in
// toolkit/headless, which records the calls and draws nothing.
#ifndef QR4T_TOOLKIT_GRAPHICS_ENTRY_H
#define QR4T_TOOLKIT_GRAPHICS_ENTRY_H

#include <string_view>

// Selects the drawing target: kind 1 a window (handle its number).
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
// Saves the current target's image to a file (BMP, PCX or PNG by the name's ending).
void IGrSaveImage(std::string_view file);

#endif
