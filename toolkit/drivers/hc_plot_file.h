// The common state of the hardcopy drivers and the plot-file layer through which the file-writing
// drivers create, write and close their output.
//
// Driver contract (every driver routine takes the op code alone; GrPrimitiveBlock carries the rest):
//   op 1   NPTS = HC_PROBE: NPTS := the device number, nothing else (the probe). Otherwise
//          IHcCommonDefaults, the device's own defaults and characteristics, HcDeviceBlock's
//          initialised device := the device number (hc_initialise_begin holds the first two steps).
//   op 18  NVAL > 0: create the output and write its head (a failed create switches hardcopy output
//          off); NVAL <= 0: the surface changed size, only the scale factors are computed again.
//   op 19  write the tail and close.  op 20  new page: HcPageUsed := 0.
//   drawing ops set HcPageUsed to -1 when bit 0 is clear. Any other op is ignored without error.
#ifndef QR4T_TOOLKIT_DRIVERS_HC_PLOT_FILE_H
#define QR4T_TOOLKIT_DRIVERS_HC_PLOT_FILE_H

#include <array>
#include <span>
#include <string_view>

constexpr int HC_PLOT_SLOT = 2;        // the plot file of every driver
constexpr int HC_PLOT_SLOT_COUNT = 4;  // slots 1..3; word 0 holds the byte count of the last write

// HcPlotSlots: the byte-stream handle of each slot (-1 none); word 0 the byte count of the last write.
struct HcPlotSlotsRecord {
    std::array<int, HC_PLOT_SLOT_COUNT> word{0, -1, -1, -1};
    std::array<char, 2> crlf{'\r', '\n'};  // set at each create
};
extern HcPlotSlotsRecord HcPlotSlots;
// HcPlotStatus: 0 after a successful create, -1 after a failed create or write.
extern int HcPlotStatus;

// The option defaults shared by every driver's op 1: 7 := 1, 8 := 1, 9 := 5, 6 := 0, 101 := 80,
// 102 := 60, 103 := 1, 104 := 999999, 10 := 0, 105 := 1, 17 := 0, 11 := 0, 106 := 0, 107 := 0.
void IHcCommonDefaults();
// The opening of every driver's op 1: the probe (NPTS = HC_PROBE) is answered with the device number
// and false, so that the driver returns at once; otherwise the common defaults and true.
bool hc_initialise_begin(int device);
// The device's capability string (GR_CAPS_LENGTH characters, key beside GrDeviceCapsRecord) into the
// hardcopy entry of GrDeviceCaps.
void hc_device_caps(std::string_view caps);
// The device's scale into HcDeviceBlock: a page of width x height device units over the drawing
// surface's extents (an extent below 0.01 counts as 0.01), as 4-byte reals.
void hc_page_scale(double width, double height);

// Creates (or truncates) the file named by the primitive block's 255-character text in the slot. An
// all-blank name fails without a system call. A failure raises error 1 once, HcPlotStatus := -1.
void IHcPlotCreate(int slot);
// A driver's create at op 18: the toolkit's last error is cleared, the plot file created in slot 2,
// and on failure hardcopy output switched off (false); on success the earlier error number is back.
bool hc_plot_open();
// Writes the text's bytes; a short write raises error 2 once, HcPlotStatus := -1. Later writes are
// attempted again.
void IHcPlotWriteText(int slot, std::string_view text);
// Writes the first n bytes of the byte scratch buffer, then CR LF when crlf is true.
void IHcPlotWriteBytes(int slot, int n, bool crlf);
// Closes the slot's file; nothing is reported.
void IHcPlotClose(int slot);
// The slot's byte-stream handle (-1 none), for writers that write through it themselves.
void IHcPlotHandle(int slot, int& handle);

// The byte scratch buffer: the 40,000 bytes of GrPolylineBuffer (X first, then Y).
std::span<unsigned char> hc_plot_scratch();

#endif
