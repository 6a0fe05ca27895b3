// Graphics text: text placed in user units inside the graphics area, sized as fractions of the area,
// turned by the text angle and sent to every output that is on, drawn either by the device's own fonts
// (driver op 22) or with the stroke fonts. All settings live in GrTextState.
//
// Fields of GrTextState used here: char_width, char_height (area fractions); angle with angle_cos (co),
// angle_sin_aspect (sB = K sin) and angle_sin_aspect2 (sA = sin / K); slant; font_kind (1 = the stroke
// font is in use); hardware_face (0 user-named face, 1 "Courier New", 2 "Arial", 3 "Times New Roman",
// 4 "Symbol"); effective_face (the face sent with op 21); style (1 bold, 2 italic, 4 underline, 8 text
// on a filled box); text_mode (0 fixed pitch, 1 proportional by the width factors, 2 proportional as
// the device measures); vertical; justification; number_justification; face_name; screen_cells_x/y
// (the screen's character cells per surface width and height, 0 while unknown).
#ifndef QR4T_TOOLKIT_GRAPHICS_GRAPHICS_TEXT_H
#define QR4T_TOOLKIT_GRAPHICS_GRAPHICS_TEXT_H

// The entry operations whose bodies are declared here (IGrCharOut for gr_char_out, ...).
#include "toolkit/graphics/entry.h"

#include <optional>
#include <string_view>

constexpr float ITALIC_SLANT = 0.4663f;  // horizontal shear of italic stroke glyphs

// Keeps the angle in 0..360 degrees with its cosine and aspect-corrected sines; op 33 to both outputs.
void IGrTextAngle(float angle);
// Character width and height as fractions of the area, then IGrFontSelect.
void IGrCharSize(float width, float height);
// The body of IGrCharScale (entry.h): IGrCharSize(width factor / 75, height factor / 25); factors of 0
// or less count as 1.
void gr_char_scale(float width_factor, float height_factor);
// Effective face := the hardware face, or 2 (proportional text) or 1; op 21 to the hardcopy device and,
// unless a stroke font is in use, to the screen; with the screen off the screen's character cells are
// taken from the requested size.
void IGrFontSelect();
// The body of IGrCharFont (entry.h). The graphics-text font: type 1 the stroke font, 2 the hardware font,
// 100..104 a hardware face; style bits; character width and height; face name (for face 0); text mode option
// 0 default, 1 fixed, 2 proportional. Every argument is optional.
void gr_char_font(std::optional<int> type, std::optional<int> style = {}, std::optional<float> width = {},
                  std::optional<float> height = {}, std::optional<std::string_view> name = {},
                  std::optional<int> option = {});
// Line type 0..6 (anything else 0); op 29 to both outputs.
void IGrLineType(int type = 0);

// The family installers: the bold or plain font by the bold style bit, which they record as the font's
// bold state; "symbol.chr" has one weight.
void IGrStrokeFontFixed();
void IGrStrokeFontRoman();
void IGrStrokeFontSwiss();
void IGrStrokeFontSymbol();

// The text's width in character cells: its length in fixed text mode; in mode 2 with hardware flag 0
// the width the screen (or else the hardcopy) driver measures (op 25), in cells of the screen's font;
// otherwise the sum of the width factors.
float IGrHardTextWidth(std::string_view text, int hardware = 0);
// Draws the text with the active stroke font from (x, y) (device coordinates, the left end of its
// middle line) with the character cell W x H (device units), on every output that is on.
void IGrStrokeGlyphs(float x, float y, std::string_view text, float W, float H);
// Hands a polygon in user units unchanged to the polygon fill (the arrow heads use it).
void IGrStrokeTextPlain(const float* x, const float* y, int n);
// Fills the box behind a stroke text (x, y as for IGrStrokeGlyphs) in the previous colour, on the
// outputs whose flags are set.
void IGrStrokeTextStyled(float x, float y, std::string_view text, int hardware, int screen, int hardcopy);
// The bodies of IGrCharOut, IGrIntegerOut and IGrRealOut (entry.h).
// Text at (x, y) in user units (missing: the current point), justified about that point; the current
// point then follows the text.
void gr_char_out(std::optional<float> x, std::optional<float> y, std::string_view text);
// A number as text: "(I11)" without a width, else "(Iw)" with w at most 100; justified by the number
// justification and drawn with gr_char_out.
void gr_integer_out(std::optional<float> x, std::optional<float> y, int value, std::optional<int> width = {});
// A real as text with the format (missing: "(G15.5E2)").
void gr_real_out(std::optional<float> x, std::optional<float> y, float value,
                 std::optional<std::string_view> format = {});

#endif
