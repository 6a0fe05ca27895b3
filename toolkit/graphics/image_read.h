// Reading image files into device-independent bitmaps, for drawing them on a window, an off-screen
// bitmap, the Windows printer or a Windows metafile.
#ifndef QR4T_TOOLKIT_GRAPHICS_IMAGE_READ_H
#define QR4T_TOOLKIT_GRAPHICS_IMAGE_READ_H

#include "toolkit/graphics/image_save.h"

#include <string_view>

// Reads a BMP (type 1), PCX (2) or PNG (15) file into a bitmap with rows bottom-up; width and height
// are the picture's own size (a PCX of 8 or 24 bits gives a bitmap its bytes-per-line wide, whose
// left width columns are the picture). A BMP keeps its bit count and compression (run-length codes
// stay coded); PCX and PNG give 1, 4, 8 or 24 bits. status: 0 read; 1 the file cannot be opened
// (system_code = the system's code); 2 a read came short or memory cannot be had; 27 not a supported
// form, and an image type other than 1, 2 and 15; 1044 the PNG data do not inflate (system_code =
// zlib's result).
void img_file_read_dib(int type, std::string_view name, DibImage& dib, int& width, int& height, int& status,
                       int& system_code);

#endif
