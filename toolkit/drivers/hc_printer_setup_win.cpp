// Print job and printer set-up: the default printer, the page query, printer contexts with their
// settings record, and the one-page job that prints the screen's graphics area (IGrPrintImage).
#include "toolkit/common/error_numbers.h"
#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/drivers/hc_printer_win.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/gdi_owners_win.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/win/common_dialogs.h"
#include "toolkit/win/os_utilities.h"
#include "toolkit/win/window_table_win.h"

#include <winspool.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int PROFILE_DEVICE_LENGTH = 552;
// Printer escapes of the 16-bit platform.
constexpr int ESCAPE_PRINTING_OFFSET = 13;
constexpr int ESCAPE_PHYSICAL_PAGE_SIZE = 12;
// Settings-record modes of the driver call: size, out, in and out.
constexpr int RECORD_SIZE = 0;
constexpr int RECORD_OUT = DM_OUT_BUFFER;
constexpr int RECORD_MERGE = DM_IN_BUFFER | DM_OUT_BUFFER;

// The 16-bit platform's settings-record entry of a printer driver library.
using ExtDeviceModeEntry = int(WINAPI*)(HWND, HMODULE, DEVMODEA*, LPSTR, LPSTR, DEVMODEA*, LPSTR, WORD);

// The screen print path's job.
struct ScreenJob {
    HDC dc = nullptr;
    int extent_x = 0;  // page extent in printer pixels
    int extent_y = 0;
} screen_job;

bool win32s()
{
    int code = 0;
    IOsPlatform(code);
    return code == 2;
}

// A failure's status: the system's last error, or "invalid printer name" when the system set none, so
// that a failed query is never taken for a successful one.
int failure_status()
{
    const DWORD e = GetLastError();
    return e != 0 ? static_cast<int>(e) : ERROR_INVALID_PRINTER_NAME;
}

HWND main_window()
{
    return WIN_TABLE.slot[0].frame;
}

}  // namespace

POINT hc_printable_offset(HDC dc)
{
    POINT p{0, 0};
    if (win32s())
        Escape(dc, ESCAPE_PRINTING_OFFSET, 0, nullptr, &p);
    else
        p = {GetDeviceCaps(dc, PHYSICALOFFSETX), GetDeviceCaps(dc, PHYSICALOFFSETY)};
    return p;
}

namespace {

// A zero-filled movable block that holds a settings record.
struct RecordBlock {
    HGLOBAL handle = nullptr;
    explicit RecordBlock(LONG size)
    {
        handle = size > 0 ? GlobalAlloc(GHND, static_cast<SIZE_T>(size)) : nullptr;
    }
    ~RecordBlock()
    {
        if (handle)
            GlobalFree(handle);
    }
    RecordBlock(const RecordBlock&) = delete;
    RecordBlock& operator=(const RecordBlock&) = delete;
};

}  // namespace

int IHcPrinterDefault()
{
    char text[PROFILE_DEVICE_LENGTH] = {};
    if (GetProfileStringA("windows", "Device", "", text, PROFILE_DEVICE_LENGTH) == 0)
        return 0;
    // "device,driver,port": each name ends at a comma; blanks after a comma are skipped.
    std::string names[3];
    const char* p = text;
    for (int k = 0; k < 3 && *p; ++k) {
        while (*p == ' ')
            p = CharNextA(p);
        const char* start = p;
        while (*p && (*p != ',' || k == 2))
            p = CharNextA(p);
        names[k].assign(start, p);
        if (*p == ',')
            ++p;
    }
    HcPrinterSetupRecord& S = HcPrinterSetup;
    S.device = names[0];
    S.driver = names[1];
    S.port = names[2];
    S.names_loaded = 1;
    return 1;
}

void IHcPrinterPageInfo(int& long_side, int& short_side, int& page_width, int& page_height, int& margin_x,
                        int& margin_y, int& orientation, int& copies, int& colours, int& status)
{
    long_side = short_side = page_width = page_height = margin_x = margin_y = 0;
    orientation = copies = colours = 0;
    HcPrinterSetupRecord& S = HcPrinterSetup;
    if (S.names_loaded == 0) {
        SetLastError(0);
        if (IHcPrinterDefault() == 0) {
            status = failure_status();
            return;
        }
        S.dialog_choice = 0;
    }
    SetLastError(0);
    HDC ic = CreateICA(S.driver.c_str(), S.device.c_str(), nullptr, nullptr);
    if (!ic) {
        status = failure_status();
        return;
    }
    status = 0;
    const int rx = GetDeviceCaps(ic, LOGPIXELSX);
    const int ry = GetDeviceCaps(ic, LOGPIXELSY);
    margin_x = 72;
    margin_y = 72;
    orientation = 1;
    int width = 0, height = 0;
    if (win32s()) {
        POINT size{0, 0};
        Escape(ic, ESCAPE_PHYSICAL_PAGE_SIZE, 0, nullptr, &size);
        width = size.x;
        height = size.y;
        if (width == 0) {
            // A driver that does not tell its page: 7.5 by 5.625 inches, small margins, portrait.
            width = rx * 7500 / 1000;
            height = ry * 5625 / 1000;
            margin_x = 15;
            margin_y = 5;
            orientation = 0;
        }
    } else {
        width = GetDeviceCaps(ic, PHYSICALWIDTH);
        height = GetDeviceCaps(ic, PHYSICALHEIGHT);
    }
    const int w = rx > 0 ? width * 72 / rx : 0;
    const int h = ry > 0 ? height * 72 / ry : 0;
    long_side = w > h ? w : h;
    short_side = w > h ? h : w;
    page_width = long_side - 144;
    page_height = short_side - 144;
    copies = 1;
    colours = GetDeviceCaps(ic, NUMCOLORS);
    DeleteDC(ic);
    S.overrides.fill(HC_OVERRIDE_UNSET);
    S.media_type = HC_OVERRIDE_LONG_UNSET;
    S.dither_type = HC_OVERRIDE_LONG_UNSET;
}

bool hc_printer_record_edit(DEVMODEA& record, int orientation, int copies)
{
    const DWORD offered = record.dmFields;
    DWORD fields = 0;
    if (offered & DM_ORIENTATION) {
        fields |= DM_ORIENTATION;
        record.dmOrientation = orientation != 0 ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    }
    if (offered & DM_COPIES) {
        fields |= DM_COPIES;
        record.dmCopies = static_cast<short>(copies);
    }
    const HcPrinterSetupRecord& S = HcPrinterSetup;
    struct Field {
        short* value;
        DWORD bit;
    };
    const Field table[HC_OVERRIDE_COUNT] = {
        {&record.dmPaperSize, DM_PAPERSIZE},
        {&record.dmPaperLength, DM_PAPERLENGTH},
        {&record.dmPaperWidth, DM_PAPERWIDTH},
        {&record.dmScale, DM_SCALE},
        {&record.dmDefaultSource, DM_DEFAULTSOURCE},
        {&record.dmPrintQuality, DM_PRINTQUALITY},
        {&record.dmColor, DM_COLOR},
        {&record.dmDuplex, DM_DUPLEX},
        {&record.dmYResolution, DM_YRESOLUTION},
        {&record.dmTTOption, DM_TTOPTION},
        {&record.dmCollate, DM_COLLATE},
    };
    for (int k = 0; k < HC_OVERRIDE_COUNT; ++k) {
        const short v = S.overrides[static_cast<std::size_t>(k)];
        if (v != HC_OVERRIDE_UNSET && (offered & table[k].bit)) {
            *table[k].value = v;
            fields |= table[k].bit;
        }
    }
    if (S.media_type != HC_OVERRIDE_LONG_UNSET && (offered & DM_MEDIATYPE)) {
        record.dmMediaType = static_cast<DWORD>(S.media_type);
        fields |= DM_MEDIATYPE;
    }
    if (S.dither_type != HC_OVERRIDE_LONG_UNSET && (offered & DM_DITHERTYPE)) {
        record.dmDitherType = static_cast<DWORD>(S.dither_type);
        fields |= DM_DITHERTYPE;
    }
    record.dmFields = fields;
    return fields != 0;
}

HDC IHcPrinterDC(int orientation, int copies)
{
    HcPrinterSetupRecord& S = HcPrinterSetup;
    std::string device = S.device;
    std::string port = S.port;
    HDC dc = nullptr;
    if (win32s()) {
        const std::string library = S.driver + ".drv";
        HMODULE module = LoadLibraryA(library.c_str());
        if (reinterpret_cast<UINT_PTR>(module) <= 31)
            return nullptr;
        auto entry = reinterpret_cast<ExtDeviceModeEntry>(
            reinterpret_cast<void*>(GetProcAddress(module, "EXTDEVICEMODE")));
        const int size = entry ? entry(main_window(), module, nullptr, device.data(), port.data(), nullptr,
                                       nullptr, RECORD_SIZE)
                               : -1;
        if (size == -1) {
            FreeLibrary(module);
            return nullptr;
        }
        RecordBlock block(size);
        auto* record = block.handle ? static_cast<DEVMODEA*>(GlobalLock(block.handle)) : nullptr;
        if (record) {
            entry(main_window(), module, record, device.data(), port.data(), nullptr, nullptr, RECORD_OUT);
            if (hc_printer_record_edit(*record, orientation, copies))
                entry(main_window(), module, record, device.data(), port.data(), record, nullptr,
                      RECORD_MERGE);
        }
        dc = CreateDCA(S.driver.c_str(), S.device.c_str(), S.port.c_str(), record);
        if (record)
            GlobalUnlock(block.handle);
        FreeLibrary(module);
        return dc;
    }
    HANDLE printer = nullptr;
    if (!OpenPrinterA(device.data(), &printer, nullptr))
        return nullptr;
    const LONG size =
        DocumentPropertiesA(main_window(), printer, device.data(), nullptr, nullptr, RECORD_SIZE);
    RecordBlock block(size);
    auto* record = block.handle ? static_cast<DEVMODEA*>(GlobalLock(block.handle)) : nullptr;
    if (record &&
        DocumentPropertiesA(main_window(), printer, device.data(), record, nullptr, RECORD_OUT) >= 0) {
        if (hc_printer_record_edit(*record, orientation, copies))
            DocumentPropertiesA(main_window(), printer, device.data(), record, record, RECORD_MERGE);
        dc = CreateDCA(S.driver.c_str(), S.device.c_str(), S.port.c_str(), record);
    }
    if (record)
        GlobalUnlock(block.handle);
    ClosePrinter(printer);
    return dc;
}

void IHcPrinterOpen(int page_width, int page_height, int margin_x, int margin_y, int& status, int orientation,
                    int copies, std::string_view document)
{
    ScreenJob& J = screen_job;
    J.dc = IHcPrinterDC(orientation, copies);
    if (!J.dc) {
        status = 1;
        return;
    }
    const std::string name(document);
    DOCINFOA info = {};
    info.cbSize = sizeof info;
    info.lpszDocName = name.c_str();
    StartDocA(J.dc, &info);
    status = 0;
    const int rx = GetDeviceCaps(J.dc, LOGPIXELSX);
    const int ry = GetDeviceCaps(J.dc, LOGPIXELSY);
    const POINT offset = hc_printable_offset(J.dc);
    J.extent_x = page_width * rx / 72;
    J.extent_y = page_height * ry / 72;
    StartPage(J.dc);
    SetWindowOrgEx(J.dc, offset.x - margin_x * rx / 72, offset.y - margin_y * ry / 72, nullptr);
    SetWindowExtEx(J.dc, J.extent_x, J.extent_y, nullptr);
    SetBkMode(J.dc, TRANSPARENT);
}

int IHcDibColourTableSize(const BITMAPINFOHEADER& header)
{
    auto entries = [](int bits) { return bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0; };
    if (header.biSize == sizeof(BITMAPCOREHEADER)) {
        const auto& core = reinterpret_cast<const BITMAPCOREHEADER&>(header);
        return entries(static_cast<std::uint16_t>(core.bcBitCount)) * 3;
    }
    const int used = static_cast<std::uint16_t>(header.biClrUsed);
    return (used != 0 ? used : entries(static_cast<std::uint16_t>(header.biBitCount))) * 4;
}

void IHcPrinterBitmap(int x1, int y1, int x2, int y2, int& status)
{
    status = 1;
    const int w = x2 - x1 + 1, h = y2 - y1 + 1;
    HDC screen = GrGdiContext.dc;
    MemoryDc memory(screen);
    // No bitmap of that size: nothing can be transferred.
    if (!memory.get() || w <= 0 || h <= 0)
        return;
    CompatibleBitmap bitmap(screen, w, h);
    if (!bitmap.get())
        return;
    {
        Selection copy(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, w, h, screen, x1, y1, SRCCOPY);
    }
    // The screen's palette (or the default one) converts the pixels to colours; selected back at the end.
    const PaletteSelection palette(
        memory.get(),
        GrGdiContext.palette ? GrGdiContext.palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
    BITMAP facts = {};
    GetObjectA(bitmap.get(), sizeof facts, &facts);
    const int bits = facts.bmPlanes * facts.bmBitsPixel;
    const int depth = bits < 2 ? 1 : bits < 5 ? 4 : bits > 8 ? 24 : 8;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = facts.bmWidth;
    header.biHeight = facts.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(depth);
    const int table = IHcDibColourTableSize(header);
    const SIZE_T row = static_cast<SIZE_T>((w * depth + 31) / 32) * 4;
    HGLOBAL block =
        GlobalAlloc(GHND, sizeof header + static_cast<SIZE_T>(table) + row * static_cast<SIZE_T>(h));
    if (!block)
        return;
    auto* info = static_cast<BITMAPINFO*>(GlobalLock(block));
    info->bmiHeader = header;
    GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(h), nullptr, info, DIB_RGB_COLORS);
    if (info->bmiHeader.biSizeImage == 0)
        info->bmiHeader.biSizeImage = static_cast<DWORD>(row * static_cast<SIZE_T>(h));
    const SIZE_T total = sizeof header + static_cast<SIZE_T>(table) + info->bmiHeader.biSizeImage;
    GlobalUnlock(block);
    if (HGLOBAL grown = GlobalReAlloc(block, total, GMEM_MOVEABLE)) {
        block = grown;
        info = static_cast<BITMAPINFO*>(GlobalLock(block));
        unsigned char* pixels = reinterpret_cast<unsigned char*>(info) + sizeof header + table;
        if (GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(h), pixels, info, DIB_RGB_COLORS) !=
                0 &&
            StretchDIBits(screen_job.dc, 0, 0, screen_job.extent_x, screen_job.extent_y, 0, 0, w, h, pixels,
                          info, DIB_RGB_COLORS, SRCCOPY) != static_cast<int>(GDI_ERROR))
            status = 0;
        GlobalUnlock(block);
    }
    GlobalFree(block);
}

void IHcPrinterClose()
{
    ScreenJob& J = screen_job;
    if (!J.dc)
        return;
    EndPage(J.dc);
    EndDoc(J.dc);
    DeleteDC(J.dc);
    J.dc = nullptr;
}

void IGrPrintImage()
{
    if (HcDeviceBlock.printer_available == 0) {
        IErrorReport(ERR_OPEN_FILE);
        HcPlotStatus = 0;
        return;
    }
    const HcScreenPrintRecord& P = HcScreenPrint;
    std::string title = HcTitle;
    title.erase(title.find_last_not_of(' ') + 1);
    int status = 0;
    IHcPrinterOpen(P.page_width, P.page_height, P.margin_x, P.margin_y, status, P.orientation, P.copies,
                   title);
    if (status == 1) {
        IErrorReport(ERR_OPEN_FILE);
        HcPlotStatus = 0;
        return;
    }
    const auto& D = GrDeviceArea;
    const int top = GrSurface.max_row;
    IHcPrinterBitmap(D.ix1, top - D.iy2, D.ix2, top - D.iy1, status);
    if (status == 1)
        IErrorReport(GR_ERR_PRINT_IMAGE);
    IHcPrinterClose();
}

void hc_screen_print_query()
{
    HcScreenPrintRecord& P = HcScreenPrint;
    IOsFpuSave();
    IHcPrinterPageInfo(P.long_side, P.short_side, P.page_width, P.page_height, P.margin_x, P.margin_y,
                       P.orientation, P.copies, P.colours, P.status);
    IOsFpuRestore();
    HcDeviceBlock.printer_available = P.status == 0 ? 1 : 0;
}
