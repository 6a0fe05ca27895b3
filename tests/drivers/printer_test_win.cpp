// The Windows printer driver (device 10), its primitives and the printer set-up, without a printer:
// the primitives draw on an enhanced-metafile context whose records are read back. The tests named
// DISABLED_TestPrinter / DISABLED_WithPrinter run only from check_windows_devices.sh, in a Wine prefix
// that has a PostScript test printer.
#include "driver_fixture.h"

#include "toolkit/common/error_state.h"
#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/drivers/hc_printer_win.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_reset.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/win/common_dialogs.h"
#include "toolkit/win/device_select.h"
#include "toolkit/win/os_utilities.h"

#include <windows.h>
#include <winspool.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// One record of an enhanced metafile: its type and its words after type and size.
struct Record {
    DWORD type;
    std::vector<DWORD> words;
};

std::vector<Record> records_of(HENHMETAFILE emf)
{
    std::vector<Record> out;
    const UINT n = GetEnhMetaFileBits(emf, 0, nullptr);
    std::vector<unsigned char> bits(n);
    GetEnhMetaFileBits(emf, n, bits.data());
    for (std::size_t at = 0; at + 8 <= bits.size();) {
        DWORD type = 0, size = 0;
        std::memcpy(&type, &bits[at], 4);
        std::memcpy(&size, &bits[at + 4], 4);
        if (size < 8 || at + size > bits.size())
            break;
        Record r{type, std::vector<DWORD>((size - 8) / 4)};
        std::memcpy(r.words.data(), &bits[at + 8], r.words.size() * 4);
        out.push_back(r);
        at += size;
    }
    return out;
}

int count(const std::vector<Record>& rs, DWORD type)
{
    int n = 0;
    for (const Record& r : rs)
        n += r.type == type ? 1 : 0;
    return n;
}

const Record* first(const std::vector<Record>& rs, DWORD type)
{
    for (const Record& r : rs)
        if (r.type == type)
            return &r;
    return nullptr;
}

// Device 10 drawing on a recording context: surface 640 x 480, one printer pixel per surface unit.
class PrinterOnRecord : public DriverFixture {
protected:
    void SetUp() override
    {
        DriverFixture::SetUp();
        HcDriverTable(HC_WINDOWS_PRINTER) = IHcPrinterDriver;
        HcGdiDraw& d = hc_gdi_draw(HC_WINDOWS_PRINTER);
        d = HcGdiDraw{};
        d.dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
        HcDeviceBlock.sx = 1.0f;
        HcDeviceBlock.sy = 1.0f;
        HcOptions(HC_OPT_INVERSION) = 0;
        HcOptions(HC_OPT_MONOCHROME) = 0;
        GrOutputSwitch.hardcopy = 1;
    }
    void TearDown() override
    {
        HcGdiDraw& d = hc_gdi_draw(HC_WINDOWS_PRINTER);
        if (d.dc) {
            hc_gdi_release(d);
            DeleteEnhMetaFile(CloseEnhMetaFile(d.dc));
        }
        d = HcGdiDraw{};
        DriverFixture::TearDown();
    }
    std::vector<Record> finish()
    {
        HcGdiDraw& d = hc_gdi_draw(HC_WINDOWS_PRINTER);
        hc_gdi_release(d);
        HENHMETAFILE emf = CloseEnhMetaFile(d.dc);
        d.dc = nullptr;
        std::vector<Record> rs = records_of(emf);
        DeleteEnhMetaFile(emf);
        return rs;
    }
    static void op(int code) { IHcPrinterDriver(code); }
    static void colour_number(int n)
    {
        GrColourState.number[GR_PREVIOUS] = GrColourState.number[GR_CURRENT];
        GrColourState.number[GR_CURRENT] = n;
        op(GrOpColour);
    }
};

TEST_F(PrinterOnRecord, ProbeAnswersTheDeviceNumberOnly)
{
    GrPrimitiveBlock.NPTS = HC_PROBE;
    HcOptions(HC_OPT_PAGE_WIDTH) = 123;
    op(GrOpInitialise);
    EXPECT_EQ(GrPrimitiveBlock.NPTS, 10);
    EXPECT_EQ(HcOptions(HC_OPT_PAGE_WIDTH), 123);
}

TEST_F(PrinterOnRecord, KeepingThePageMakesNoQuery)
{
    HcPrinterSetup.device = "No Such Printer";
    HcPrinterSetup.names_loaded = 1;
    for (int n = 1; n <= 5; ++n)
        HcOptions(n) = 100 + n;
    HcDeviceBlock.printer_available = 7;
    GrPrimitiveBlock.NVAL = -998;
    GrPrimitiveBlock.NPTS = 0;
    op(GrOpInitialise);
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(HcOptions(n), 100 + n);
    EXPECT_EQ(HcDeviceBlock.printer_available, 7);
    EXPECT_EQ(HcDeviceBlock.initialised_device, 10);
    EXPECT_EQ(HcSpoolAllowed, 0);
    EXPECT_EQ(std::string(GrDeviceCaps.entry[1].begin(), GrDeviceCaps.entry[1].end()),
              "00000111111111100010011011110");
}

// No printer (a printer name that does not exist): the page query fails with a non-zero status, the
// open reports error 1, sets the output status and switches hardcopy output off; the screen's print
// path reports error 1 too.
TEST_F(PrinterOnRecord, WithoutAPrinterTheOpenFails)
{
    HcDriverTable(HC_WINDOWS_PRINTER) = IHcPrinterDriver;
    HcPrinterSetup.driver = "wineps.drv";
    HcPrinterSetup.device = "No Such Printer";
    HcPrinterSetup.names_loaded = 1;
    HcPrinterSelect(28);
    EXPECT_EQ(HcDeviceBlock.printer_available, 0);
    EXPECT_NE(HcScreenPrint.status, 0);
    IHcDeviceSelect(GrOpInitialise, HC_WINDOWS_PRINTER);
    EXPECT_EQ(HcDeviceBlock.printer_available, 0);
    IHcOpen("", "Title");
    EXPECT_EQ(ERROR_STATE.last_error, 1);
    EXPECT_NE(HcPlotStatus, 0);
    EXPECT_EQ(GrOutputSwitch.hardcopy, 0);
    ERROR_STATE.last_error = 0;
    IGrPrintImage();
    EXPECT_EQ(ERROR_STATE.last_error, 1);
    EXPECT_EQ(HcPlotStatus, 0);
}

// 0.5 point (option 9 = 5) at 600 dots per inch: wx = wy = trunc(5 * 600 / 720 + 0.5) = 4, pen width 3.
TEST_F(PrinterOnRecord, LineWidthInPrinterPixels)
{
    const struct {
        int option9, dpi, pen;
    } cases[] = {{5, 600, 3}, {1, 300, 0}, {10, 300, 3}, {72, 72, 6}};
    for (const auto& c : cases) {
        HcDeviceBlock.resolution_x = HcDeviceBlock.resolution_y = c.dpi;
        HcOptions(HC_OPT_LINE_WIDTH) = c.option9;
        op(GrOpLineWidth);
        EXPECT_EQ(hc_gdi_draw(HC_WINDOWS_PRINTER).pen_width, c.pen) << c.option9 << " at " << c.dpi;
    }
    send_line(10, 10, 100, 10);
    const auto rs = finish();
    const Record* pen = first(rs, EMR_CREATEPEN);
    ASSERT_NE(pen, nullptr);
    EXPECT_EQ(pen->words[2], 6u);  // the last width: LOGPEN's width after the handle and style
}

// A solid line gets its end pixel, a dashed one does not; a closed polyline gets none.
TEST_F(PrinterOnRecord, EndPixelOfSolidOpenLinesOnly)
{
    const struct {
        int line_type;
        bool closed;
        int pixels;
    } cases[] = {{0, false, 2}, {2, false, 0}, {0, true, 1}};
    for (const auto& c : cases) {
        SetUp();
        GrLineState.line_type = c.line_type;
        op(GrOpLineType);
        send_line(10, 10, 100, 20);
        auto& P = GrPolylineBuffer;
        const float xs[4] = {10, 50, 90, 10}, ys[4] = {10, 60, 10, c.closed ? 10.0f : 30.0f};
        for (int i = 1; i <= 4; ++i) {
            P.X(i) = xs[i - 1];
            P.Y(i) = ys[i - 1];
        }
        GrPrimitiveBlock.NPTS = 4;
        op(GrOpPolyline);
        EXPECT_EQ(count(finish(), EMR_SETPIXELV), c.pixels)
            << c.line_type << (c.closed ? " closed" : " open");
        TearDown();
    }
}

// Fill style 3 paints in the component-wise mean of the current and previous colours; styles 1 and 2
// paint nothing for a rectangle.
TEST_F(PrinterOnRecord, FillColours)
{
    GrColourState.model = 2;
    GrColourState.rgb[GR_PREVIOUS] = 0x0000FF;  // red
    GrColourState.rgb[GR_CURRENT] = 0x00FF00;   // green
    auto& B = GrPrimitiveBlock;
    B.X(1) = 10, B.Y(1) = 10, B.X(2) = 50, B.Y(2) = 50;
    B.FILL(FILL_STYLE) = 1;
    B.NVAL = 1;
    op(GrOpRectanglePattern);
    B.FILL(FILL_STYLE) = 3;
    op(GrOpRectanglePattern);
    const auto rs = finish();
    EXPECT_EQ(count(rs, EMR_RECTANGLE), 1);
    const Record* brush = first(rs, EMR_CREATEBRUSHINDIRECT);
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush->words[2], static_cast<DWORD>(RGB(127, 127, 0)));  // LOGBRUSH colour after ih, style
    GrColourState = GrColourStateRecord{};
}

// Monochrome: colour number 0 prints white, every other colour black. Option 6 = 2 exchanges only
// near-black and near-white.
TEST_F(PrinterOnRecord, MonochromeAndInversion)
{
    HcGdiDraw& d = hc_gdi_draw(HC_WINDOWS_PRINTER);
    HcOptions(HC_OPT_MONOCHROME) = 1;
    colour_number(0);
    EXPECT_EQ(d.colour, RGB(255, 255, 255));
    colour_number(32);
    EXPECT_EQ(d.colour, RGB(0, 0, 0));
    HcOptions(HC_OPT_MONOCHROME) = 0;
    HcOptions(HC_OPT_INVERSION) = 2;
    const struct {
        int r, g, b, er, eg, eb;
    } cases[] = {{0, 5, 9, 255, 250, 246}, {250, 255, 246, 5, 0, 9}, {0, 5, 200, 0, 5, 200}};
    for (const auto& c : cases) {
        int r = c.r, g = c.g, b = c.b;
        IHcPrnColourInvert(r, g, b);
        EXPECT_EQ(r * 65536 + g * 256 + b, c.er * 65536 + c.eg * 256 + c.eb);
    }
}

// A pie whose start and end fall on one pixel with a small sweep stays a thin wedge.
TEST_F(PrinterOnRecord, ThinWedge)
{
    auto& B = GrPrimitiveBlock;
    B.X(1) = 200, B.Y(1) = 200, B.X(2) = 100, B.Y(2) = 100;
    B.X(3) = 0.5f, B.Y(3) = 0.5001f;
    B.X(4) = 28.6f, B.Y(4) = 0.01f;
    B.FILL(FILL_STYLE) = 4;
    B.NVAL = 1;
    HcOptions(HC_OPT_PAGE_WIDTH) = 640;
    HcOptions(HC_OPT_PAGE_HEIGHT) = 480;
    op(GrOpPiePattern);
    const auto rs = finish();
    const Record* pie = first(rs, EMR_PIE);
    ASSERT_NE(pie, nullptr);
    // Box (4 words), start point, end point: one pixel apart (first quadrant: x - 1, y - 1).
    EXPECT_EQ(static_cast<int>(pie->words[6]), static_cast<int>(pie->words[4]) - 1);
    EXPECT_EQ(static_cast<int>(pie->words[7]), static_cast<int>(pie->words[5]) - 1);
}

// Point counts above the 5000 of the point list never reach GDI; 5000 points draw.
TEST_F(PrinterOnRecord, FiveThousandPoints)
{
    auto& P = GrPolylineBuffer;
    for (int i = 1; i <= GR_POLYLINE_MAX; ++i) {
        P.X(i) = static_cast<float>(i % 600);
        P.Y(i) = static_cast<float>(10 + (i % 7));
    }
    auto& B = GrPrimitiveBlock;
    B.NPTS = 6000;
    op(GrOpPolyline);
    B.NPTS = GR_POLYLINE_MAX;
    B.FILL(FILL_STYLE) = 4;
    B.NVAL = 1;
    op(GrOpPolygonPattern);
    const auto rs = finish();
    const Record* line = first(rs, EMR_POLYLINE16);
    const Record* poly = first(rs, EMR_POLYGON16);
    ASSERT_NE(line, nullptr);
    ASSERT_NE(poly, nullptr);
    EXPECT_EQ(line->words[4], 5000u);  // after the bounds rectangle
    EXPECT_EQ(poly->words[4], 5000u);
}

TEST(PrinterSetup, RecordEditWritesOnlyOfferedFields)
{
    HcPrinterSetup = HcPrinterSetupRecord{};
    DEVMODEA r = {};
    // Neither orientation nor copies offered, no overrides: nothing to merge.
    EXPECT_FALSE(hc_printer_record_edit(r, 1, 2));
    r.dmFields = DM_ORIENTATION | DM_COPIES | DM_PAPERSIZE;
    r.dmPaperSize = 9;
    EXPECT_TRUE(hc_printer_record_edit(r, 1, 3));
    EXPECT_EQ(r.dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(r.dmCopies, 3);
    EXPECT_EQ(r.dmPaperSize, 9);  // an override of -1 never reaches the record
    EXPECT_EQ(r.dmFields, static_cast<DWORD>(DM_ORIENTATION | DM_COPIES));
    // An override whose field is offered is written; one whose field is not is ignored.
    HcPrinterSetup.overrides[HC_PAPER_SIZE] = 1;
    HcPrinterSetup.overrides[HC_DUPLEX] = 2;
    HcPrinterSetup.media_type = 3;
    r.dmFields = DM_PAPERSIZE | DM_MEDIATYPE;
    EXPECT_TRUE(hc_printer_record_edit(r, 0, 1));
    EXPECT_EQ(r.dmPaperSize, 1);
    EXPECT_EQ(r.dmDuplex, 0);
    EXPECT_EQ(r.dmMediaType, 3u);
    EXPECT_EQ(r.dmFields, static_cast<DWORD>(DM_PAPERSIZE | DM_MEDIATYPE));
    HcPrinterSetup = HcPrinterSetupRecord{};
}

TEST(PrinterSetup, DibColourTableSize)
{
    const struct {
        DWORD size;
        WORD bits;
        DWORD used;
        int bytes;
    } cases[] = {{40, 4, 0, 64},  {40, 24, 0, 0}, {40, 8, 0, 1024},
                 {40, 8, 10, 40}, {40, 1, 0, 8},  {12, 8, 0, 768}};
    for (const auto& c : cases) {
        BITMAPINFOHEADER h = {};
        if (c.size == 12) {
            // The older header laid over the newer one's first bytes (copied: a cast would break the
            // aliasing rules, and an optimised build could drop the writes).
            BITMAPCOREHEADER core = {};
            core.bcSize = 12;
            core.bcBitCount = c.bits;
            std::memcpy(&h, &core, sizeof core);
        } else {
            h.biSize = c.size;
            h.biBitCount = c.bits;
            h.biClrUsed = c.used;
        }
        EXPECT_EQ(IHcDibColourTableSize(h), c.bytes) << c.size << " " << c.bits << " " << c.used;
    }
}

//--- with the test printer (check_windows_devices.sh)

std::string env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

// Adds the PostScript test printer (its PPD already in the spool folder) on the port the script names,
// and makes it the default printer.
TEST(DISABLED_TestPrinter, Add)
{
    const std::string port = env("QR4T_TEST_PRINTER_PORT");
    ASSERT_FALSE(port.empty());
    DRIVER_INFO_3A di = {};
    di.cVersion = 3;
    di.pName = const_cast<char*>("wineps.drv");
    di.pDriverPath = const_cast<char*>("wineps.drv");
    di.pDataFile = const_cast<char*>("qr4t_test.ppd");
    di.pConfigFile = const_cast<char*>("wineps.drv");
    ASSERT_TRUE(AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&di), APD_COPY_ALL_FILES));
    PRINTER_INFO_2A pi = {};
    pi.pPrinterName = const_cast<char*>("QR4T Test");
    pi.pPortName = const_cast<char*>(port.c_str());
    pi.pDriverName = const_cast<char*>("wineps.drv");
    pi.pPrintProcessor = const_cast<char*>("WinPrint");
    pi.pDatatype = const_cast<char*>("RAW");
    HANDLE h = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&pi));
    ASSERT_NE(h, nullptr);
    ClosePrinter(h);
    ASSERT_TRUE(SetDefaultPrinterA("QR4T Test"));
}

// The reset initialises device 10, whose page query reads the Letter page of the default printer.
TEST_F(PrinterOnRecord, DISABLED_WithPrinterPageAfterReset)
{
    HcPrinterSetup = HcPrinterSetupRecord{};
    HcDeviceNumber = HC_WINDOWS_PRINTER;
    IGrInitGraphics("H");
    EXPECT_EQ(HcOptions(HC_OPT_PAGE_WIDTH), 648);
    EXPECT_EQ(HcOptions(HC_OPT_PAGE_HEIGHT), 468);
    EXPECT_EQ(HcOptions(HC_OPT_MARGIN_LEFT), 72);
    EXPECT_EQ(HcOptions(HC_OPT_MARGIN_BOTTOM), 72);
    EXPECT_EQ(HcOptions(HC_OPT_ORIENTATION), 1);
    // Wine's PostScript driver counts -1 colours (more than a palette holds): colour, not monochrome.
    EXPECT_EQ(HcOptions(HC_OPT_MONOCHROME), 0);
    EXPECT_EQ(HcDeviceBlock.colours, 256);
    EXPECT_EQ(HcDeviceBlock.printer_available, 1);
    EXPECT_EQ(HcDeviceBlock.page_long, 792);
    EXPECT_EQ(HcDeviceBlock.page_short, 612);
    EXPECT_EQ(HcPrinterSetup.device, "QR4T Test");
    EXPECT_EQ(HcPrinterSetup.driver, "wineps.drv");
}

// The profile's default-printer entry: names cut at the first two commas, blanks after a comma skipped;
// a missing name stays empty.
TEST(DISABLED_WithPrinter, DefaultPrinterEntry)
{
    char saved[552] = {};
    GetProfileStringA("windows", "Device", "", saved, sizeof saved);
    const struct {
        const char* entry;
        const char* device;
        const char* driver;
        const char* port;
    } cases[] = {{"QR4T Test,wineps.drv,FILE:", "QR4T Test", "wineps.drv", "FILE:"},
                 {"QR4T Test,  wineps.drv, a,b", "QR4T Test", "wineps.drv", "a,b"},
                 {"QR4T Test,wineps.drv", "QR4T Test", "wineps.drv", ""},
                 {"QR4T Test", "QR4T Test", "", ""}};
    for (const auto& c : cases) {
        HcPrinterSetup = HcPrinterSetupRecord{};
        ASSERT_TRUE(WriteProfileStringA("windows", "Device", c.entry));
        EXPECT_EQ(IHcPrinterDefault(), 1) << c.entry;
        EXPECT_EQ(HcPrinterSetup.device, c.device) << c.entry;
        EXPECT_EQ(HcPrinterSetup.driver, c.driver) << c.entry;
        EXPECT_EQ(HcPrinterSetup.port, c.port) << c.entry;
        EXPECT_EQ(HcPrinterSetup.names_loaded, 1);
    }
    WriteProfileStringA("windows", "Device", saved);
    HcPrinterSetup = HcPrinterSetupRecord{};
}

// Op 19 without op 20 ends the document without ending the page (the script renders the job).
TEST_F(PrinterOnRecord, DISABLED_WithPrinterCloseWithoutPageEnd)
{
    HcPrinterSetup = HcPrinterSetupRecord{};
    IHcDeviceSelect(GrOpInitialise, HC_WINDOWS_PRINTER);
    ASSERT_EQ(HcDeviceBlock.printer_available, 1);
    IHcOpen("", "No page end");
    ASSERT_EQ(GrOutputSwitch.hardcopy, 1);
    send_line(10, 10, 600, 400);
    IHcSendOp(GrOpClose);
    GrOutputSwitch.hardcopy = 0;
    EXPECT_EQ(ERROR_STATE.last_error, 0);
    EXPECT_EQ(hc_gdi_draw(HC_WINDOWS_PRINTER).dc, nullptr);
}

// The 16-bit platform's paths, forced: the page comes from the physical-page-size escape (which Wine's
// PostScript driver answers with the Letter page), and the printer context from the driver library's
// settings entry, which Wine's printer driver has not: no context.
TEST(DISABLED_WithPrinter, Win32sPaths)
{
    HcPrinterSetup = HcPrinterSetupRecord{};
    os_platform_force(0);
    int v[10] = {};
    IHcPrinterPageInfo(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]);
    HDC dc = IHcPrinterDC(1, 1);
    os_platform_force(-1);
    const int letter[10] = {792, 612, 648, 468, 72, 72, 1, 1, v[8], 0};
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(v[k], letter[k]) << k;
    EXPECT_EQ(dc, nullptr);
    if (dc)
        DeleteDC(dc);
}

// The screen's op 20 prints the graphics area of an off-screen bitmap as one page; a graphics area that
// no bitmap can hold fails the transfer with error 64 (the job is still closed).
class ScreenPrint : public PrinterOnRecord {
protected:
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ replaced = nullptr;
    void SetUp() override
    {
        PrinterOnRecord::SetUp();
        HcPrinterSetup = HcPrinterSetupRecord{};
        HcPrinterSelect(28);
        dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 320, 240, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        replaced = SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, 320, 240, WHITENESS);
        gr_gdi_bind(dc, -1);
        GrOutputSwitch.screen = 1;
        IGrSurfaceSetup(2, 99, 320, 240);
        gr_area(0.0f, 0.0f, 1.0f, 1.0f);
    }
    void TearDown() override
    {
        gr_gdi_unbind();
        SelectObject(dc, replaced);
        DeleteObject(bitmap);
        DeleteDC(dc);
        PrinterOnRecord::TearDown();
    }
};

TEST_F(ScreenPrint, DISABLED_WithPrinterOnePage)
{
    ASSERT_EQ(HcDeviceBlock.printer_available, 1);
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    const RECT box{40, 40, 280, 200};
    FillRect(dc, &box, black);
    DeleteObject(black);
    ERROR_STATE.last_error = 0;
    IGrScreenDriver(GrOpHardcopyPage);
    EXPECT_EQ(ERROR_STATE.last_error, 0);
}

TEST_F(ScreenPrint, DISABLED_WithPrinterTransferFailure)
{
    ASSERT_EQ(HcDeviceBlock.printer_available, 1);
    GrDeviceArea.ix2 = 200000;
    GrDeviceArea.iy2 = 200000;
    ERROR_STATE.last_error = 0;
    IGrScreenDriver(GrOpHardcopyPage);
    EXPECT_EQ(ERROR_STATE.last_error, 64);
}

// Printer fonts by face (0 the user's name) and style bits, made with output precision 2, clip
// precision 1 and pitch and family = family + 2; text is moved from the cell's middle to its baseline
// by ascent - height / 2 and drawn left-aligned on the baseline (alignment 24).
TEST_F(PrinterOnRecord, FontsAndTextBaseline)
{
    const struct {
        int family;
        int style;
        const wchar_t* face;
        int charset;
        int pitch_family;
        int weight;
    } cases[] = {{1, 0, L"Courier New", ANSI_CHARSET, FF_MODERN | 2, FW_NORMAL},
                 {2, 1, L"Arial", ANSI_CHARSET, FF_SWISS | 2, FW_BOLD},
                 {3, 6, L"Times New Roman", ANSI_CHARSET, FF_ROMAN | 2, FW_NORMAL},
                 {4, 0, L"Symbol", SYMBOL_CHARSET, FF_ROMAN | 2, FW_NORMAL},
                 {0, 2, L"Futura", DEFAULT_CHARSET, 2, FW_NORMAL}};
    auto& T = GrTextState;
    auto& B = GrPrimitiveBlock;
    for (const auto& c : cases) {
        T.family = c.family;
        T.style = c.style;
        T.face_name.fill(' ');
        std::memcpy(T.face_name.data(), "Futura", 6);
        op(GrOpFont);
        const HcGdiDraw& d = hc_gdi_draw(HC_WINDOWS_PRINTER);
        ASSERT_GT(d.font_height, 0) << c.family;
        // One line of text at (100, 200), left-justified, horizontal.
        T.justification = 0;
        T.text_mode = 0;
        T.angle_sin = 0.0f;
        T.angle_cos = 1.0f;
        B.X(1) = 100, B.Y(1) = 200, B.X(3) = 150, B.Y(3) = 200;
        B.TEXT.fill(' ');
        std::memcpy(B.TEXT.data(), "Hg", 2);
        B.IX(1) = 2;
        op(GrOpText);
        const int ascent = d.font_ascent, height = d.font_height;
        const auto rs = finish();
        const Record* font = nullptr;
        for (const Record& r : rs)
            if (r.type == EMR_EXTCREATEFONTINDIRECTW)
                font = &r;  // the lasting font comes after the measuring one
        ASSERT_NE(font, nullptr) << c.family;
        LOGFONTW lf = {};
        std::memcpy(&lf, &font->words[1], sizeof lf);
        EXPECT_EQ(std::wstring(lf.lfFaceName), c.face) << c.family;
        EXPECT_EQ(lf.lfCharSet, c.charset) << c.family;
        EXPECT_EQ(lf.lfPitchAndFamily, c.pitch_family) << c.family;
        EXPECT_EQ(lf.lfWeight, c.weight) << c.family;
        EXPECT_EQ(lf.lfItalic != 0, (c.style & 2) != 0) << c.family;
        EXPECT_EQ(lf.lfUnderline != 0, (c.style & 4) != 0) << c.family;
        EXPECT_EQ(lf.lfOutPrecision, OUT_CHARACTER_PRECIS) << c.family;
        EXPECT_EQ(lf.lfClipPrecision, CLIP_CHARACTER_PRECIS) << c.family;
        const Record* align = first(rs, EMR_SETTEXTALIGN);
        ASSERT_NE(align, nullptr);
        EXPECT_EQ(align->words[0], 24u);
        const Record* text =
            first(rs, EMR_EXTTEXTOUTA) ? first(rs, EMR_EXTTEXTOUTA) : first(rs, EMR_EXTTEXTOUTW);
        ASSERT_NE(text, nullptr) << c.family;
        // Surface y is upward and H = 479.99: the baseline lies ascent - height / 2 below the middle.
        const double H = GrSurface.extent_y;
        EXPECT_EQ(static_cast<int>(text->words[7]), 100) << c.family;
        EXPECT_EQ(static_cast<int>(text->words[8]), static_cast<int>(H - (200 - (ascent - 0.5 * height))))
            << c.family << " ascent " << ascent << " height " << height;
        hc_gdi_draw(HC_WINDOWS_PRINTER).dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    }
}

}  // namespace
