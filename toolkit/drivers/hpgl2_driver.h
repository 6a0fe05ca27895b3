// Hardcopy device 12: HP-GL/2 with PCL 5 framing, for laser printers of five variants (HcDeviceConfig
// HP-GL/2 variant): page size, resolution, colour count and framing by variant; variant 4 is plain
// HP-GL/2 without escape sequences. Lines go through the HP-GL line writers.
#ifndef QR4T_TOOLKIT_DRIVERS_HPGL2_DRIVER_H
#define QR4T_TOOLKIT_DRIVERS_HPGL2_DRIVER_H

#include <array>
#include <cstdint>
#include <string_view>

constexpr int HC_HPGL2_DEVICE = 12;

// ISO 8859-1 codes 161..255 to the Roman-8 codes of variant 1's standard font.
extern const std::array<unsigned char, 95> HPGL2_ROMAN8;

// The driver routine (ops 1, 2, 3, 5, 7, 9, 11, 13, 15, 18..22, 24, 26, 28..30, 32..37).
void IHcHpgl2Driver(int op);
// "PC" pen red green blue, with option 6's inversion.
void IHcHpgl2Palette(int pen, int red, int green, int blue);
// The 32 pixels of the inverted 8 x 4 pattern as two lines of 16 digits.
void IHcHpgl2RasterFill(std::uint32_t pattern);
// Points 2..n of GrPolylineBuffer as encoded polyline lines ("PE7" ... ";").
void IHcHpgl2Polyline();
// Arcs (op 34) and wedges (op 13) under the aspect-corrected scaling, then the reset line.
void IHcHpgl2Wedge(int op, std::string_view reset);

#endif
