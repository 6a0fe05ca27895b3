// Hardcopy device 6: the page drawn by the software rasteriser written as a BMP (plain or run-length),
// PCX or PNG file, one image per page appended to the plot file.
//
// Options: 1 and 2 page width and height in pixels, 23 bits per pixel (1, 4, 8, 24), 26 format
// (1 BMP, 2 run-length BMP, 3 PNG, any other PCX). A page too large for memory, or above the image
// cap, shrinks by about a tenth of its pixels per try, each failed try reporting error 34.
#ifndef QR4T_TOOLKIT_DRIVERS_HC_BITMAP_FILE_H
#define QR4T_TOOLKIT_DRIVERS_HC_BITMAP_FILE_H

#include <string_view>

constexpr int HC_BITMAP_DEVICE = 6;

// The driver routine: ops 1, 18, 19 and 20 here, every other op to the rasteriser.
void IHcBitmapFileDriver(int op);
// Write the page to the open plot file.
void IHcWriteBmp();
void IHcWritePcx();
void IHcWritePng();
// Re-opens the named run-length BMP file and puts its length at offset 2 and its data size at 34.
void IHcBmpPatchSizes(std::string_view name);
// Run-length codes plane `plane` of page row `row` (top row = height - 1) into the plot file, the line
// bytes_per_line bytes long (bytes beyond the row's pixels are 0).
void IHcPcxEncodeLine(int row, int plane, int bytes_per_line);

#endif
