// Filled shapes: the fill settings, the rectangle with its line-based fill, the helpers that every
// filled shape shares (op choice, hatch spacing, two-colour passes, saved drawing state), arrows,
// polygons and ellipses with fill emulation, triangles, circles and markers.
//
// A device that can fill a shape itself gets the shape as one driver op; hatching, outlines, and fills
// that a device cannot do are drawn as clipped lines, in a screen pass (hardcopy switched off) and a
// hardcopy pass (screen switched off), so every device shows the same picture.
#ifndef QR4T_TOOLKIT_GRAPHICS_FILL_SHAPES_H
#define QR4T_TOOLKIT_GRAPHICS_FILL_SHAPES_H

// The entry operation whose body is declared here (IGrMarker for gr_marker).
#include "toolkit/graphics/entry.h"

// The body of IGrFillPattern: style -2..4 (negative: hatch without outline), density 1..5 (default 2),
// direction 1..4 (default 3); out-of-range values become 0 with outline, 2 and 3.
void gr_fill_pattern(int style, int density = 2, int direction = 3);
// The body of IGrRectangle: corners in user units; zero width or height reports error 22.
void gr_rectangle(float x1, float y1, float x2, float y2);
// Rectangle from the current point to current + (width, height).
void IGrRectangleRel(float width, float height);
// The bodies of IGrArrow and IGrArrowPolar (toolkit/graphics/entry.h).
// Arrow from (x1,y1) to (x2,y2); head style 2 filled, other values open.
void gr_arrow(float x1, float y1, float x2, float y2, int style);
// Arrow with its head at (x,y), length in user x units, angle in degrees.
void gr_arrow_polar(float x, float y, float length, float angle, int style);

// Filled polygon of n points (device != 0: device coordinates, else user units; then the current
// point moves to the first vertex). Self-crossing outlines fill by the even-odd rule.
// (IGrPolygonRender in older notes.)
void IGrPolygonFill(const float* x, const float* y, int n, int device);
// Ellipse at (cx,cy) in user units, x semi-axis radius, y semi-axis radius x ratio (aspect-corrected);
// a radius or ratio <= 0 reports error 20. (IGrEllipseDraw in older notes.)
void IGrEllipseFill(float cx, float cy, float radius, float ratio);
// Circle through IGrEllipseFill with ratio 1.
void IGrCircleDraw(float cx, float cy, float radius);
// Triangle in user units; three equal x or three equal y values report error 22.
void IGrTriangleDraw(float x1, float y1, float x2, float y2, float x3, float y3);
// The body of IGrMarker (entry.h): marker n (1..20, other values 1) centred at (x,y), sized from the
// graphics character size.
void gr_marker(float x, float y, int n);
// The marker at the current point.
void IGrMarkerAtCurrentPoint(int n);

// Shared helpers.
// With style 3 the solid op replaces the pattern op when the screen draws it and the two colours of
// the pattern are equal.
void IGrFillOpChoose(int solid_op, int& op);
// Four lines in device coordinates, first on the screen alone, then on the hardcopy alone; under a
// non-copy plot mode the screen lines leave out each corner once, so XOR shows every corner.
void IGrRectangleOutline(float x1, float y1, float x2, float y2);

struct GrHatchSpacing {
    float x_spacing = 0.0f;  // spacing of lines of constant x, device units
    float y_spacing = 0.0f;  // spacing of lines of constant y
    int x_step = 1;          // the spacings as whole pixels: lines sit on their multiples
    int y_step = 1;
    float inset = 0.0f;      // edge offset: 1 on the screen under a non-copy plot mode
    bool alternate = false;  // reverse every other line (hardcopy hatching of pen plotters)
};
// Spacing of hatch lines for pass 1 (screen) or 2 (hardcopy) and density d.
GrHatchSpacing IGrHatchSpacing(int pass, int density);
// Mode 0 saves the colours, line type and text mode, 1 restores them; 2 saves the area fractions,
// 4 saves them and opens the clip to the whole surface, 3 sets the clip back from the saved fractions.
void IGrDrawStateSave(int mode);
// Second colour of a two-colour emulated fill: state 1 switches to the previous colour (state 2),
// state 2 switches back (state 3). Acts only with style 3 when the pass emulates.
void IGrFillColourSwap(int pass, int& state);

#endif
