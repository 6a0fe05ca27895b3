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

// HcDeviceBlock: the characteristics of the initialised hardcopy device, written by its driver at
// op 1 and op 18 and read by the graphics core and the hardcopy front end.
constexpr float HC_PEN_UNKNOWN = -9999.0f;  // pen position that no drawing uses
struct HcDeviceBlockRecord {
    int resolution_x = 0;  // dots per inch
    int resolution_y = 0;
    float sx = 1.0f;               // surface units -> device units, x (set at op 18)
    float sy = 1.0f;               // and y
    float pen_x = HC_PEN_UNKNOWN;  // current pen position in surface units; HC_PEN_UNKNOWN: none
    float pen_y = HC_PEN_UNKNOWN;
    float line_spacing = 1.0f;   // hatch spacing of the core's fill emulation, surface units
    int initialised_device = 0;  // device number whose op 1 ran last; 0 before the first
    int resolution_index = 0;    // option 13
    int line_start = 2;          // HP-GL writers: 1 every line begins with a blank, 2 none
    int pens = 0;                // number of pens (HP-GL, HP-GL/2)
    int colours = 0;             // colour count of the device
    int page_long = 0;           // Windows printer: long and short side of the physical page, points
    int page_short = 0;
    int printer_available = 0;  // 1 when the last Windows printer page query succeeded
};
extern HcDeviceBlockRecord HcDeviceBlock;

// HcOptions: the hardcopy options 1..28 followed by 101..107, 35 words in all. The drivers' op 1 and
// the front end's IHcOptionSet write them; the drivers read them.
constexpr int HC_OPTION_COUNT = 35;
constexpr int HC_OPTION_LOW_LAST = 28;     // options 1..28
constexpr int HC_OPTION_HIGH_FIRST = 101;  // options 101..107
constexpr int HC_OPTION_HIGH_LAST = 107;
// 0-based word of option n; -1 for a number that is no option.
constexpr int hc_option_index(int n)
{
    if (n >= 1 && n <= HC_OPTION_LOW_LAST)
        return n - 1;
    if (n >= HC_OPTION_HIGH_FIRST && n <= HC_OPTION_HIGH_LAST)
        return HC_OPTION_LOW_LAST + n - HC_OPTION_HIGH_FIRST;
    return -1;
}
struct HcOptionsRecord {
    std::array<int, HC_OPTION_COUNT> value{};
    // Option n (1..28, 101..107; the caller checks the number).
    int& operator()(int n) { return value[static_cast<std::size_t>(hc_option_index(n))]; }
    int operator()(int n) const { return value[static_cast<std::size_t>(hc_option_index(n))]; }
};
extern HcOptionsRecord HcOptions;

// HcPageUsed: bit 0 set by a driver when a drawing op reaches the hardcopy after a new page; cleared
// by the driver at op 20 and by the graphics reset. Flags of the driver state are -1 for true.
extern int HcPageUsed;

// The hardcopy front end lives above the graphics core (toolkit/drivers), which installs these entries
// at start-up; the graphics reset calls them. Null while no front end is installed: the reset then
// ends no hardcopy and keeps no options.
struct HcFrontEndHooks {
    void (*end)() = nullptr;                              // IHcOpen with the action "S" and a one-blank title
    void (*option_set)(int number, int value) = nullptr;  // IHcOptionSet
    // The Windows printer's page query (between the control-word save and restore) into the screen
    // print settings; null: no printer is known.
    void (*printer_page_query)() = nullptr;
    // IGrPrintImage, the screen driver's op 20; null: there is no print job to run.
    void (*print_image)() = nullptr;
};

// The screen print settings: the Windows printer's page as the device selection at start-up queried it
// (IHcPrinterPageInfo's ten outs), used by the screen's print path (IGrPrintImage). Points are 1/72 inch.
struct HcScreenPrintRecord {
    int long_side = 0;  // physical page, points
    int short_side = 0;
    int page_width = 0;  // printed page, points
    int page_height = 0;
    int margin_x = 0;  // points
    int margin_y = 0;
    int orientation = 0;  // 1 landscape, 0 portrait
    int copies = 0;
    int colours = 0;  // the printer's colour count
    int status = 0;   // 0, or the system's error code of a failed query
};
extern HcScreenPrintRecord HcScreenPrint;
extern HcFrontEndHooks HcFrontEnd;

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
