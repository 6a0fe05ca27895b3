// The Windows printer driver (device 10): the toolkit's primitives drawn on a printer through GDI, one
// page after another, as one print job named after the hardcopy title. It is the program's default
// device, initialised at every graphics reset: without a printer its page query fails, and a later
// open reports error 1 and switches hardcopy output off.
#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/drivers/hc_printer_win.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/win/os_utilities.h"

#include <algorithm>
#include <string>

namespace {

constexpr std::string_view CAPS = "00000111111111100010011011110";
constexpr int MAX_COLOURS = 256;

// The driver's own state besides its drawing record.
struct PrinterJob {
    bool started = false;  // the document was started
    int query_status = 0;  // status of the page query of op 1
    int colours = 0;       // the printer's colour count (GetDeviceCaps NUMCOLORS; -1: more than a palette)
    int resolution_x = 0;  // dots per inch
    int resolution_y = 0;
    int open_status = 0;  // status of the last open
} job;

int nt_family()
{
    int code = 0;
    IOsPlatform(code);
    return code == 4;
}

// A colour count of -1 means more colours than a palette holds; the device then has the full 256.
int colour_class(int count)
{
    return count < 0 || count > MAX_COLOURS ? MAX_COLOURS : count;
}

}  // namespace

// The device information that devices 10 and 11 set alike at op 1.
void hc_gdi_device_info(int device)
{
    auto& I = GrDeviceInfo;
    I.angle_resolution[1] = 360;
    I.platform[1] = nt_family() ? 2 : 1;
    I.true_colour[1] = 1;
    I.hardcopy_words = {1, 1, 1};
    I.text_real[1] = 1.7e38f;
    I.text_word[1] = 8;
    hc_device_caps(CAPS);
    HcDeviceBlock.initialised_device = device;
    HcSpoolAllowed = 0;
}

void IHcPrnStartJob(int page_width, int page_height, int margin_x, int margin_y, int& resolution_x,
                    int& resolution_y, int& colours, int& status, int orientation, int copies,
                    std::string_view document)
{
    HcGdiDraw& d = hc_gdi_draw(HC_WINDOWS_PRINTER);
    status = 0;
    if (!job.started) {
        d.dc = IHcPrinterDC(orientation, copies);
        if (!d.dc) {
            status = 1;
            return;
        }
        const std::string name(document);
        DOCINFOA info = {};
        info.cbSize = sizeof info;
        info.lpszDocName = name.c_str();
        StartDocA(d.dc, &info);
        job.started = true;
    }
    colours = GetDeviceCaps(d.dc, NUMCOLORS);
    resolution_x = GetDeviceCaps(d.dc, LOGPIXELSX);
    resolution_y = GetDeviceCaps(d.dc, LOGPIXELSY);
    const POINT offset = hc_printable_offset(d.dc);
    d.origin = {offset.x - margin_x * resolution_x / 72, offset.y - margin_y * resolution_y / 72};
    d.extent = {page_width * resolution_x / 72, page_height * resolution_y / 72};
    d.geometric = nt_family();
    IHcPrnStartPage();
    d.clip = nullptr;
    SetBkMode(d.dc, TRANSPARENT);
    d.pen_colour_made = d.pen_style_made = d.pen_width_made = -1;
}

void IHcPrnClose()
{
    HcGdiDraw& d = hc_gdi_draw(HC_WINDOWS_PRINTER);
    if (!d.dc)
        return;
    hc_gdi_release(d);
    EndDoc(d.dc);
    DeleteDC(d.dc);
    d.dc = nullptr;
    d.page_pending = false;
    job.started = false;
}

namespace {

void op_initialise()
{
    auto& B = GrPrimitiveBlock;
    if (!hc_initialise_begin(HC_WINDOWS_PRINTER))
        return;
    if (B.NVAL != -998) {
        auto& O = HcOptions;
        auto& D = HcDeviceBlock;
        IOsFpuSave();
        IHcPrinterPageInfo(D.page_long, D.page_short, O(HC_OPT_PAGE_WIDTH), O(HC_OPT_PAGE_HEIGHT),
                           O(HC_OPT_MARGIN_LEFT), O(HC_OPT_MARGIN_BOTTOM), O(HC_OPT_ORIENTATION),
                           O(HC_OPT_COPIES), job.colours, job.query_status);
        IOsFpuRestore();
        D.colours = colour_class(job.colours);
        D.printer_available = job.query_status == 0 ? 1 : 0;
        // Two colours or fewer print in black and white; -1 (more than a palette) is colour.
        O(HC_OPT_MONOCHROME) = job.colours >= 0 && job.colours <= 2 ? 1 : 0;
    }
    hc_gdi_device_info(HC_WINDOWS_PRINTER);
}

void scale()
{
    auto& D = HcDeviceBlock;
    const int ex = HcOptions(HC_OPT_PAGE_WIDTH) * HcDeviceBlock.resolution_x / 72;
    const int ey = HcOptions(HC_OPT_PAGE_HEIGHT) * HcDeviceBlock.resolution_y / 72;
    D.sx = static_cast<float>(double(ex) / std::max(GrSurface.width, 1));
    D.sy = static_cast<float>(double(ey) / std::max(GrSurface.height, 1));
}

void op_open()
{
    auto& B = GrPrimitiveBlock;
    if (B.NVAL > 0) {
        job.open_status = job.query_status;
        if (job.open_status == 0) {
            if (B.IX(1) == 0)
                HcTitle = hc_padded("Vuvuzuvoder graphic", HC_TITLE_LENGTH);
            std::string title = HcTitle;
            title.erase(title.find_last_not_of(' ') + 1);
            const auto& O = HcOptions;
            int colours = 0;
            IHcPrnStartJob(O(HC_OPT_PAGE_WIDTH), O(HC_OPT_PAGE_HEIGHT), O(HC_OPT_MARGIN_LEFT),
                           O(HC_OPT_MARGIN_BOTTOM), job.resolution_x, job.resolution_y, colours,
                           job.open_status, O(HC_OPT_ORIENTATION), O(HC_OPT_COPIES), title);
            if (job.open_status == 0)
                job.colours = colours;
        }
        if (job.open_status != 0) {
            IErrorReport(ERR_OPEN_FILE);
            HcPlotStatus = job.open_status;
            GrOutputSwitch.hardcopy = 0;
            return;
        }
        HcGdiDraw& d = hc_gdi_draw(HC_WINDOWS_PRINTER);
        d.line_rgb = {-1, -1, -1};
        HcDeviceBlock.resolution_x = job.resolution_x;
        HcDeviceBlock.resolution_y = job.resolution_y;
        HcDeviceBlock.colours = colour_class(job.colours);
    }
    scale();
}

// Ops 21 and 33: the measured font's height and ascent are kept for placing text.
void op_font()
{
    HcGdiFontRequest f = hc_gdi_font_request();
    HcGdiDraw& d = hc_gdi_draw(HC_WINDOWS_PRINTER);
    int ascent = 0;
    IHcPrnFont(f.width, f.height, ascent, f.angle, GrTextState.family, f.style, f.name);
    d.font_height = f.height;
    d.font_ascent = ascent;
}

// Op 22: the given point is the middle of the character cell; the text is drawn on its baseline.
void op_text()
{
    auto& B = GrPrimitiveBlock;
    const auto& T = GrTextState;
    const HcGdiDraw& d = hc_gdi_draw(HC_WINDOWS_PRINTER);
    HcPageUsed = -1;
    const double a = d.font_ascent - 0.5 * d.font_height;
    const double dx = T.angle_sin * a / HcDeviceBlock.sx, dy = T.angle_cos * a / HcDeviceBlock.sy;
    const double H = GrSurface.extent_y;
    const auto map_x = [](double x) { return gr_trunc(double(HcDeviceBlock.sx) * x); };
    const auto map_y = [H](double y) { return gr_trunc((H - y) * double(HcDeviceBlock.sy)); };
    int justification = 0, opaque = 0;
    hc_gdi_text_layout(justification, opaque);
    const int n = std::clamp(B.IX(1), 0, static_cast<int>(B.TEXT.size()));
    IHcPrnText(map_x(B.X(1) + dx), map_y(B.Y(1) - dy), map_x(B.X(3) + dx), map_y(B.Y(3) - dy), justification,
               opaque, B.TEXT.data(), n);
    B.IX(4) = 0;
}

// Op 30: option 9 (1/720 inch) in printer pixels; one pixel gives pen width 0, the thinnest pen.
void op_line_width()
{
    const int w9 = HcOptions(HC_OPT_LINE_WIDTH);
    const int wx = std::max(gr_trunc(w9 * double(HcDeviceBlock.resolution_x) / 720.0 + 0.5), 1);
    const int wy = std::max(gr_trunc(w9 * double(HcDeviceBlock.resolution_y) / 720.0 + 0.5), 1);
    IHcPrnLineWidth(((wx - 1) + (wy - 1)) / 2);
}

}  // namespace

void IHcPrinterDriver(int op)
{
    switch (op) {
    case GrOpInitialise: op_initialise(); break;
    case GrOpOpen: op_open(); break;
    case GrOpClose: IHcPrnClose(); break;
    case GrOpHardcopyPage:
        HcPageUsed = 0;
        if (hc_gdi_draw(HC_WINDOWS_PRINTER).dc)
            IHcPrnEndPage();
        break;
    case GrOpFont:
    case GrOpTextAngle: op_font(); break;
    case GrOpText: op_text(); break;
    case GrOpLineWidth: op_line_width(); break;
    default: hc_gdi_op(HC_WINDOWS_PRINTER, op); break;
    }
}
