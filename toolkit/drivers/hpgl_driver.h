// Hardcopy device 1: HP-GL plot files for pen plotters of ten variants (HcDeviceConfig plotter
// variant). Plain HP-GL, one command a line, with data records (scaling commands with a negative first
// value, restored at once) that carry colours, fill settings, fonts and shape vertices for programs
// that read the file back.
#ifndef QR4T_TOOLKIT_DRIVERS_HPGL_DRIVER_H
#define QR4T_TOOLKIT_DRIVERS_HPGL_DRIVER_H

#include <array>
#include <string_view>

constexpr int HC_HPGL_DEVICE = 1;

// HcPenMap: colour number -> pen digit; blank entries (all of them: nothing writes the map) leave the
// pen to the colour-band rule of op 3.
extern std::array<char, 256> HcPenMap;

// The driver routine (ops 1, 2, 3, 5, 9, 11, 13, 15, 18, 19, 20, 21, 22, 24, 26, 29, 30, 32, 33, 34).
void IHcHpglDriver(int op);
// Arcs (op 34) and plotter-filled pies (op 13) under the aspect-corrected scaling; reset is the
// scaling line written after them.
void IHcHpglArc(int op, std::string_view reset);

#endif
