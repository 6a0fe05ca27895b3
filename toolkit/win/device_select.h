// Hardcopy device selection at start-up: the raster printer model (PRINTER), the HP-GL plotter
// variant (PLOTTER) and the HP-GL/2 variant (HPGL2), and the raster printer settings that the model
// code gives (HcRasterPrinter).
#ifndef QR4T_TOOLKIT_WIN_DEVICE_SELECT_H
#define QR4T_TOOLKIT_WIN_DEVICE_SELECT_H

#include <array>

// One row of the toolkit's raster printer model table.
struct RasterPrinterModel {
    int printer_class;      // resolution class 1..12: 1..5 pin printers, 6 ESC/P2, 7.. PCL
    int colour_depth;       // 1 black only, 3 three planes
    int colour_form;        // 1 additive, 2 subtractive (HcPrinterColourModel)
    int compression_limit;  // largest compression mode (limit of hardcopy option 24)
    int hpgl2;              // 1 when the model also speaks HP-GL/2
};

// The row of a model code 2..38 (27 and codes outside give the row of 28).
const RasterPrinterModel& raster_printer_model(int code);

struct HcRasterPrinter {
    int model = 0;                     // model code 2..38
    int printer_class = 0;             // 1..12 as given; 11 counts as 7 and 12 as 8 from then on
    int resolution_count = 0;          // number of resolutions (upper limit of option 13)
    std::array<int, 4> resolutions{};  // dots per inch, highest first
    int line_feed = 0;                 // band line feed in 1/216 inch (page-layout word 1)
    int pins = 0;                      // pins of a pin printer, 1 from class 6 up (page-layout word 2)
    int colour_depth = 1;              // 1 black only, above 1 three planes
    int colour_form = 1;               // 1 additive, 2 subtractive
    int compression_limit = 0;         // largest compression mode
    int pages_started = 0;             // page-emission counters of the raster printer driver
    int pages_finished = 0;
    // The page in progress, written by the raster printer driver (printer orientation).
    int raster_width = 0;       // dots
    int raster_height = 0;      // dots
    int last_row = -1;          // raster_height - 1
    int planes_sent = 1;        // 1 or 3
    int compression = 0;        // PCL compression mode of the page
    int passes = 1;             // interleave passes of a pin printer band
    int left_offset_bytes = 0;  // zero bytes before a pin printer's column data
    int plane = 0;              // plane the pixel reader reads: 0, 1, 2, or -1 for the black pass
    int resolution = 0;         // dots per inch of the page (x)
    int resolution_y = 0;       // dots per inch along the paper feed
};

extern HcRasterPrinter HC_RASTER_PRINTER;

// PRINTER: a model code outside 2..38, or 27, becomes 28; a code inside marks the model explicit. Fills
// HC_RASTER_PRINTER from the model's row, runs HcHpgl2Select(0) for an HP-GL/2 model without an
// explicit variant, and queries the Windows printer's page into the screen print settings (HcScreenPrint,
// through the query the drivers install) with HcDeviceBlock's printer-available flag.
void HcPrinterSelect(int value);
// PLOTTER: 1..10 plotter variant (explicit); 11..15 HP-GL/2 variant value-10 (explicit) with plotter
// variant 1; any other value plotter variant 1.
void HcPlotterSelect(int value);
// HPGL2: 1..5 that variant (explicit); otherwise by the printer model: 32 and 35 give 2, 29 gives 3,
// 38 gives 5, any other 1.
void HcHpgl2Select(int value);

#endif
