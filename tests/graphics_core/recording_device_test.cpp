// Test equipment shared by the graphics-core tests (recording devices and the fixture).
#include "tests/graphics_core/recording_device.h"

#include "toolkit/common/error_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_state.h"
#include "toolkit/graphics/hardcopy_dispatch.h"

std::vector<RecordedOp> RECORDED;
int HARDCOPY_EMULATE_ANSWER = 0;
int HARDCOPY_COUNT_ANSWER = 0;

namespace {

void record(int op, bool screen)
{
    RecordedOp r{op, screen, GrPrimitiveBlock, {}, {}};
    if (op == GrOpPolyline || op == GrOpPolygonPattern || op == GrOpPolygonSolid) {
        for (int i = 1; i <= GrPrimitiveBlock.NPTS && i <= GR_POLYLINE_MAX; ++i) {
            r.xs.push_back(GrPolylineBuffer.X(i));
            r.ys.push_back(GrPolylineBuffer.Y(i));
        }
    }
    RECORDED.push_back(r);
}

void screen_device(int op)
{
    record(op, true);
}

void hardcopy_device(int op)
{
    record(op, false);
    const bool offer = op == GrOpEllipsePattern || op == GrOpRectanglePattern || op == GrOpTrianglePattern ||
                       op == GrOpPolygonPattern;
    if (offer && GrPrimitiveBlock.NVAL == 1 && HARDCOPY_EMULATE_ANSWER != 0)
        GrPrimitiveBlock.FILL(FILL_HARD_PASS) = HARDCOPY_EMULATE_ANSWER;
    if (offer && GrPrimitiveBlock.NVAL == 1 && HARDCOPY_COUNT_ANSWER != 0)
        GrPrimitiveBlock.NVAL = HARDCOPY_COUNT_ANSWER;
}

}  // namespace

std::vector<int> recorded_ops(bool screen)
{
    std::vector<int> ops;
    for (const auto& r : RECORDED)
        if (r.screen == screen)
            ops.push_back(r.op);
    return ops;
}

std::vector<RecordedOp> recorded_lines(bool screen)
{
    std::vector<RecordedOp> lines;
    for (const auto& r : RECORDED)
        if (r.screen == screen && r.op == GrOpLine)
            lines.push_back(r);
    return lines;
}

void GraphicsFixture::SetUp()
{
    gr_records_clear();
    HcDeviceBlock = HcDeviceBlockRecord{};
    GrOutputSwitch.screen = 1;
    GrOutputSwitch.hardcopy = 1;
    GrScreenDevice = screen_device;
    HcDeviceNumber = HC_WINDOWS_PRINTER;
    HcDriverTable(HC_WINDOWS_PRINTER) = hardcopy_device;
    HARDCOPY_EMULATE_ANSWER = 0;
    HARDCOPY_COUNT_ANSWER = 0;
    IGrColourTableInit();
    IGrSurfaceSetup(1, 0, 640, 480);
    ERROR_STATE = ErrorState{};
    RECORDED.clear();
}

void GraphicsFixture::TearDown()
{
    GrScreenDevice = nullptr;
    HcDriverTable(HC_WINDOWS_PRINTER) = nullptr;
    GrOutputSwitch = GrOutputSwitchRecord{};
}
