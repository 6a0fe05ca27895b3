// The software rasteriser: a driver routine that draws every primitive into an in-memory page bitmap,
// HcRasterPage, for the devices that own a page (the raster printer, device 4, and the bitmap file,
// device 6). The owning device sizes and allocates the page at op 18 and writes it at op 20; the
// rasteriser opens and closes the plot file, clears the page and does all scan conversion.
//
// Pixel (x, y) counts y upwards from the bottom row (row 0). Storage modes by bits per pixel:
//   1 one bit per pixel, 32 pixels a word (bit x mod 32, bit 0 the leftmost pixel);
//   2 bit planes (3 or 4 bits): bit p of the value in plane p, planes one after another;
//   3 one byte per pixel (8 bits), byte x mod 4 of word x / 4;
//   4 one word per pixel (24 bits), packed RGB with red in the low byte.
#ifndef QR4T_TOOLKIT_DRIVERS_HC_RASTER_H
#define QR4T_TOOLKIT_DRIVERS_HC_RASTER_H

#include "toolkit/drivers/hc_dither.h"

#include <array>
#include <cstdint>
#include <vector>

// HcRasterPage: the page and the drawing state of the rasteriser.
struct HcRasterPageRecord {
    std::vector<std::uint32_t> store;  // the pixel words, index 0 up to total_words (one spare)
    bool allocated = false;            // the store holds a page
    int width = 0;                     // pixels
    int height = 0;
    int xmax = -1;  // width - 1
    int ymax = -1;  // height - 1
    std::int64_t words_per_row = 0;
    std::int64_t words_per_plane = 0;  // height * words_per_row
    std::int64_t total_words = 0;
    int planes = 1;                // bit planes of storage mode 2 (3 or 4), else 1
    int bits_per_pixel = 1;        // 1, 3, 4, 8 or 24
    int storage_mode = 1;          // HcStorageMode 1..4 (see above)
    std::uint32_t background = 0;  // word of a cleared page
    double resolution_x = 150.0;   // dots per inch
    double resolution_y = 150.0;
    int colour_model = 1;  // HcPrinterColourModel: 1 additive, 2 subtractive inks
    std::array<std::uint32_t, 4> byte_mask{0xFFFFFF00u, 0xFFFF00FFu, 0xFF00FFFFu, 0x00FFFFFFu};
    // Drawing state.
    std::uint32_t value = 0;                    // current pixel value
    std::uint32_t previous_value = 0;           // pixel value of the colour before
    HcDitherMask red = 0, green = 0, blue = 0;  // masks of the current colour
    HcDitherMask red_previous = 0, green_previous = 0, blue_previous = 0;
    std::uint32_t pattern = 0;    // P: fill pattern of the 1-bit page
    std::uint32_t alternate = 0;  // Q: the pattern of the odd pixels
    bool checker = false;         // two-colour fill: alternate pixels take the colour before
    int clip_xmin = 0, clip_xmax = -1, clip_ymin = 0, clip_ymax = -1;  // pixels
    int line_pattern = 0xFFF;                                          // 12 bits, bit s = segment s drawn
    int segment = 0;                                                   // 0..11
    int run = 1;                                                       // pixels drawn in the current segment
    int segment_x = 2;           // segment length of x-major lines, pixels
    int segment_y = 2;           // and of y-major lines
    int thick_a = 1;             // A: passes of an x-major line (rows)
    int thick_b = 1;             // B: passes of a y-major line (columns)
    int end_x = -1, end_y = -1;  // end point of the last line (-1, -1: none)
    // Dither masks of the 512 levels of the 3-bit colour cube, index blue * 64 + green * 8 + red.
    std::array<HcDitherMask, 512> table_red{}, table_green{}, table_blue{};
};
extern HcRasterPageRecord HcRasterPage;

// Line types 0..6 as 12-bit patterns; colour-number groups (number / 16) to 4-bit values; the 16 fixed
// patterns of 1-bit images.
extern const std::array<int, 7> HC_RASTER_LINE_PATTERNS;
extern const std::array<int, 16> HC_RASTER_GROUP_VALUES;
extern const std::array<std::uint32_t, 16> HC_RASTER_IMAGE_PATTERNS;

// The driver routine: ops 1, 2, 3, 5, 7, 9, 11, 13, 15, 17, 18, 19, 24, 26, 29, 30, 32, 35, 38.
void IHcRasterDriver(int op);

// A line from (x0, y0) to (x1, y1) in pixels with the thickness, clip and line-type state; join drops
// the first pixel (it is the end of the line before).
void IHcRasterLine(int x0, int y0, int x1, int y1, bool join);
// Row y from x1 to x2 in the fill pattern (nothing when x2 < x1).
void IHcRasterFillSpan(int x1, int x2, int y);
// Row y from x1 to x2 in one value.
void IHcRasterSolidSpan(std::uint32_t value, int x1, int y, int x2);
// One pixel; pixels outside the page are not written.
void IHcRasterSetPixel(std::uint32_t value, int x, int y);
// x of the edge (xa, ya)-(xb, yb) at row y, in integers (32767 for a horizontal edge).
int IHcRasterEdgeX(int xa, int ya, int xb, int yb, int y);
// Fills the dither tables of the 3-bit colour cube.
void IHcRasterDitherTables();

// The pixel value at (x, y) as the page stores it (planes gathered: bit p from plane p); 0 outside.
std::uint32_t hc_raster_pixel(int x, int y);
// Largest page in pixels: a larger page counts as a failed allocation (a system that overcommits
// would grant it and fail later, while the page is cleared).
constexpr std::int64_t HC_RASTER_MAX_PIXELS = std::int64_t(8192) * 8192;
// Sizes the page (width x height pixels, planes, pixels per word) and allocates its store; false when
// the page passes the cap or the memory is not there (nothing is kept then).
bool hc_raster_allocate(std::int64_t width, std::int64_t height, int planes, int pixels_per_word);
// Frees the store.
void hc_raster_free();

#endif
