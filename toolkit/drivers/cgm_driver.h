// Hardcopy device 9: binary Computer Graphics Metafiles: 16-bit integer VDC, direct colour of 8 bits a
// channel, attributes written when they change, images as run-length cell arrays. Each page is one
// picture of the metafile.
#ifndef QR4T_TOOLKIT_DRIVERS_CGM_DRIVER_H
#define QR4T_TOOLKIT_DRIVERS_CGM_DRIVER_H

#include <string_view>

constexpr int HC_CGM_DEVICE = 9;
// Longest parameter list of the short element form; a longer list takes the long form.
constexpr int HC_CGM_SHORT_MAX = 30;
// Largest partition of the long form.
constexpr int HC_CGM_PARTITION_MAX = 32767;

// CgmDriverState: what the driver keeps between calls; the remembered attributes are -1 (join and cap
// 0) at each picture's start, so the first use writes them.
struct CgmDriverStateRecord {
    int red = 0, green = 0, blue = 0;  // current colour (split and inverted)
    int packed = 0;                    // red + 256 green + 65536 blue
    int line_colour = -1;
    int fill_colour = -1;
    int edge_colour = -1;
    int edge_type = -1;
    int edge_width = -1;
    int text_colour = -1;
    int auxiliary_colour = -1;
    int font = -1;
    int char_height = -1;
    int alignment = -1;
    int join = 0;
    int cap = 0;
    int W = 0, H = 0;           // VDC extent
    double page_aspect = 1.0;   // option 1 / option 2 at op 18
    double sx = 1.0, sy = 1.0;  // surface units -> VDC
    bool picture_open = false;  // between BEGIN PICTURE and END PICTURE
};
extern CgmDriverStateRecord CgmDriverState;

// The driver routine (ops 1, 2, 3, 5, 7, 9, 11, 13, 15, 18, 19, 20, 21, 22, 24, 26, 29, 30, 32, 33, 35,
// 36, 37, 38).
void IHcCgmDriver(int op);
// The 16-bit command header; length 31 marks the long form (the caller writes the length word).
void IHcCgmHeader(int element_class, int id, int length);
// 16-bit values, most significant byte first.
void IHcCgmInt(int value);
void IHcCgmPair(int a, int b);
// A point in surface units as VDC, truncated.
void IHcCgmPoint(double x, double y);
// A colour element: header with length 4, red, green, blue and a zero byte.
void IHcCgmColourElement(int element_class, int id, int red, int green, int blue);
// A string: its length (255 and a 16-bit word from 255 characters on), the characters, and a zero
// byte when that leaves the list at an odd byte count.
void IHcCgmString(std::string_view text);
// The same without the zero byte.
void IHcCgmStringRaw(std::string_view text);
// Option 6: 1 inverts every channel, 2 only channels all below 10 or all above 245.
void IHcCgmColourInvert(int& red, int& green, int& blue);

#endif
