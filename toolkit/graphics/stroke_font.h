// Stroke fonts: the installed font record, its installers, the glyph decoding of the stroke text and
// the per-character width tables used for proportional spacing.
//
// A stroke text packs glyphs as points of two characters of the alphabet STROKE_ALPHABET (x, then y,
// y growing upwards); any other character lifts the pen and the two characters after it start a new
// run. A stroked font (drawing mode 1) draws each run as an open polyline, a filled font (mode 0) as a
// closed polygon filled solid. Portable: no platform types.
#ifndef QR4T_TOOLKIT_GRAPHICS_STROKE_FONT_H
#define QR4T_TOOLKIT_GRAPHICS_STROKE_FONT_H

#include "toolkit/graphics/stroke_font_data.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

constexpr std::string_view STROKE_ALPHABET = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrst";
constexpr int STROKE_TEXT_LENGTH = 17000;  // characters of a font's stroke text
constexpr int STROKE_NAME_LENGTH = 260;    // characters of a font's file name
constexpr int STROKE_RUN_POINTS = 150;     // points of one run

// GrStrokeFont: the active stroke font (main slot). The symbol slot and the save slot have the same
// layout; the symbol slot keeps no name, drawing mode or bold state, the save slot no bold state.
struct GrStrokeFontRecord {
    std::string name = std::string(STROKE_NAME_LENGTH, ' ');     // file name, blank-padded to 260
    std::string strokes = std::string(STROKE_TEXT_LENGTH, ' ');  // stroke text, blank-padded to 17000
    StrokeStarts lower{};       // starts of the codes 33..127 (1-based positions in strokes)
    StrokeStartsUpper upper{};  // starts of the codes 161..255 and the end marker
    float cell_width = 0.0f;    // m1: x scale = character width / m1
    float cell_height = 0.0f;   // m2: y scale = character height / m2
    float x_extent = 0.0f;      // m3: glyph box width, centres the first glyph
    float y_extent = 0.0f;      // m4: glyph box height (vertical text)
    int charset = 0;            // m5: 7 = no glyphs above 160
    int mode = 1;               // m6: 0 filled outlines, 1 polylines
    int proportional = 0;       // m7: 1 = glyphs take their width factor
    int stroke_in_use = 0;      // 1 while graphics text draws with this font
    int bold = 0;               // bold state the font was selected with
};

extern GrStrokeFontRecord GrStrokeFont;            // the active font
extern GrStrokeFontRecord GrStrokeFontSymbolSlot;  // the symbol slot (installer slot 1)
extern GrStrokeFontRecord GrStrokeFontSaved;       // the save slot of IGrStrokeFontSwap

// Copies a font into the symbol slot (slot 1: m1..m5, m7, strokes and starts) or into the main slot
// (any other slot: everything, the name blank-padded to 260, bold cleared). The stroke text is cut at
// 17000 characters and blank-filled after its end. Nothing is validated: the decoder checks the starts.
void IGrStrokeFontInstall(float m1, float m2, float m3, float m4, int m5, int m6, int m7, int slot,
                          std::string_view name, std::string_view strokes, const StrokeStarts& lower,
                          const StrokeStartsUpper& upper);

// The installers of the built-in fonts (main slot; "standard.chr" into the given slot).
void IGrStrokeFontStandard(int slot = 0);
void IGrStrokeFontFixedBold();
void IGrStrokeFontFixedPlain();
void IGrStrokeFontRomanBold();
void IGrStrokeFontRomanPlain();
void IGrStrokeFontSwissBold();
void IGrStrokeFontSwissPlain();

// Bit 0 of mode set: copies the active font into the save slot; clear: copies it back (the active
// font's bold state stays).
void IGrStrokeFontSwap(int mode);

// ---- glyph decoding

struct StrokePoint {
    int x;  // grid units along the baseline
    int y;  // grid units upwards
};
using StrokeRun = std::vector<StrokePoint>;

// The value 0..55 of a stroke character, or -1 for a pen-up mark.
int stroke_value(char c);

// The code a character draws as: 32..126 stay, 161..255 stay unless the character set is 7, anything
// else becomes 32 (a blank).
int stroke_map_code(int code, int charset);

// The runs of the glyph of a (mapped) code: the stroke text from its start up to one before the start
// of the next code. Codes without a glyph, and starts outside the stroke text or out of order, give no
// runs. A run longer than STROKE_RUN_POINTS is cut there; a run of fewer than two points is dropped.
std::vector<StrokeRun> stroke_glyph_runs(const GrStrokeFontRecord& font, int code);

// ---- width tables

// The width factor of each code as a fraction of the character cell (codes 32..126 and 161..255).
struct GrCharWidthsRecord {
    std::array<float, 95> lower{};  // codes 32..126
    std::array<float, 95> upper{};  // codes 161..255
};
extern GrCharWidthsRecord GrCharWidths;

// Code 0 restores both tables, a code 32..126 or 161..255 restores that code's default; any other
// code reports error 66 and changes nothing.
void IGrCharTables(int code);

// The code 0..255 of the first character of a text (characters above 127 count from 128, not as
// negative values); a text of no characters reads as a blank, 32, as a blank-padded text would.
int IStrCharCode(std::string_view text);

// The width factor of a mapped code (that of the blank for codes outside both tables).
float stroke_width_factor(int code);

// The width of a text in character cells: its length in fixed text mode (0), else the sum of the
// width factors of its mapped codes.
float stroke_text_cells(std::string_view text, int text_mode, int charset);

#endif
