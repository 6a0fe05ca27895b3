// Hardcopy device 2: PostScript level 1 programs, or Encapsulated PostScript when option 22 is
// non-zero. A prolog of one-letter procedures and twelve ISO Latin-1 re-encoded fonts, then paths
// built with moveto and lineto, ended by stroke or closepath fill.
#ifndef QR4T_TOOLKIT_DRIVERS_PS_DRIVER_H
#define QR4T_TOOLKIT_DRIVERS_PS_DRIVER_H

#include <string_view>

constexpr int HC_PS_DEVICE = 2;

// PsDriverState: what the driver keeps between calls.
struct PsDriverStateRecord {
    int path_count = 0;                                             // segments in the open path (0: none)
    float pen_x = -9999.0f, pen_y = -9999.0f;                       // end of the last segment, surface units
    float red = 0.0f, green = 0.0f, blue = 0.0f;                    // current colour, fractions 0..1
    float last_red = -1.0f, last_green = -1.0f, last_blue = -1.0f;  // last written colour
    int colour_value = -1;  // colour value of the last op 3 or 35 (-1 black)
    int last_line_type = 0;
    int last_width = 0;
    bool font_changed = true;
    int page = 1;
    bool eps = false;
    bool blank_start = false;    // every line begins with one blank (option 17 at op 18)
    float sx = 1.0f, sy = 1.0f;  // surface units -> points
};
extern PsDriverStateRecord PsDriverState;

// The driver routine (ops 1, 2, 3, 5, 7, 9, 11, 13, 15, 18, 19, 20, 21, 22, 24, 26, 29, 30, 32, 34,
// 35, 36, 37).
void IHcPsDriver(int op);
// Ends the open path: mode 1 strokes, 2 closes and fills, 3 only writes a changed colour.
void IHcPsPathEnd(int mode);
// The line writers; each writes one line. Numbers are F9.2 fields with the ".00" rule (100 is written
// 100.0); every writer but IHcPsPutRaw squeezes the blanks.
void IHcPsPutReals3(double a, double b, double c, std::string_view token);
void IHcPsPutPoint(double x, double y, std::string_view token);
void IHcPsPutReal(double a, std::string_view token);
void IHcPsPutLine(std::string_view text);
void IHcPsPutRaw(std::string_view text);
// A colour value (-1 black, else as IGrColourSplit takes it) as fractions, inverted by option 6.
void IHcPsColour(int value, float& red, float& green, float& blue);
// The arc (op 34) or pie (op 13) of the primitive block.
void IHcPsArc(int op);

#endif
