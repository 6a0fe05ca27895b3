// Window text: text drawn with a Windows font straight into the current window at a position in the
// window units 0..9999 of its client area, with a text and a background colour from a table of 18.
//
// This header holds the portable part: the state records, the colour rules, the unit conversions and
// the in-line codes (a marker character followed by a code: bold, italic, underline, colours). The
// drawing itself (fonts, TextOutA) is Win32 code.
#ifndef QR4T_TOOLKIT_GRAPHICS_WINDOW_TEXT_H
#define QR4T_TOOLKIT_GRAPHICS_WINDOW_TEXT_H

#include <array>
#include <string>
#include <string_view>
#include <vector>

// WGrTextState: the window-text font, colours, underline flag and text position (process-wide).
struct WGrTextStateRecord {
    int x = 0, y = 0;            // window units of the point after the last text drawn
    int text_colour = 0;         // 0..16 of WGrTextColours
    int background_colour = 15;  // 0..15 or 17 of WGrTextColours
    int bold = 0;                // 0 or 1
    int italic = 0;              // 0 or 1
    int underline = 0;           // 0 or 1
    int font_width = 0;          // requested font size in pixels of the current window; after a
    int font_height = 0;         // font is made, its average character width and height
    int face = 0;                // face code of WGrTextFontCreate
    int unit_width = 0;          // font size in window units, fixed at start-up
    int unit_height = 0;
    int last_face = -1;  // parameters the current font object was made with
    int last_bold = -1;
    int last_italic = -1;
    int last_width = -1;
    int last_height = -1;
    char justification = 'R';  // for numbers: 'L' left, 'R' right, other centre
    char marker = ' ';         // in-line code marker; blank = none
};
extern WGrTextStateRecord WGrTextState;

// What the drawing side uses: the colour numbers and underline flag in force.
struct WGrTextDrawingRecord {
    int text_colour = 0;
    int background_colour = 15;
    int underline = 0;
};
extern WGrTextDrawingRecord WGrTextDrawing;

// WGrTextColours: packed RGB (0x00BBGGRR) of the colour numbers 0..17; 16 and 17 follow the system's
// window-text and window colours (set when the main window opens).
constexpr int WGR_TEXT_COLOUR_COUNT = 18;
extern std::array<int, WGR_TEXT_COLOUR_COUNT> WGrTextColours;
// The fixed entries 0..15 (entries 16 and 17 are black and white until the window code sets them).
extern const std::array<int, WGR_TEXT_COLOUR_COUNT> WGR_TEXT_DEFAULT_COLOURS;

// Text colour taken when 0..16, background when 0..15 (16 is stored as 17); other values leave the
// colour unchanged. Then both go to the drawing side.
void WGrTextColourSet(int text_colour, int background_colour);
void WGrTextColour(int text_colour, int background_colour);
void WGrTextColourIndexSet(int text_colour, int background_colour);
// Entry n (0..17) := red + 256 green + 65536 blue; other n are ignored. On a palette display the
// colour also goes into the toolkit's logical palette, through WINDOW_TEXT_PALETTE_HOOK.
void WGrTextColourDefine(int n, int red, int green, int blue);
// Writes window-text colour n (packed RGB) into the toolkit's logical palette when there is one. The
// drawing side sets it when window text starts (window_text_start); null (nothing to write) before,
// and always in the host build, which has no palette.
extern void (*WINDOW_TEXT_PALETTE_HOOK)(int n, int rgb);
// Underline on when the flag is non-zero; the drawing side follows.
void WGrTextUnderlineSet(int flag);

// Window units and pixels of a client extent: pixel = unit (extent - 1) / 9999 (integers, product
// first); unit = trunc((pixel + 0.5) 9999 / extent), 0 when the extent is 1 pixel or less.
int window_units_to_pixels(int unit, int extent);
int window_pixels_to_units(int pixel, int extent);

// The text without its in-line codes: a doubled marker gives one marker, a marker and any other
// character give nothing. Trailing blanks of the text are dropped first.
void WGrTextStripMarkers(std::string_view text, char marker, std::string& copy, int& length);

// One run of characters of a text with in-line codes, with the attributes it is drawn in.
struct WindowTextPiece {
    std::string text;
    int bold = 0;
    int italic = 0;
    int underline = 0;
    int text_colour = 0;
    int background_colour = 15;
};

// The runs of a text with in-line codes, drawn in order from the state's attributes: "1" bold, "3"
// italic, "5" underline, "0" back to the starting attributes, "A".."Q" background 0..16, "a".."q" text
// colour 0..16, a doubled marker one marker character; other codes are ignored, and a marker that is
// the last non-blank character ends the text. Empty runs are left out.
std::vector<WindowTextPiece> window_text_pieces(std::string_view text, char marker,
                                                const WindowTextPiece& start);

//--- drawing (window_text_win.cpp, win build only)

// The state after toolkit start-up: creates the start-up font (the system font) on the main window's
// context and fixes the font size in window units from its metrics. Called once the main window exists.
void window_text_start();
// Opening the main window: the drawing side's colours 0 and 15, no underline, and the 18 colours with
// 16 and 17 from the system's window-text and window colours.
void window_text_main_window_open();
// Pixel font size of the current window from the unit size (width and height (extent - 1) / 9999).
void WGrTextFontScale();
// Makes the font again when face, bold, italic or size differ from those it was made with.
void WGrTextFontEnsure();
// Makes the font of a face code (-99 the GUI font, 1 the fixed system font, 2 "Times New Roman",
// 3 "Arial", 4 "Courier New", 5 "Symbol", 6 "Wingdings", other the system font); returns its average
// character width and height.
void WGrTextFontCreate(int face, int bold, int italic, int& width, int& height);
// Draws the text with its baseline starting at pixel (x, y); returns the pen position after it.
void WGrTextDraw(int& x, int& y, std::string_view text);
// Width in pixels of the text in the window-text font.
void WGrTextExtentPixels(int& width, std::string_view text);
// Pixels of the current window to window units: trunc((pixel + 0.5) 9999 / extent), 0 for an extent of
// 1 pixel or less.
void WGrPixelsToUnits(int px, int py, int& ux, int& uy);
// The text at (x, y) in window units (with in-line codes when the marker is set).
void WGrTextString(int x, int y, std::string_view text);
// The width of the text in window units.
int WGrTextLength(std::string_view text);
// A real with an edit format, justified by the justification code.
void WGrTextReal(int x, int y, float value, std::string_view format);
// An integer in w characters (at most 100), justified by the justification code.
void WGrTextInteger(int x, int y, int value, int width);
// The text with its in-line codes, each run drawn in its attributes.
void WGrTextLayout(int x, int y, std::string_view text);

#endif
