// Hardcopy device selection from the settings, and the raster printer model table.
#include "toolkit/win/device_select.h"

#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/win/settings.h"

HcRasterPrinter HC_RASTER_PRINTER;

namespace {

// The model rows by code 2..38 (rows 0, 1 and 27 are unused). Codes 2..7 are pin printers, 8 and 9 ESC/P2
// ink-jet printers, codes 10 and up PCL printers; 29, 32, 35 and 38 also take HP-GL/2.
constexpr RasterPrinterModel MODELS[39] = {
    {7, 1, 1, 0, 0},   //  0 unused
    {7, 1, 1, 0, 0},   //  1 unused
    {1, 1, 1, 0, 0},   //  2 9-pin, 240 dpi
    {2, 1, 1, 0, 0},   //  3 9-pin, 240/90 dpi
    {3, 1, 1, 0, 0},   //  4 9-pin, 160 dpi
    {4, 1, 1, 0, 0},   //  5 24-pin, 360 dpi
    {5, 1, 1, 0, 0},   //  6 24-pin, 360/90 dpi
    {4, 3, 2, 0, 0},   //  7 24-pin colour
    {6, 1, 1, 1, 0},   //  8 ESC/P2, 720 dpi
    {6, 3, 2, 1, 0},   //  9 ESC/P2 colour
    {9, 1, 1, 1, 0},   // 10 PCL ink-jet, 180 dpi
    {9, 3, 2, 1, 0},   // 11 PCL colour ink-jet, 180 dpi
    {7, 1, 1, 0, 0},   // 12 PCL, 300 dpi, no compression
    {7, 1, 1, 2, 0},   // 13 PCL, 300 dpi
    {8, 1, 1, 2, 0},   // 14 PCL, 300 dpi, class 8
    {10, 1, 1, 3, 0},  // 15 PCL, 300 dpi, class 10
    {11, 1, 1, 3, 0},  // 16 PCL, 600 dpi
    {12, 1, 1, 2, 0},  // 17 PCL, 300/150/75 dpi
    {7, 3, 2, 2, 0},   // 18 PCL colour ink-jet
    {10, 3, 2, 3, 0},  // 19 PCL colour ink-jet, class 10
    {11, 3, 2, 3, 0},  // 20 PCL colour, 600 dpi
    {8, 3, 2, 2, 0},   // 21 PCL colour, class 8
    {12, 3, 2, 2, 0},  // 22 PCL colour, 300/150/75 dpi
    {7, 1, 1, 1, 0},   // 23 PCL, run-length only
    {8, 1, 1, 3, 0},   // 24 PCL, class 8
    {10, 3, 1, 3, 0},  // 25 PCL colour, additive
    {11, 1, 1, 2, 0},  // 26 PCL, 600 dpi
    {7, 1, 1, 3, 0},   // 27 unused (taken as 28)
    {7, 1, 1, 3, 0},   // 28 PCL laser, the default model
    {7, 1, 1, 3, 1},   // 29 PCL laser with HP-GL/2
    {11, 1, 1, 3, 0},  // 30 PCL laser, 600 dpi
    {10, 3, 2, 3, 0},  // 31 PCL colour laser
    {11, 3, 2, 3, 1},  // 32 PCL colour, 600 dpi, HP-GL/2
    {8, 3, 2, 3, 0},   // 33 PCL colour, class 8
    {12, 1, 1, 3, 0},  // 34 PCL, 300/150/75 dpi
    {10, 3, 2, 3, 1},  // 35 PCL colour with HP-GL/2
    {7, 3, 1, 3, 0},   // 36 PCL colour, additive
    {11, 1, 1, 3, 0},  // 37 PCL, 600 dpi
    {12, 3, 2, 3, 1},  // 38 PCL colour, 300/150/75 dpi, HP-GL/2
};

bool valid_model(int code)
{
    return code >= 2 && code <= 38 && code != 27;
}

// Resolutions (dots per inch, highest first) of a resolution class; returns the count.
int class_resolutions(int printer_class, std::array<int, 4>& r)
{
    switch (printer_class) {
    case 1: r = {240, 120, 60, 0}; return 3;
    case 2: r = {240, 120, 90, 80}; return 4;
    case 3: r = {160, 80, 0, 0}; return 2;
    case 4: r = {360, 180, 120, 60}; return 4;
    case 5: r = {360, 180, 120, 90}; return 4;
    case 6: r = {720, 360, 180, 0}; return 3;
    case 9: r = {180, 90, 0, 0}; return 2;
    case 11: r = {600, 300, 200, 150}; return 4;
    case 12: r = {300, 150, 75, 0}; return 3;
    default: r = {300, 150, 100, 75}; return 4;  // 7, 8, 10
    }
}

}  // namespace

const RasterPrinterModel& raster_printer_model(int code)
{
    return MODELS[valid_model(code) ? code : 28];
}

void HcPrinterSelect(int value)
{
    HcDeviceConfig& device = HC_DEVICE_CONFIG;
    HcRasterPrinter& printer = HC_RASTER_PRINTER;
    device.printer_model = valid_model(value) ? value : 28;
    if (valid_model(value))
        device.model_explicit = 1;
    const RasterPrinterModel& row = raster_printer_model(device.printer_model);
    printer.model = device.printer_model;
    printer.colour_depth = row.colour_depth;
    printer.colour_form = row.colour_form;
    printer.compression_limit = row.compression_limit;
    if (row.hpgl2 == 1 && device.hpgl2_explicit == 0)
        HcHpgl2Select(0);

    // Resolutions and the two page-layout words (band line feed, pins) of the class.
    printer.resolution_count = class_resolutions(row.printer_class, printer.resolutions);
    printer.printer_class = row.printer_class == 11 ? 7 : row.printer_class == 12 ? 8 : row.printer_class;
    printer.line_feed = 23;
    printer.pins = row.printer_class <= 5 ? 8 : 1;
    if (row.printer_class == 3) {
        printer.line_feed = 22;
    } else if (row.printer_class == 4) {
        printer.line_feed = 29;
        printer.pins = 24;
    } else if (row.printer_class == 5) {
        printer.line_feed = 24;
        printer.pins = 24;
    }

    HcScreenPrint = HcScreenPrintRecord{};
    HcDeviceBlock.printer_available = 0;
    if (HcFrontEnd.printer_page_query)
        HcFrontEnd.printer_page_query();
    printer.pages_started = 0;
    printer.pages_finished = 0;
}

void HcPlotterSelect(int value)
{
    HcDeviceConfig& device = HC_DEVICE_CONFIG;
    if (value >= 1 && value <= 10) {
        device.plotter_variant = value;
        device.plotter_explicit = 1;
    } else if (value >= 11 && value <= 15) {
        device.plotter_variant = 1;
        device.hpgl2_variant = value - 10;
        device.hpgl2_explicit = 1;
    } else {
        device.plotter_variant = 1;
    }
}

void HcHpgl2Select(int value)
{
    HcDeviceConfig& device = HC_DEVICE_CONFIG;
    if (value >= 1 && value <= 5) {
        device.hpgl2_variant = value;
        device.hpgl2_explicit = 1;
        return;
    }
    switch (device.printer_model) {
    case 32:
    case 35: device.hpgl2_variant = 2; break;
    case 29: device.hpgl2_variant = 3; break;
    case 38: device.hpgl2_variant = 5; break;
    default: device.hpgl2_variant = 1; break;
    }
}
