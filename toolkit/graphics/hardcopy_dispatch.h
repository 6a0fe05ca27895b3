// The hardcopy dispatch: HcDeviceNumber picks the driver routine of HcDriverTable that receives the
// driver ops; two small string tests shared by the graphics core and the drivers, and the forwarder of
// the window-text font flag.
#ifndef QR4T_TOOLKIT_GRAPHICS_HARDCOPY_DISPATCH_H
#define QR4T_TOOLKIT_GRAPHICS_HARDCOPY_DISPATCH_H

#include "toolkit/graphics/gr_driver.h"

#include <array>
#include <string_view>

// Hardcopy device numbers: 1 HP-GL, 2 PostScript/EPS, 3 SVG, 4 PCL raster printer, 6 bitmap file,
// 8 DXF, 9 binary CGM, 10 Windows printer, 11 Windows metafile/EMF/clipboard, 12 HP-GL/2; 5 and 7 none.
constexpr int HC_DEVICE_COUNT = 12;
constexpr int HC_WINDOWS_PRINTER = 10;

// HcDeviceNumber: the current hardcopy device; starts at 10.
extern int HcDeviceNumber;

// HcDriverTable: the driver routine of each device number 1..12 (null: no driver). The drivers' own
// code fills its entries; 5 and 7 stay null.
struct HcDriverTableRecord {
    std::array<GrDeviceRoutine, HC_DEVICE_COUNT> entry{};
    GrDeviceRoutine& operator()(int device) { return entry[static_cast<std::size_t>(device - 1)]; }
};
extern HcDriverTableRecord HcDriverTable;

// HcDeviceBlock: what the current hardcopy driver's op 1 leaves for the graphics core.
struct HcDeviceBlockRecord {
    float line_spacing = 1.0f;   // hardcopy line spacing of emulated solid fills, device units
};
extern HcDeviceBlockRecord HcDeviceBlock;

// The hardcopy options 1..28 (HcOptions), the device number whose op 1 last ran, and the page-pending
// flag of the open hardcopy output. The drivers and the hardcopy open routine own their meaning.
constexpr int HC_OPTION_COUNT = 28;
struct HcOptionsRecord {
    std::array<int, HC_OPTION_COUNT> value{};   // option n at value[n - 1]
    int initialised_device = 0;                 // non-zero once a device's op 1 has run
    int page_pending = 0;                       // a page has been drawn and not yet output
};
extern HcOptionsRecord HcOptions;

// Ends any open hardcopy output: op 20 when a page is pending, then op 19 while hardcopy output is on;
// hardcopy output is then off. (The first step of the hardcopy open routine.)
void hc_end_output();

// Calls the driver of the current device number with op; numbers outside 1..12, 5 and 7 do nothing.
void IHcDriverCall(int op);
// Op 1 stores the device as the current device number and dispatches op 1; other ops do nothing.
void IHcDeviceSelect(int op, int device);

// Forwards a window-text font flag to WGrTextUnderlineSet (the window-text layout calls it for its
// attribute codes). (WGrTextUnderline in older notes.)
void WGrTextFlagSet(int flag);

// 1-based position of the first character that is neither blank nor NUL; 0 when there is none.
int IStrFirstNonBlank(std::string_view text);
// -1 when the first character of code occurs in set, also after converting it to lower case; else 0.
int IStrContainsAny(std::string_view set, std::string_view code);

#endif
