// The plot-file layer on the toolkit's byte streams, and the common option defaults.
#include "toolkit/drivers/hc_plot_file.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/graphics/byte_stream.h"
#include "toolkit/graphics/gr_state.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/common/error_state.h"

#include <algorithm>

HcPlotSlotsRecord HcPlotSlots;
int HcPlotStatus = 0;

namespace {

constexpr int NAME_LENGTH = 255;

int& slot_handle(int slot)
{
    static int none = -1;
    none = -1;
    if (slot < 1 || slot >= HC_PLOT_SLOT_COUNT)
        return none;
    return HcPlotSlots.word[static_cast<std::size_t>(slot)];
}

// Writes n bytes; a count that differs from n is a failure. The byte stream reports its own failures
// (count -1, error 2 with the system code kept); a short count it did not report is reported here, so
// that every failure is reported once.
void write_bytes(int slot, const void* data, int n)
{
    int count = 0;
    if (n > 0)
        IOsBinWrite(slot_handle(slot), data, n, count);
    HcPlotSlots.word[0] = std::max(count, 0);
    if (count == n)
        return;
    if (count >= 0)
        IErrorReport(ERR_READ_WRITE);
    HcPlotStatus = -1;
}

}  // namespace

std::span<unsigned char> hc_plot_scratch()
{
    static_assert(sizeof(GrPolylineBufferRecord) == 2 * GR_POLYLINE_MAX * sizeof(float));
    return {reinterpret_cast<unsigned char*>(&GrPolylineBuffer), sizeof(GrPolylineBufferRecord)};
}

void hc_page_scale(double width, double height)
{
    HcDeviceBlock.sx = static_cast<float>(width / std::max(double(GrSurface.extent_x), 0.01));
    HcDeviceBlock.sy = static_cast<float>(height / std::max(double(GrSurface.extent_y), 0.01));
}

void IHcCommonDefaults()
{
    auto& O = HcOptions;
    O(HC_OPT_MONOCHROME) = 1;
    O(HC_OPT_COPIES) = 1;
    O(HC_OPT_LINE_WIDTH) = 5;
    O(HC_OPT_INVERSION) = 0;
    O(HC_OPT_SPARE_101) = 80;
    O(HC_OPT_SPARE_102) = 60;
    O(HC_OPT_SPARE_103) = 1;
    O(HC_OPT_SPARE_104) = 999999;
    O(HC_OPT_LINE_JOIN) = 0;
    O(HC_OPT_SPARE_105) = 1;
    O(HC_OPT_LINE_START) = 0;
    O(HC_OPT_LINE_CAP) = 0;
    O(HC_OPT_SPARE_106) = 0;
    O(HC_OPT_SPARE_107) = 0;
}

bool hc_initialise_begin(int device)
{
    auto& B = GrPrimitiveBlock;
    if (B.NPTS == HC_PROBE) {
        B.NPTS = device;
        return false;
    }
    IHcCommonDefaults();
    return true;
}

void hc_device_caps(std::string_view caps)
{
    auto& entry = GrDeviceCaps.entry[1];
    std::copy_n(caps.begin(), std::min(caps.size(), entry.size()), entry.begin());
}

void IHcPlotCreate(int slot)
{
    const std::string_view name(GrPrimitiveBlock.TEXT.data(), NAME_LENGTH);
    const std::size_t first = name.find_first_not_of(' ');
    HcPlotSlots.crlf = {'\r', '\n'};
    HcPlotStatus = 0;
    int handle = -1;
    if (first == std::string_view::npos || slot < 1 || slot >= HC_PLOT_SLOT_COUNT) {
        IErrorReport(ERR_OPEN_FILE);
    } else {
        const std::size_t last = name.find_last_not_of(' ');
        IOsBinOpen(name.substr(first, last - first + 1), 1, handle);
    }
    slot_handle(slot) = handle;
    if (handle == -1)
        HcPlotStatus = -1;
}

bool hc_plot_open()
{
    const int kept = ERROR_STATE.last_error;
    ERROR_STATE.last_error = 0;
    IHcPlotCreate(HC_PLOT_SLOT);
    if (ERROR_STATE.last_error != 0) {
        GrOutputSwitch.hardcopy = 0;
        return false;
    }
    ERROR_STATE.last_error = kept;
    return true;
}

void IHcPlotWriteText(int slot, std::string_view text)
{
    write_bytes(slot, text.data(), static_cast<int>(text.size()));
}

void IHcPlotWriteBytes(int slot, int n, bool crlf)
{
    const auto scratch = hc_plot_scratch();
    // A count beyond the buffer would read past it: it is refused as a failed write.
    if (n > static_cast<int>(scratch.size())) {
        IErrorReport(ERR_READ_WRITE);
        HcPlotStatus = -1;
        n = 0;
    }
    write_bytes(slot, scratch.data(), std::max(n, 0));
    if (crlf)
        write_bytes(slot, HcPlotSlots.crlf.data(), 2);
}

void IHcPlotClose(int slot)
{
    int& handle = slot_handle(slot);
    if (handle != -1)
        IOsBinClose(handle);
    handle = -1;
}

void IHcPlotHandle(int slot, int& handle)
{
    handle = slot_handle(slot);
}
