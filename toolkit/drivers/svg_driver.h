// Hardcopy device 3: SVG pictures in points, y flipped, stroke groups that carry colour, width, dash,
// join and cap, fill groups for solid and two-colour fills, text groups, and clip paths.
#ifndef QR4T_TOOLKIT_DRIVERS_SVG_DRIVER_H
#define QR4T_TOOLKIT_DRIVERS_SVG_DRIVER_H

#include <string>
#include <string_view>

constexpr int HC_SVG_DEVICE = 3;
// Elements with point lists are broken into lines of at most this many characters.
constexpr std::size_t HC_SVG_LINE_LENGTH = 256;

// SvgStyleState: the last written stroke style (-1 after op 18, so that the first style op writes a
// group), the stroke and fill colours as hexadecimal text, the clip counter and whether a clip is on.
struct SvgStyleStateRecord {
    int red = -1, green = -1, blue = -1;
    int width = -1;
    int line_type = -1;
    int join = -1;
    int cap = -1;
    std::string stroke_hex = "000000";
    std::string fill_hex = "000000";
    int clip_count = 0;
    std::string clip_text = "0";
    bool clip_active = false;
    float sx = 1.0f, sy = 1.0f;  // surface units -> points
};
extern SvgStyleStateRecord SvgStyleState;

// The driver routine (ops 1, 2, 3, 5, 7, 9, 11, 13, 15, 18, 19, 22, 24, 26, 29, 30, 32, 34, 36, 37).
void IHcSvgDriver(int op);
// The value as F8.2 from its first to its last non-blank character, ".00" dropped and a last single
// "0" dropped: 100 gives "100", 12.5 gives "12.5". The written part is text(first:last) (1-based).
void IHcSvgNumber(double value, std::string& text, int& first, int& last);
// The text and CR LF to the plot file.
void IHcSvgPutLine(std::string_view text);
// Six lowercase hexadecimal digits, red first.
std::string IHcHexColour(int red, int green, int blue);
// Option 6: 1 inverts every channel, 2 only near-black and near-white colours.
void IHcColourInvert(int& red, int& green, int& blue);
// The path of a pie (op 13) or arc (op 34).
void IHcSvgArcPath(int op);

#endif
