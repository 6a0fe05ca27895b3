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
constexpr int HC_METAFILE_DEVICE = 11;

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
// The option numbers, named by what the drivers use them for (lengths in points, 1/72 inch).
enum HcOption : int {
    HC_OPT_PAGE_WIDTH = 1,        // page (plot) width
    HC_OPT_PAGE_HEIGHT = 2,       // page (plot) height
    HC_OPT_MARGIN_LEFT = 3,       // left margin: the plot's x offset on the sheet
    HC_OPT_MARGIN_BOTTOM = 4,     // bottom (raster printer: top) margin: the plot's y offset
    HC_OPT_ORIENTATION = 5,       // 0 portrait, 1 landscape
    HC_OPT_INVERSION = 6,         // black/white inversion: 0 none, 1 always, 2 near-black and near-white
    HC_OPT_MONOCHROME = 7,        // non-zero: monochrome output
    HC_OPT_COPIES = 8,            // number of copies
    HC_OPT_LINE_WIDTH = 9,        // line width
    HC_OPT_LINE_JOIN = 10,        // 0..2
    HC_OPT_LINE_CAP = 11,         // 0..2
    HC_OPT_FILL_SPACING = 12,     // fill line spacing and fill pen width, hundredths of a point
    HC_OPT_RESOLUTION = 13,       // raster printer resolution index
    HC_OPT_IGNORED = 14,          // stored by nobody
    HC_OPT_END_OF_JOB = 15,       // non-zero: blank and EOT after the PostScript file
    HC_OPT_PATH_SEGMENTS = 16,    // segments per PostScript path
    HC_OPT_LINE_START = 17,       // non-zero: every line of the HP-GL writers begins with a blank
    HC_OPT_EXTENDED = 18,         // data records and pen-width commands of the HP-GL writers
    HC_OPT_DEVICE_ESCAPES = 19,   // device on/off escapes (raster printer: bit 0 end reset, 2 start reset)
    HC_OPT_PRINT_MODE = 20,       // raster printer classes 9 and 10: non-zero sends the print-mode escape
    HC_OPT_TERMINATOR = 21,       // label terminator character code
    HC_OPT_EPS = 22,              // non-zero: EPS instead of a PostScript document
    HC_OPT_DEPTH = 23,            // bits per pixel (bitmap file) or colour depth (DXF)
    HC_OPT_COMPRESSION = 24,      // raster printer compression mode
    HC_OPT_PLOTTER_FILL = 25,     // non-zero: the plotter fills shapes itself
    HC_OPT_BITMAP_FORMAT = 26,    // 1, 2 BMP, 3 PNG, other PCX
    HC_OPT_METAFILE_FORMAT = 27,  // 0 Windows metafile, 1 placeable, 2 enhanced
    HC_OPT_CGM_FONTS = 28,        // CGM font list 0..2
    // Options 101..107 are kept for callers with their defaults; no driver reads them.
    HC_OPT_SPARE_101 = 101,
    HC_OPT_SPARE_102 = 102,
    HC_OPT_SPARE_103 = 103,
    HC_OPT_SPARE_104 = 104,
    HC_OPT_SPARE_105 = 105,  // 1..4
    HC_OPT_SPARE_106 = 106,
    HC_OPT_SPARE_107 = 107,
};
struct HcOptionsRecord {
    std::array<int, HC_OPTION_COUNT> value{};
    // Option n (1..28, 101..107; the caller checks the number).
    int& operator()(int n) { return value[static_cast<std::size_t>(hc_option_index(n))]; }
    int operator()(int n) const { return value[static_cast<std::size_t>(hc_option_index(n))]; }
};
extern HcOptionsRecord HcOptions;

// The probe of op 1: the front end puts HC_PROBE into NPTS (IValue2) and every driver answers with its
// own device number and nothing else; NPTS still HC_PROBE afterwards means the device has no driver.
constexpr int HC_PROBE = -999;

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
