// The graphics reset as the recording devices see it.
#include "tests/graphics_core/recording_device.h"

#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/graphics/chart_setup.h"
#include "toolkit/graphics/gr_reset.h"
#include "toolkit/graphics/hardcopy_dispatch.h"

namespace {

class GraphicsReset : public GraphicsFixture {
protected:
    void SetUp() override
    {
        GraphicsFixture::SetUp();
        GrOutputSwitch.hardcopy = 0;
        HcOptions = HcOptionsRecord{};
        HcDeviceBlock = HcDeviceBlockRecord{};
        // The front end's hooks, with the recording device kept at device 10 in place of the printer.
        const GrDeviceRoutine recording = HcDriverTable(HC_WINDOWS_PRINTER);
        IHcDriversInstall();
        HcDriverTable(HC_WINDOWS_PRINTER) = recording;
        HcFrontEnd.printer_page_query = nullptr;
        HcFrontEnd.print_image = nullptr;
    }
};

TEST_F(GraphicsReset, BlankOptionsOperationSequence)
{
    GrColourState.number = {5, 6};
    GrLineState.plot_mode = 3;
    PgChartState.plot_type = 7;
    GrPrimitiveBlock.span_mode = 1;
    GrPrimitiveBlock.colour_record = 2;
    IGrInitGraphics(" ");
    EXPECT_EQ(GrPrimitiveBlock.span_mode, 0);
    EXPECT_EQ(GrPrimitiveBlock.colour_record, 0);
    EXPECT_EQ(GrOutputSwitch.screen, 1);
    EXPECT_EQ(recorded_ops(true), (std::vector<int>{GrOpOpen, GrOpColour, GrOpColour, GrOpPlotMode,
                                                    GrOpLineType, GrOpLineWidth, GrOpFont, GrOpFont}));
    // The previous colour is selected first, then the current one: the pair is (0, 223).
    EXPECT_EQ(GrColourState.number[GR_PREVIOUS], 0);
    EXPECT_EQ(GrColourState.number[GR_CURRENT], 223);
    EXPECT_EQ(GrColourState.rgb[GR_PREVIOUS], 16777215);
    EXPECT_EQ(GrLineState.plot_mode, 0);
    // The hardcopy driver's op 1 runs although hardcopy output is off, with NVAL 0.
    ASSERT_EQ(recorded_ops(false), std::vector<int>{GrOpInitialise});
    const auto& init = *std::find_if(RECORDED.begin(), RECORDED.end(), [](auto& r) { return !r.screen; });
    EXPECT_EQ(init.block.NVAL, 0);
    EXPECT_EQ(GrPrimitiveBlock.NVAL, 0);
    EXPECT_EQ(GrPrimitiveBlock.FILL(FILL_STYLE), 0);
    EXPECT_EQ(GrPrimitiveBlock.FILL(FILL_OUTLINE), 1);
    EXPECT_EQ(PgChartState.plot_type, 4);
    EXPECT_EQ(GrUnits.x2, 1.0f);
}

TEST_F(GraphicsReset, ScreenOffWithH)
{
    IGrInitGraphics("h");
    EXPECT_EQ(GrOutputSwitch.screen, 0);
    EXPECT_TRUE(recorded_ops(true).empty());
    EXPECT_EQ(recorded_ops(false), std::vector<int>{GrOpInitialise});
}

TEST_F(GraphicsReset, OpenHardcopyIsClosed)
{
    GrOutputSwitch.hardcopy = 1;
    HcPageUsed = -1;
    IGrInitGraphics(" ");
    const auto hard = recorded_ops(false);
    // Colour selection reaches the open hardcopy; then the output ends (op 19) and op 1 follows.
    ASSERT_GE(hard.size(), 2u);
    EXPECT_EQ(hard[hard.size() - 2], GrOpClose);
    EXPECT_EQ(hard.back(), GrOpInitialise);
    EXPECT_EQ(GrOutputSwitch.hardcopy, 0);
}

TEST_F(GraphicsReset, KeepOptionsOnlyAfterADeviceWasInitialised)
{
    HcOptions(1) = 9;
    IGrInitGraphics("P");  // no device initialised yet: zeroed
    EXPECT_EQ(HcOptions(1), 0);
    EXPECT_EQ(HcDeviceBlock.initialised_device, HC_WINDOWS_PRINTER);
    // Kept options go back through the option setter, whose checks apply: 5 = 9 is refused.
    HcOptions(1) = 9;
    HcOptions(5) = 9;
    HcOptions(101) = 7;  // options above 28 are not touched by the reset
    RECORDED.clear();
    IGrInitGraphics("xp");
    EXPECT_EQ(HcOptions(1), 9);
    EXPECT_EQ(HcOptions(5), 0);
    EXPECT_EQ(HcOptions(101), 7);
    const auto& init = *std::find_if(RECORDED.begin(), RECORDED.end(), [](auto& r) { return !r.screen; });
    EXPECT_EQ(init.block.NVAL, -998);
}

TEST_F(GraphicsReset, DispatchIgnoresDevicesWithoutDriver)
{
    HcDeviceNumber = 5;
    IHcDriverCall(GrOpInitialise);
    HcDeviceNumber = 0;
    IHcDriverCall(GrOpInitialise);
    HcDeviceNumber = 13;
    IHcDriverCall(GrOpInitialise);
    EXPECT_TRUE(RECORDED.empty());
    IHcDeviceSelect(2, HC_WINDOWS_PRINTER);  // only op 1 selects
    EXPECT_EQ(HcDeviceNumber, 13);
    IHcDeviceSelect(1, HC_WINDOWS_PRINTER);
    EXPECT_EQ(recorded_ops(false), std::vector<int>{GrOpInitialise});
}

}  // namespace
