// Test equipment shared by the driver tests (the fixture and the recording driver).
#include "tests/drivers/driver_fixture.h"

#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/graphics_text.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#ifndef _WIN32
#include "toolkit/headless/headless.h"
#endif
#include "toolkit/common/error_state.h"
#include "toolkit/win/settings.h"

#include <fstream>
#include <sstream>

std::vector<DriverCall> DRIVER_CALLS;
int RECORDING_DEVICE_ANSWER = HC_WINDOWS_PRINTER;

namespace {

void recording_driver(int op)
{
    auto& B = GrPrimitiveBlock;
    if (op == GrOpInitialise && B.NPTS == HC_PROBE) {
        if (RECORDING_DEVICE_ANSWER != 0)
            B.NPTS = RECORDING_DEVICE_ANSWER;
        return;
    }
    std::string text(B.TEXT.data(), 255);
    text.erase(text.find_last_not_of(' ') + 1);
    DRIVER_CALLS.push_back({op, B.NVAL, B.NPTS, B.IX(1), text});
    if (op == GrOpInitialise)
        HcSpoolAllowed = 1;
}

}  // namespace

std::vector<int> driver_ops()
{
    std::vector<int> ops;
    for (const auto& c : DRIVER_CALLS)
        ops.push_back(c.op);
    return ops;
}

void DriverFixture::SetUp()
{
    GrTarget = GrTargetRecord{};
    GrArea = GrAreaRecord{};
    GrUnits = GrUnitsRecord{};
    GrColourState = GrColourStateRecord{};
    GrLineState = GrLineStateRecord{};
    GrTextState = GrTextStateRecord{};
    GrPrimitiveBlock = GrPrimitiveBlockRecord{};
    HcDeviceBlock = HcDeviceBlockRecord{};
    HcOptions = HcOptionsRecord{};
    HcPageUsed = 0;
    HcPendingCommand.assign(HC_COMMAND_LENGTH, ' ');
    HcSpoolAllowed = 0;
    OS_CONFIG_PATHS = OsConfigPaths{};
    OS_CONFIG_PATHS.temp_plot_file = "ruv$$00.plt";
    HC_DEVICE_CONFIG = HcDeviceConfig{};
    HC_DEVICE_CONFIG.plotter_variant = 1;
    HC_DEVICE_CONFIG.hpgl2_variant = 1;
    GrOutputSwitch.screen = 0;
    GrOutputSwitch.hardcopy = 0;
    GrScreenDevice = nullptr;
    IHcDriversInstall();
    HcDriverTable(HC_WINDOWS_PRINTER) = recording_driver;
    RECORDING_DEVICE_ANSWER = HC_WINDOWS_PRINTER;
    HcDeviceNumber = HC_WINDOWS_PRINTER;
    IGrColourTableInit();
    IGrSurfaceSetup(1, 0, 640, 480);
    ERROR_STATE = ErrorState{};
#ifndef _WIN32
    HEADLESS.reset();
#endif
    DRIVER_CALLS.clear();
}

void DriverFixture::TearDown()
{
    // Whatever a test left open is closed, so that no file stays open into the next test.
    IHcPlotClose(HC_PLOT_SLOT);
    GrOutputSwitch = GrOutputSwitchRecord{};
    HcDriverTable(HC_WINDOWS_PRINTER) = nullptr;
}

void send_line(float x1, float y1, float x2, float y2)
{
    auto& B = GrPrimitiveBlock;
    B.X(1) = x1;
    B.Y(1) = y1;
    B.X(2) = x2;
    B.Y(2) = y2;
    IHcSendOp(GrOpLine);
}

std::string read_file(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> file_lines(const std::string& name)
{
    const std::string all = read_file(name);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t p; (p = all.find("\r\n", start)) != std::string::npos; start = p + 2)
        lines.push_back(all.substr(start, p - start));
    if (start < all.size())
        lines.push_back(all.substr(start));
    return lines;
}
