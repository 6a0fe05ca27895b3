// The geometry of stroke text: a string of the active stroke font laid out at a point, scaled to the
// character cell, slanted for italics and turned to the text angle, as the lines, polylines and filled
// polygons that the glyph renderer hands to the drivers. Portable: it computes and draws nothing.
#ifndef QR4T_TOOLKIT_GRAPHICS_STROKE_FONT_GLYPHS_H
#define QR4T_TOOLKIT_GRAPHICS_STROKE_FONT_GLYPHS_H

#include "toolkit/graphics/stroke_font.h"

#include <string_view>
#include <vector>

// What the layout reads of the text settings (GrTextState).
struct StrokeTextSettings {
    float co = 1.0f;     // cosine of the text angle
    float sB = 0.0f;     // sine times the aspect factor K (y part of the baseline direction)
    float sA = 0.0f;     // sine divided by K (x part of the up direction)
    float slant = 0.0f;  // italic slant (0.4663 for italic stroke text)
    int text_mode = 0;   // 0 fixed pitch; 1, 2 proportional by the width factors
    int vertical = 0;    // non-zero: each character below the previous one
    int style = 0;       // style bits: 1 bold, 2 italic, 4 underline, 8 text on a filled box
};

// One primitive of stroke text, in device coordinates.
enum StrokeShape {
    STROKE_LINE = 1,      // a two-point run of a stroked font, and the underline
    STROKE_POLYLINE = 2,  // a longer run of a stroked font
    STROKE_POLYGON = 3,   // a run of a filled font: a closed outline filled solid
};
struct StrokeOutput {
    int shape;             // StrokeShape
    std::vector<float> x;  // device x of the points
    std::vector<float> y;  // device y of the points (upwards)
};

// Lays out n characters of text with the font, starting at (x, y) (the left end of the text's middle
// line), with the character cell W x H (device units): x scale W / m1, y scale H / m2 (times 0.75 in
// x for a proportional text mode when the font's x extent is below 8), cell advance a = W (co, sB) and
// cell height h = H (-sA, co). Blanks and codes without a glyph advance without output. A font with a
// cell of zero size (none installed) gives no output.
std::vector<StrokeOutput> stroke_text_geometry(const GrStrokeFontRecord& font, float x, float y,
                                               std::string_view text, float W, float H,
                                               const StrokeTextSettings& settings);

#endif
