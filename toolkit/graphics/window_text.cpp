// Window text: state, colour rules, unit conversions and in-line codes.

#include "toolkit/graphics/window_text.h"

WGrTextStateRecord WGrTextState;
WGrTextDrawingRecord WGrTextDrawing;

const std::array<int, WGR_TEXT_COLOUR_COUNT> WGR_TEXT_DEFAULT_COLOURS = {
    0x000000,  // 0 black
    0x0000BF,  // 1 dark red
    0x00BFBF,  // 2 dark yellow
    0x00BF00,  // 3 dark green
    0xBFBF00,  // 4 dark cyan
    0xBF0000,  // 5 dark blue
    0xBF00BF,  // 6 dark magenta
    0xBFBFBF,  // 7 light grey
    0x404040,  // 8 dark grey
    0x0000FF,  // 9 red
    0x00FFFF,  // 10 yellow
    0x00FF00,  // 11 green
    0xFFFF00,  // 12 cyan
    0xFF0000,  // 13 blue
    0xFF00FF,  // 14 magenta
    0xFFFFFF,  // 15 white
    0x000000,  // 16 the system window-text colour (set by the window code)
    0xFFFFFF,  // 17 the system window colour (set by the window code)
};
std::array<int, WGR_TEXT_COLOUR_COUNT> WGrTextColours = WGR_TEXT_DEFAULT_COLOURS;
void (*WINDOW_TEXT_PALETTE_HOOK)(int n, int rgb) = nullptr;

//--- colours and underline

// The colour pair after the colour rules: a text colour 0..16 is taken, a background 0..15 is taken
// and 16 becomes 17 (the system window colour); anything else keeps the current value.
static void apply_colour_rules(int& text, int& background, int new_text, int new_background)
{
    if (new_text >= 0 && new_text <= 16) {
        text = new_text;
    }
    if (new_background >= 0 && new_background <= 15) {
        background = new_background;
    } else if (new_background == 16) {
        background = 17;
    }
}

void WGrTextColourSet(int text_colour, int background_colour)
{
    apply_colour_rules(WGrTextState.text_colour, WGrTextState.background_colour, text_colour,
                       background_colour);
    WGrTextColourIndexSet(WGrTextState.text_colour, WGrTextState.background_colour);
}

void WGrTextColour(int text_colour, int background_colour)
{
    WGrTextColourSet(text_colour, background_colour);
}

void WGrTextColourIndexSet(int text_colour, int background_colour)
{
    WGrTextDrawing.text_colour = text_colour;
    WGrTextDrawing.background_colour = background_colour;
}

void WGrTextColourDefine(int n, int red, int green, int blue)
{
    if (n < 0 || n >= WGR_TEXT_COLOUR_COUNT) {
        return;
    }
    const int rgb = (red & 255) + 256 * (green & 255) + 65536 * (blue & 255);
    WGrTextColours[static_cast<std::size_t>(n)] = rgb;
    if (WINDOW_TEXT_PALETTE_HOOK) {
        WINDOW_TEXT_PALETTE_HOOK(n, rgb);
    }
}

void WGrTextUnderlineSet(int flag)
{
    WGrTextState.underline = flag != 0 ? 1 : 0;
    WGrTextDrawing.underline = WGrTextState.underline;
}

//--- units

int window_units_to_pixels(int unit, int extent)
{
    return static_cast<int>(static_cast<long long>(unit) * (extent - 1) / 9999);
}

int window_pixels_to_units(int pixel, int extent)
{
    if (extent <= 1) {
        return 0;
    }
    return static_cast<int>((pixel + 0.5) * 9999.0 / extent);
}

//--- in-line codes

// Length of the text without trailing blanks.
static std::size_t trimmed_length(std::string_view text)
{
    std::size_t n = text.size();
    while (n > 0 && text[n - 1] == ' ') {
        --n;
    }
    return n;
}

void WGrTextStripMarkers(std::string_view text, char marker, std::string& copy, int& length)
{
    copy.clear();
    const std::size_t n = trimmed_length(text);
    std::size_t i = 0;
    while (i < n) {
        if (text[i] != marker) {
            copy.push_back(text[i]);
            i += 1;
        } else {
            if (i + 1 < n && text[i + 1] == marker) {
                copy.push_back(marker);
            }
            i += 2;
        }
    }
    length = static_cast<int>(copy.size());
}

std::vector<WindowTextPiece> window_text_pieces(std::string_view text, char marker,
                                                const WindowTextPiece& start)
{
    std::vector<WindowTextPiece> pieces;
    WindowTextPiece current = start;
    current.text.clear();
    auto flush = [&]() {
        if (!current.text.empty()) {
            pieces.push_back(current);
            current.text.clear();
        }
    };
    const std::size_t n = trimmed_length(text);
    std::size_t i = 0;
    while (i < n) {
        const char c = text[i];
        if (c != marker) {
            current.text.push_back(c);
            i += 1;
            continue;
        }
        if (i + 1 >= n) {
            break;  // a marker as the last non-blank character ends the text
        }
        const char code = text[i + 1];
        i += 2;
        if (code == marker) {
            current.text.push_back(marker);
            continue;
        }
        WindowTextPiece next = current;
        if (code == '1') {
            next.bold = 1;
        } else if (code == '3') {
            next.italic = 1;
        } else if (code == '5') {
            next.underline = 1;
        } else if (code == '0') {
            next.bold = start.bold;
            next.italic = start.italic;
            next.underline = start.underline;
            next.text_colour = start.text_colour;
            next.background_colour = start.background_colour;
        } else if (code >= 'A' && code <= 'Q') {
            apply_colour_rules(next.text_colour, next.background_colour, -1, code - 'A');
        } else if (code >= 'a' && code <= 'q') {
            apply_colour_rules(next.text_colour, next.background_colour, code - 'a', -1);
        } else {
            continue;  // unknown codes are ignored
        }
        if (next.bold != current.bold || next.italic != current.italic ||
            next.underline != current.underline || next.text_colour != current.text_colour ||
            next.background_colour != current.background_colour) {
            flush();
            next.text.clear();
            current = next;
        }
    }
    flush();
    return pieces;
}
