// Hardcopy device 8: ASCII DXF drawings in inches: HEADER, TABLES (six line types, one text style, nine
// layers) and ENTITIES with one entity per primitive (LINE, POINT, POLYLINE, TEXT, CIRCLE, ARC, SOLID).
// Shapes the format cannot hold go back to the graphics core, which draws them as lines.
#ifndef QR4T_TOOLKIT_DRIVERS_DXF_DRIVER_H
#define QR4T_TOOLKIT_DRIVERS_DXF_DRIVER_H

#include <array>
#include <string_view>

constexpr int HC_DXF_DEVICE = 8;

// The RGB value (red, green, blue as hexadecimal RRGGBB) of each DXF colour number 1..255, at [n - 1].
extern const std::array<int, 255> HC_DXF_COLOURS;

// The driver routine (ops 1, 2, 3, 5, 7, 9, 11, 13, 15, 18, 19, 20, 22, 26, 32, 34).
void IHcDxfDriver(int op);
// The text and CR LF as one line.
void IHcDxfWriteLine(std::string_view text);
// The same without trailing blanks (at least one character).
void IHcDxfWriteTrimmed(std::string_view text);
// A group: the code line, then the value line.
void IHcDxfGroupText(std::string_view code, std::string_view value);
// A real value: F15.6 without leading blanks and trailing zeros, the point kept (2 gives "2.").
void IHcDxfGroupReal(std::string_view code, double value);
// An integer value: I3 without leading blanks.
void IHcDxfGroupInt(std::string_view code, int value);
// The two coordinate groups of a point in surface units, scaled to inches.
void IHcDxfGroupPoint(std::string_view x_code, std::string_view y_code, double x, double y);
// The entity head: 0 / name, 8 / layer "1", 62 / the current colour number.
void IHcDxfEntity(std::string_view name);
// The DXF colour number of a packed RGB value (red in the low byte): the first exact entry, else the
// nearest in the HSV cone (first of equal distances, 7 when nothing is nearer than 9999999).
int hc_dxf_colour_search(int rgb);

#endif
