// Hardcopy device 4: raster printers. The software rasteriser draws the page; at the end of each page
// it is sent in the printer's own language, chosen by the model's printer class: ESC/P bit-image bands
// for pin printers (classes 1..5), ESC/P2 raster graphics (class 6) or PCL raster graphics (7 and up).
#ifndef QR4T_TOOLKIT_DRIVERS_HC_RASTER_PRINTER_H
#define QR4T_TOOLKIT_DRIVERS_HC_RASTER_PRINTER_H

#include <array>
#include <string>

constexpr int HC_RASTER_PRINTER_DEVICE = 4;

// HcPrinterCommands: the command pieces of the page being written.
struct HcPrinterCommandsRecord {
    std::string header;                        // page header (up to 50 bytes)
    std::array<std::string, 3> row_command;    // PCL: row record per plane; ESC/P2: the 12-byte record
    std::array<std::string, 2> pass_spacing;   // line spacing before each interleave pass (pin printers)
    std::array<std::string, 4> colour_select;  // ESC "r" 4, 1, 2, 0: yellow, magenta, cyan, black
    std::string row_advance;                   // ESC/P2 row advance
    std::string graphics;                      // ESC/P graphics command of a band pass line
    std::string page_end;                      // up to 15 bytes
};
extern HcPrinterCommandsRecord HcPrinterCommands;

// The driver routine: ops 1, 18 and 20 here, every other op (19 included) to the rasteriser.
void IHcRasterPrinterDriver(int op);
// Prepares HcPrinterCommands and the page geometry for a raster of width x height dots.
void IHcPrinterPageSetup(int width, int height);
// Writes the page to the plot-file slot with the pixel reader.
void IHcPrinterPageEmit(int slot, bool (*pixel)(int x, int y));
// The pixel reader: true when the current plane (HC_RASTER_PRINTER.plane) puts a dot at printer column
// x and row y (row 0 at the top). On 3-plane pages of classes 1..6 the black pass (plane -1) takes the
// pixels set in all three planes, which the colour passes then leave out.
bool IHcPrinterPixel(int x, int y);
// PCL compression (mode 1 run-length pairs, mode 2 PackBits) of row bytes, in place; the row record of
// the plane gets the new count.
void IHcPclCompressRow(std::string& row, int mode, int plane);
// PackBits of an ESC/P2 row, in place when shorter; returns the record's compression byte (1 packed).
int IHcPackBitsRow(std::string& row);
// The ESC/P graphics command's count for a band line of the byte count.
void IHcDotColumnCount(int bytes);

#endif
