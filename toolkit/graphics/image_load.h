// Image-file loader: BMP, PCX and PNG files into arrays of 32-bit pixels for the export drivers.
#ifndef QR4T_TOOLKIT_GRAPHICS_IMAGE_LOAD_H
#define QR4T_TOOLKIT_GRAPHICS_IMAGE_LOAD_H

#include <cstdint>
#include <span>
#include <string_view>

// Largest image the loader accepts, in pixels (8192 x 8192); callers check it before they allocate.
constexpr int64_t IMG_MAX_PIXELS = int64_t(8192) * 8192;

// Packed pixel of the loader: red + 256 x green + 65536 x blue, the highest byte 0.
constexpr uint32_t img_pixel(unsigned red, unsigned green, unsigned blue)
{
    return (red & 255u) | (green & 255u) << 8 | (blue & 255u) << 16;
}

// Reads the BMP, PCX or PNG file into pixels: width x height entries, row by row, the top row first.
// The array must hold at least the file's width x height entries, and that size must not pass
// IMG_MAX_PIXELS; otherwise, and for any other file type, error 27 and nothing is written. A file
// that cannot be opened gives error 1; a 256-colour PCX without its palette gives 2; PNG data that
// do not inflate give 1044. A short file stops decoding where its data end, without an error.
void IImgLoadPixels(std::string_view name, std::span<uint32_t> pixels);

#endif
