// Image savers: a device-independent bitmap, as the capture of a window or an off-screen bitmap
// gives it, written as a BMP, PCX or PNG file.
#ifndef QR4T_TOOLKIT_GRAPHICS_IMAGE_SAVE_H
#define QR4T_TOOLKIT_GRAPHICS_IMAGE_SAVE_H

#include <cstdint>
#include <string_view>
#include <vector>

// A device-independent bitmap: the pixels of a captured rectangle with their colour table.
struct DibImage {
    int width = 0;                    // pixels per row
    int height = 0;                   // rows
    int bit_count = 0;                // bits per pixel: 1, 4, 8, 16, 24 or 32
    int compression = 0;              // 0 plain; 3 colour masks (16 bits: 5-6-5, else 5-5-5)
    std::vector<uint32_t> colours;    // colour table: blue + 256 green + 65536 red (3 masks for 3)
    std::vector<unsigned char> bits;  // rows bottom-up, each padded to a multiple of 4 bytes
};

// Bytes of one row of a bitmap of the given width and bit count, padded to a multiple of 4.
int64_t img_dib_row_bytes(int width, int bit_count);

// Image type of a file name for saving: its last four characters, upper-cased, ".PNG" 15, ".BMP" 1,
// anything else 2 (PCX).
int img_save_type(std::string_view name);

// Run-length codes one plane line of n bytes and appends them to out: equal bytes counted up to 63;
// a run is the byte alone when its count is 1 and the byte is below C0 hexadecimal, else C0 + count
// followed by the byte.
void IImgPcxPut(const unsigned char* line, int n, std::vector<unsigned char>& out);

// Writes the bitmap as an image of type 1 (BMP), 2 (PCX) or 15 (PNG) under the (trimmed) name.
// width and height are the picture's size (PCX and PNG captures are made an even number of pixels
// wide, so the bitmap may be one pixel wider). status 0 written; 1 the file cannot be created or the
// bitmap is invalid; 2 a write came short or compression failed; system_code = the system's error
// code of a failed file operation. A file already created stays, cut short, after a failure.
void img_dib_save(int type, const DibImage& dib, int width, int height, std::string_view name, int& status,
                  int& system_code);

#endif
