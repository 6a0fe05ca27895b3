// Error numbers of the byte-stream files and the image operations that the toolkit's error table
// holds beside those named in toolkit/common/error_state.h (1 ERR_OPEN_FILE, 4, 10 and 12 of the
// number conversions). They are reported through IErrorReport.
#ifndef QR4T_TOOLKIT_GRAPHICS_IMAGE_ERROR_H
#define QR4T_TOOLKIT_GRAPHICS_IMAGE_ERROR_H

#include "toolkit/common/error_state.h"

constexpr int IMG_ERR_READ_WRITE = 2;  // "Error reading/writing file or device"
constexpr int IMG_ERR_FORMAT = 27;     // "Image file format not supported"
constexpr int IMG_ERR_ZLIB = 1044;     // "Zlib compression/decompression failed"

#endif
