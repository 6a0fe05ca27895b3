// Glyph data of the eight built-in stroke fonts (stroke_font_data.cpp, written by
// tools/make_stroke_fonts.py).
#ifndef QR4T_TOOLKIT_GRAPHICS_STROKE_FONT_DATA_H
#define QR4T_TOOLKIT_GRAPHICS_STROKE_FONT_DATA_H

#include <array>
#include <string_view>

// 1-based positions in the stroke text of the glyphs of the codes 33..127 (the entry of 127 closes the
// glyph of 126), and of the codes 161..255 followed by the end marker (stroke length + 1).
using StrokeStarts = std::array<int, 95>;
using StrokeStartsUpper = std::array<int, 96>;

// One built-in font as its installer hands it to IGrStrokeFontInstall.
struct StrokeFontData {
    std::string_view name;           // file name, e.g. "standard.chr"
    float cell_width;                // m1: x scale = character width / m1
    float cell_height;               // m2: y scale = character height / m2
    float x_extent;                  // m3: glyph box width in grid units (centres the glyph)
    float y_extent;                  // m4: glyph box height in grid units
    int charset;                     // m5: 7 = codes 32..126 only, else also 161..255
    int mode;                        // m6: 1 stroked runs, 0 filled outlines
    int proportional;                // m7: 1 proportional through the width tables, 0 fixed pitch
    std::string_view strokes;        // the stroke text
    const StrokeStarts& lower;       // start table A
    const StrokeStartsUpper& upper;  // start table B
};

extern const StrokeFontData STROKE_FONT_STANDARD;
extern const StrokeFontData STROKE_FONT_FIXED_PLAIN;
extern const StrokeFontData STROKE_FONT_FIXED_BOLD;
extern const StrokeFontData STROKE_FONT_ROMAN_PLAIN;
extern const StrokeFontData STROKE_FONT_ROMAN_BOLD;
extern const StrokeFontData STROKE_FONT_SWISS_PLAIN;
extern const StrokeFontData STROKE_FONT_SWISS_BOLD;
extern const StrokeFontData STROKE_FONT_SYMBOL;

#endif
