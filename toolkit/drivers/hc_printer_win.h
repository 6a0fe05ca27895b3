// The Windows printer and metafile side of the hardcopy drivers (Win32 only):
// - the print job and printer set-up (hc_printer_setup_win.cpp): the default printer, the page query,
//   printer contexts with their settings record, and the simple job of the screen's print path;
// - the GDI primitives that the Windows printer driver (device 10) and the metafile driver (device 11)
//   draw with, each on its own drawing record (hc_gdi_primitives_win.cpp);
// - the two drivers and the metafile playback.
#ifndef QR4T_TOOLKIT_DRIVERS_HC_PRINTER_WIN_H
#define QR4T_TOOLKIT_DRIVERS_HC_PRINTER_WIN_H

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

//--- print job and printer set-up

// The page of the chosen printer (or the default printer while HcPrinterSetup's names-loaded flag is
// 0): physical sides, printed page and margins in points, orientation (1 landscape), copies, the
// printer's colour count and a status (0, or the system's error code; never 0 on failure). Resets the
// overrides of HcPrinterSetup. The callers keep the x87 control word around it.
void IHcPrinterPageInfo(int& long_side, int& short_side, int& page_width, int& page_height, int& margin_x,
                        int& margin_y, int& orientation, int& copies, int& colours, int& status);
// The default printer's device, driver and port names from the profile into HcPrinterSetup: 1 found.
int IHcPrinterDefault();
// A printer device context for HcPrinterSetup's printer whose settings record carries the orientation
// (non-zero landscape), copies and the overrides; null when the printer or its record cannot be had.
HDC IHcPrinterDC(int orientation, int copies);
// Edits a printer's settings record as IHcPrinterDC does: only fields the driver offers (its field mask
// on entry) are written; true when any field was written, so that the record must be merged back.
bool hc_printer_record_edit(DEVMODEA& record, int orientation, int copies);
// The screen print path's job: open (status 0 job and page started, 1 no printer context), the
// rectangle x1..x2, y1..y2 of the screen's drawing context onto the whole page (status 0 or 1), close.
void IHcPrinterOpen(int page_width, int page_height, int margin_x, int margin_y, int& status, int orientation,
                    int copies, std::string_view document);
void IHcPrinterBitmap(int x1, int y1, int x2, int y2, int& status);
void IHcPrinterClose();
// The printable area's offset from the paper's corner in pixels: the printing-offset escape on the
// 16-bit platform, else the device capabilities.
POINT hc_printable_offset(HDC dc);
// Size in bytes of the colour table behind a bitmap-information (or core) header.
int IHcDibColourTableSize(const BITMAPINFOHEADER& header);
// The screen driver's op 20: the current graphics area as one printed page.
void IGrPrintImage();
// The page query of the device selection at start-up, into HcScreenPrint and the printer-available flag.
void hc_screen_print_query();

//--- the GDI primitives of devices 10 and 11

// One drawing record: a printer job's or a metafile's context with its pen, font, clip and colours.
struct HcGdiDraw {
    HDC dc = nullptr;
    POINT origin{0, 0};                      // window origin (printer: printable offset less margin)
    SIZE extent{0, 0};                       // window extent: the page (printer) or picture extent
    COLORREF colour = 0;                     // current colour, red in the low byte
    COLORREF previous = RGB(255, 255, 255);  // colour before the last change: the opaque text background
    int pen_style = 0;                       // GDI pen style 0..4 from the line type
    int pen_width = 0;                       // pixels (0: the thinnest pen)
    int pen_colour_made = -1;                // colour, style and width of the selected pen; -1: none
    int pen_style_made = -1;
    int pen_width_made = -1;
    HPEN pen = nullptr;  // the selected line pen and the object it replaced
    HGDIOBJ pen_replaced = nullptr;
    HFONT font = nullptr;  // the selected font and the object it replaced
    HGDIOBJ font_replaced = nullptr;
    int font_height = 0;  // printer: measured height and ascent of the font, pixels
    int font_ascent = 0;
    HRGN clip = nullptr;
    bool geometric = false;                   // geometric pens allowed (NT family; metafile: EMF only)
    bool page_pending = false;                // printer: the next drawing starts a new page first
    std::array<int, 3> line_rgb{-1, -1, -1};  // colour caches: last line colour sent, last fill colour,
    std::array<int, 3> fill_rgb{0, 0, 0};     // the previous colour of fill style 3
    std::array<int, 3> previous_rgb{0, 0, 0};
};

// The record of each device (10 printer, 11 metafile).
HcGdiDraw& hc_gdi_draw(int device);
// Deletes the clip region and the font and the line pen (selected out first).
void hc_gdi_release(HcGdiDraw& d);

// The printer primitives (integer pixels; each drawing primitive starts a pending page first).
void IHcPrnLine(int x1, int y1, int x2, int y2);
void IHcPrnColour(int red, int green, int blue);
void IHcPrnEllipse(int x, int y, int rx, int ry, int fill_style);
void IHcPrnRectangle(int x1, int y1, int x2, int y2);
void IHcPrnPie(int x, int y, int rx, int ry, int sx, int sy, int ex, int ey);
void IHcPrnPointStore(int x, int y, int index);
void IHcPrnPolygon(int count, int edge);
void IHcPrnStartJob(int page_width, int page_height, int margin_x, int margin_y, int& resolution_x,
                    int& resolution_y, int& colours, int& status, int orientation, int copies,
                    std::string_view document);
void IHcPrnStartPage();
void IHcPrnClose();
void IHcPrnEndPage();
void IHcPrnFont(int width, int& height, int& ascent, int angle, int face, int style, std::string_view name);
void IHcPrnText(int x1, int y1, int x2, int y2, int justification, int opaque, const char* text, int length);
void IHcPrnClip(int x1, int y1, int x2, int y2);
void IHcPrnTextWidth(int& width, const char* text, int length);
void IHcPrnPoint(int x, int y);
void IHcPrnLineType(int line_type);
void IHcPrnLineWidth(int width);
void IHcPrnPolyline(int count);
void IHcPrnArc(int x, int y, int rx, int ry, int sx, int sy, int ex, int ey, int closure);
void IHcPrnPenEnsure();
void IHcPrnColourInvert(int& red, int& green, int& blue);

// The metafile primitives: the printer's twins on the metafile's record, without pages.
void IHcMetaLine(int x1, int y1, int x2, int y2);
void IHcMetaColour(int red, int green, int blue);
void IHcMetaEllipse(int x, int y, int rx, int ry, int fill_style);
void IHcMetaRectangle(int x1, int y1, int x2, int y2);
void IHcMetaPie(int x, int y, int rx, int ry, int sx, int sy, int ex, int ey);
void IHcMetaPointStore(int x, int y, int index);
void IHcMetaPolygon(int count);
void IHcMetaFont(int width, int height, int angle, int face, int style, std::string_view name);
void IHcMetaText(int x1, int y1, int x2, int y2, int justification, int opaque, const char* text, int length);
void IHcMetaClip(int x1, int y1, int x2, int y2);
void IHcMetaTextWidth(int& width, const char* text, int length);
void IHcMetaPoint(int x, int y);
void IHcMetaLineType(int line_type);
void IHcMetaLineWidth(int width);
void IHcMetaPolyline(int count);
void IHcMetaArc(int x, int y, int rx, int ry, int sx, int sy, int ex, int ey, int closure);
void IHcMetaPenEnsure();
void IHcMetaColourInvert(int& red, int& green, int& blue);
// Creates the picture: in/out extent (WMF tenths of a point; EMF: reference-device pixels on return),
// format 0 WMF, 1 placeable WMF, 2 EMF, the placeable header's right, bottom and checksum, the
// clipboard flag, the file name and the EMF description. Status 0, or 1 when the file or the context
// cannot be made (nothing is left open then).
void IHcMetaCreate(int& extent_x, int& extent_y, int format, short right, short bottom, short checksum,
                   int clipboard, std::string_view name, std::string_view description, int& status);
// Closes the picture into its file or onto the clipboard. Status 0, or 2 when the placeable file's
// records or the clipboard hand-over fail.
void IHcMetaClose(int& status);

//--- the drivers

// The ops that devices 10 and 11 draw alike (2, 3, 5..15, 24, 25, 26, 29, 32, 34, 38), each on its own
// record: positions map to pixels by HcDeviceBlock's sx and sy with y turned downwards.
void hc_gdi_op(int device, int op);
// The device information, capability string and initialised device that devices 10 and 11 set at op 1.
void hc_gdi_device_info(int device);
// The font of ops 21 and 33 in pixels of the current scale (HcDeviceBlock's sx, sy): width, height,
// angle, style bits (text mode 1 drops underlining) and the user face name without trailing blanks.
struct HcGdiFontRequest {
    int width = 0;
    int height = 0;
    int angle = 0;
    int style = 0;
    std::string name;
};
HcGdiFontRequest hc_gdi_font_request();
// The justification (text mode 1: left) and opaque flag (style bit 8, not in text mode 1, not when the
// text word forbids it) of op 22.
void hc_gdi_text_layout(int& justification, int& opaque);

void IHcPrinterDriver(int op);   // device 10
void IHcMetafileDriver(int op);  // device 11
// Draws a WMF (format 0), placeable WMF (1) or EMF (2) file into the rectangle of the screen's (target
// 0), the printer's (10) or the metafile's (11) context. Status 0 drawn, 1 the file cannot be opened,
// 2 its contents are not a metafile (or there is no context to draw on).
void IHcMetafilePlay(int format, int x1, int y1, int x2, int y2, int target, int& status,
                     std::string_view name);

#endif
