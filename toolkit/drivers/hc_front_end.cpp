// The hardcopy front end: IHcOpen, IHcOptionSet, IHcRunCommand and the control-word save.
#include "toolkit/drivers/hc_front_end.h"

#include "toolkit/drivers/hc_bitmap_file.h"
#include "toolkit/drivers/hc_raster_printer.h"
#include "toolkit/drivers/hpgl2_driver.h"
#include "toolkit/drivers/hpgl_driver.h"
#ifdef _WIN32
#include "toolkit/drivers/hc_printer_win.h"
#endif
#include "toolkit/drivers/ps_driver.h"
#include "toolkit/drivers/svg_driver.h"
#include "toolkit/drivers/dxf_driver.h"
#include "toolkit/drivers/cgm_driver.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/win/device_select.h"
#include "toolkit/win/entry.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/os_utilities.h"
#include "toolkit/win/settings.h"
#include "toolkit/common/text_utilities.h"

#include <algorithm>
#include <climits>

std::string HcTitle(HC_TITLE_LENGTH, ' ');
std::string HcPendingCommand(HC_COMMAND_LENGTH, ' ');
int HcSpoolAllowed = 0;
std::uint16_t HcFpuSaveWord = 0;

namespace {

// The SSE control register kept beside the x87 word.
std::uint32_t saved_mxcsr = 0;

bool is_blank(std::string_view text)
{
    return str_trim(text).empty();
}

// The primitive block's 255-character text := text, blank-padded or cut.
void put_text(std::string_view text)
{
    auto& T = GrPrimitiveBlock.TEXT;
    T.fill(' ');
    std::copy_n(text.begin(), std::min<std::size_t>(text.size(), HC_NAME_LENGTH), T.begin());
}

std::string_view block_text()
{
    return std::string_view(GrPrimitiveBlock.TEXT.data(), HC_NAME_LENGTH);
}

// End and hand-off: the waiting command runs with the temporary plot file in place of its "@", and
// the temporary file is deleted whatever the command did.
void hand_off()
{
    if (is_blank(HcPendingCommand))
        return;
    const std::string& command = HcPendingCommand;
    const std::size_t at = command.find('@');
    const std::string tmp(str_trim(OS_CONFIG_PATHS.temp_plot_file));
    std::string line;
    if (at == std::string::npos)
        line = tmp + command;
    else
        line = command.substr(0, at) + tmp + command.substr(at + 1);
    IHcRunCommand(line);
    IOsDeleteFile(tmp);
    HcPendingCommand.assign(HC_COMMAND_LENGTH, ' ');
}

// The widest page side, in points, that the device can write. The placeable metafile header holds the
// page in 1/1000 inch in 16 bits; every other device takes 65535 points (22 m): the HP-GL corners, at
// most 14.2 plotter units a point, then still fill their seven-character fields, the PostScript
// bounding box its five digits, and the 64-bit page sums of the other drivers have room to spare.
int page_side_limit(int device)
{
    return device == HC_METAFILE_DEVICE ? 2359 : 65535;
}
constexpr int MARGIN_LIMIT = 65535;
// Copies: HP-GL/2 writes the count in two digits, the PostScript driver in three.
int copies_limit(int device)
{
    return device == HC_HPGL2_DEVICE ? 99 : 999;
}
// Line width, 1/720 inch: the CGM line width in VDC units stays within 16 bits.
constexpr int LINE_WIDTH_LIMIT = 32767;

// A value above what the initialised device can write is refused with error 16 and not stored, so
// that the page arithmetic of the drivers cannot overflow and no field is written as asterisks.
bool writable(int value, int low, int high)
{
    if (value >= low && value <= high)
        return true;
    IErrorReport(GR_ERR_UNITS);
    return false;
}

// The replay of the graphics state to a device that has just opened.
constexpr int REPLAY_OPS[] = {GrOpLineWidth, GrOpLineType, GrOpLineJoin, GrOpLineCap,
                              GrOpClip,      GrOpFont,     GrOpColour};

}  // namespace

std::string hc_padded(std::string_view text, std::size_t n)
{
    std::string s(text.substr(0, std::min(text.size(), n)));
    s.resize(n, ' ');
    return s;
}

void IHcOpen(std::optional<std::string_view> name, std::optional<std::string_view> title)
{
    auto& B = GrPrimitiveBlock;
    // Both actions first end what runs: the used page, then the close.
    if ((HcPageUsed & 1) != 0) {
        B.NVAL = 32;
        B.NPTS = 1;
        IHcSendOp(GrOpHardcopyPage);
    }
    IHcSendOp(GrOpClose);
    GrOutputSwitch.hardcopy = 0;
    if (name && name->size() == 1 && ((*name)[0] == 'S' || (*name)[0] == 's')) {
        hand_off();
        return;
    }

    // The probe: a device without a driver leaves NPTS at HC_PROBE and nothing is opened.
    B.NPTS = HC_PROBE;
    IHcDriverCall(GrOpInitialise);
    if (B.NPTS == HC_PROBE)
        return;
    put_text(OS_CONFIG_PATHS.plot_output_file);
    B.NPTS = 1;
    if (name && !is_blank(*name)) {
        put_text(*name);
        B.NPTS = 0;
    }
    if (HcSpoolAllowed != 0 && block_text().find(" @ ") != std::string_view::npos) {
        HcPendingCommand = hc_padded(block_text(), HC_COMMAND_LENGTH);
        put_text(OS_CONFIG_PATHS.temp_plot_file);
    }
    B.IX(1) = 0;
    if (title) {
        HcTitle = hc_padded(*title, HC_TITLE_LENGTH);
        B.IX(1) = 1;
    }
    GrOutputSwitch.hardcopy = 1;
    B.NVAL = 1;
    IHcSendOp(GrOpOpen);
    if (GrOutputSwitch.screen == 0) {
        GrColourState.hardcopy_class = HcDeviceBlock.colours;
        if (HcOptions(HC_OPT_PAGE_HEIGHT) != 0)
            GrSurface.aspect = static_cast<float>(double(HcOptions(HC_OPT_PAGE_WIDTH)) /
                                                  double(HcOptions(HC_OPT_PAGE_HEIGHT)));
    }
    HcDeviceBlock.pen_x = HC_PEN_UNKNOWN;
    HcDeviceBlock.pen_y = HC_PEN_UNKNOWN;
    for (int op : REPLAY_OPS)
        IHcSendOp(op);
}

void IHcOptionSet(int number, int value)
{
    auto in = [&](int lo, int hi) { return value >= lo && value <= hi; };
    auto& O = HcOptions;
    const int device = HcDeviceBlock.initialised_device;
    switch (number) {
    case HC_OPT_PAGE_WIDTH:
    case HC_OPT_PAGE_HEIGHT:
        if (writable(value, 1, page_side_limit(device)))
            O(number) = value;
        return;
    case HC_OPT_MARGIN_LEFT:
    case HC_OPT_MARGIN_BOTTOM:
        if (writable(value, -MARGIN_LIMIT, MARGIN_LIMIT))
            O(number) = value;
        return;
    case HC_OPT_ORIENTATION:
        if (!in(0, 3))
            return;
        if (value >= 2) {
            const int a = std::min(O(HC_OPT_PAGE_WIDTH), O(HC_OPT_PAGE_HEIGHT));
            const int b = std::max(O(HC_OPT_PAGE_WIDTH), O(HC_OPT_PAGE_HEIGHT));
            O(HC_OPT_PAGE_WIDTH) = value == 2 ? a : b;
            O(HC_OPT_PAGE_HEIGHT) = value == 2 ? b : a;
        }
        O(HC_OPT_ORIENTATION) = value & 1;
        return;
    case HC_OPT_INVERSION:
        if (in(0, 2))
            O(HC_OPT_INVERSION) = value;
        return;
    case HC_OPT_COPIES:
        if (writable(value, INT_MIN, copies_limit(device)))
            O(HC_OPT_COPIES) = std::max(value, 1);
        return;
    case HC_OPT_LINE_WIDTH:
        if (!writable(value, INT_MIN, LINE_WIDTH_LIMIT))
            return;
        O(HC_OPT_LINE_WIDTH) = std::max(value, 1);
        IHcSendOp(GrOpLineWidth);
        return;
    case HC_OPT_LINE_JOIN:
    case HC_OPT_LINE_CAP:
        if (!in(0, 2))
            return;
        O(number) = value;
        IHcSendOp(number == HC_OPT_LINE_JOIN ? GrOpLineJoin : GrOpLineCap);
        return;
    case HC_OPT_FILL_SPACING: O(HC_OPT_FILL_SPACING) = std::max(value, 100); return;
    case HC_OPT_RESOLUTION:
        if (in(1, HC_RASTER_PRINTER.resolution_count)) {
            O(HC_OPT_RESOLUTION) = value;
            HcDeviceBlock.resolution_index = value;
        }
        return;
    case HC_OPT_IGNORED: return;
    case HC_OPT_PATH_SEGMENTS:
        if (in(10, 255))
            O(HC_OPT_PATH_SEGMENTS) = value;
        return;
    case HC_OPT_TERMINATOR:
        if (in(1, 127))
            O(HC_OPT_TERMINATOR) = value;
        return;
    case HC_OPT_DEPTH: {
        const bool bitmap =
            device == HC_BITMAP_DEVICE && (value == 24 || value == 8 || value == 1 || value == 4);
        const bool dxf = device == HC_DXF_DEVICE && (value == 8 || value == 3 || value == 4);
        if (bitmap || dxf)
            O(HC_OPT_DEPTH) = value;
        return;
    }
    case HC_OPT_COMPRESSION:
        if (in(0, HC_RASTER_PRINTER.compression_limit))
            O(HC_OPT_COMPRESSION) = value;
        return;
    case HC_OPT_SPARE_105:
        if (in(1, 4))
            O(HC_OPT_SPARE_105) = value;
        return;
    default:
        if (hc_option_index(number) >= 0)
            O(number) = value;
        return;
    }
}

void IHcRunCommand(std::string_view command)
{
    int family = 0;
    IOsPlatform(family);
    std::string line = family == 4 ? "cmd.exe /c " : "command.com /c ";
    line += command;
    if (line.size() > HC_COMMAND_LENGTH)
        line.resize(HC_COMMAND_LENGTH);
    line.resize(str_trim(line).empty() ? 0 : line.find_last_not_of(' ') + 1);
    int result = 0;
    int exit_status = 0;
    IOsRunCommand(line, 1, 1, -1, result, &exit_status);
    // A command that ran to its end but failed (non-zero exit status) is an error too; otherwise the
    // failure would pass unseen and the plot file be deleted.
    if (result != 32 || exit_status != 0) {
        IErrorReport(ERR_OS_COMMAND);
        ERROR_STATE.last_os_error = result != 32 ? result : exit_status;
    }
}

#if defined(__x86_64__) || defined(__i386__)
void IOsFpuControlStore(std::uint16_t& word)
{
    // fstcw waits for pending floating-point work before it stores.
    __asm__ __volatile__("fstcw %0" : "=m"(word));
}

void IOsFpuControlLoad(const std::uint16_t& word)
{
    __asm__ __volatile__("fwait\n\tfldcw %0" : : "m"(word));
}

static std::uint32_t mxcsr_get()
{
    std::uint32_t v = 0;
    __asm__ __volatile__("stmxcsr %0" : "=m"(v));
    return v;
}

static void mxcsr_set(std::uint32_t v)
{
    __asm__ __volatile__("ldmxcsr %0" : : "m"(v));
}
#else
#error "the control-word save is written for x86 processors"
#endif

void IOsFpuSave()
{
    IOsFpuControlStore(HcFpuSaveWord);
    saved_mxcsr = mxcsr_get();
}

void IOsFpuRestore()
{
    IOsFpuControlLoad(HcFpuSaveWord);
    mxcsr_set(saved_mxcsr);
}

void IHcDriversInstall()
{
    HcDriverTable(1) = IHcHpglDriver;
    HcDriverTable(12) = IHcHpgl2Driver;
#ifdef _WIN32
    HcDriverTable(HC_WINDOWS_PRINTER) = IHcPrinterDriver;
    HcDriverTable(11) = IHcMetafileDriver;
    HcFrontEnd.printer_page_query = hc_screen_print_query;
    HcFrontEnd.print_image = IGrPrintImage;
#endif
    HcDriverTable(2) = IHcPsDriver;
    HcDriverTable(3) = IHcSvgDriver;
    HcDriverTable(8) = IHcDxfDriver;
    HcDriverTable(9) = IHcCgmDriver;
    HcFrontEnd.end = [] { IHcOpen("S", " "); };
    HcFrontEnd.option_set = IHcOptionSet;
    HcDriverTable(HC_RASTER_PRINTER_DEVICE) = IHcRasterPrinterDriver;
    HcDriverTable(HC_BITMAP_DEVICE) = IHcBitmapFileDriver;
}
