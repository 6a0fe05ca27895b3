// The hardcopy front end: the option setter, the open and end actions, the command hand-off and the
// control-word save.
#include "tests/drivers/driver_fixture.h"

#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/win/device_select.h"
#include "toolkit/common/error_state.h"
#include "toolkit/common/text_utilities.h"
#ifndef _WIN32
#include "toolkit/headless/headless.h"
#endif

#include <optional>

namespace {

using FrontEnd = DriverFixture;

// One setter case: the options set before, the call, the option read after and its value.
struct OptionCase {
    const char* what;
    int initialised_device;
    int number;
    int value;
    int read;
    int expected;
};

TEST_F(FrontEnd, OptionSetterTable)
{
    const OptionCase cases[] = {
        {"plain option stored", 0, 3, -7, 3, -7},
        {"orientation 0..3 stores value AND 1", 0, 5, 3, 5, 1},
        {"orientation 4 ignored", 0, 5, 4, 5, 99},
        {"inversion 3 ignored", 0, 6, 3, 6, 99},
        {"copies below 1 become 1", 0, 8, -3, 8, 1},
        {"line width 0 becomes 1", 0, 9, 0, 9, 1},
        {"line join 2 stored", 0, 10, 2, 10, 2},
        {"line cap 3 ignored", 0, 11, 3, 11, 99},
        {"fill spacing 50 becomes 100", 0, 12, 50, 12, 100},
        {"option 14 never changes", 0, 14, 5, 14, 99},
        {"path segments 9 ignored", 0, 16, 9, 16, 99},
        {"path segments 255 stored", 0, 16, 255, 16, 255},
        {"terminator 0 ignored", 0, 21, 0, 21, 99},
        {"terminator 127 stored", 0, 21, 127, 21, 127},
        {"depth 24 on the bitmap device", 6, 23, 24, 23, 24},
        {"depth 24 on DXF ignored", 8, 23, 24, 23, 99},
        {"depth 3 on DXF", 8, 23, 3, 23, 3},
        {"depth 8 on HP-GL ignored", 1, 23, 8, 23, 99},
        {"option 101 plain", 0, 101, -1, 101, -1},
        {"option 105 5 ignored", 0, 105, 5, 105, 99},
        {"option 105 4 stored", 0, 105, 4, 105, 4},
        {"number 29 is no option", 0, 29, 1, 28, 99},
        {"number 108 is no option", 0, 108, 1, 107, 99},
    };
    for (const auto& c : cases) {
        for (int& w : HcOptions.value)
            w = 99;
        HcDeviceBlock.initialised_device = c.initialised_device;
        IHcOptionSet(c.number, c.value);
        EXPECT_EQ(HcOptions(c.read), c.expected) << c.what;
        EXPECT_EQ(ERROR_STATE.last_error, 0) << c.what;  // a refusal reports nothing
    }
}

TEST_F(FrontEnd, OrientationSwapsThePage)
{
    HcOptions(HC_OPT_PAGE_WIDTH) = 842;
    HcOptions(HC_OPT_PAGE_HEIGHT) = 595;
    IHcOptionSet(5, 2);
    EXPECT_EQ(HcOptions(HC_OPT_PAGE_WIDTH), 595);
    EXPECT_EQ(HcOptions(HC_OPT_PAGE_HEIGHT), 842);
    EXPECT_EQ(HcOptions(HC_OPT_ORIENTATION), 0);
    IHcOptionSet(5, 3);
    EXPECT_EQ(HcOptions(HC_OPT_PAGE_WIDTH), 842);
    EXPECT_EQ(HcOptions(HC_OPT_PAGE_HEIGHT), 595);
    EXPECT_EQ(HcOptions(HC_OPT_ORIENTATION), 1);
}

TEST_F(FrontEnd, ResolutionAndCompressionFollowThePrinterModel)
{
    HC_RASTER_PRINTER.resolution_count = 3;
    HC_RASTER_PRINTER.compression_limit = 2;
    IHcOptionSet(13, 3);
    IHcOptionSet(13, 4);
    IHcOptionSet(24, 3);
    EXPECT_EQ(HcOptions(HC_OPT_RESOLUTION), 3);
    EXPECT_EQ(HcDeviceBlock.resolution_index, 3);
    EXPECT_EQ(HcOptions(HC_OPT_COMPRESSION), 0);
}

TEST_F(FrontEnd, SettersSendTheirOpsOnlyWhileHardcopyIsOn)
{
    IHcOptionSet(9, 3);
    EXPECT_TRUE(DRIVER_CALLS.empty());
    GrOutputSwitch.hardcopy = 1;
    IHcOptionSet(9, 3);
    IHcOptionSet(10, 1);
    IHcOptionSet(11, 2);
    IHcOptionSet(11, 7);  // refused: nothing sent
    EXPECT_EQ(driver_ops(), (std::vector<int>{GrOpLineWidth, GrOpLineJoin, GrOpLineCap}));
}

// One open call: name and title (absent when null) and what op 18 saw.
struct OpenCase {
    std::optional<std::string_view> name;
    bool opens;
    int npts;          // NPTS at op 18: 1 default name, 0 a given name
    const char* file;  // text at op 18
};

TEST_F(FrontEnd, OpenNames)
{
    const OpenCase cases[] = {
        {"S", false, 0, ""},
        {"s", false, 0, ""},
        {"SS", true, 0, "SS"},
        {"S ", true, 0, "S"},
        {"x", true, 0, "x"},
        {"   ", true, 1, "zirazo.plt"},
        {std::nullopt, true, 1, "zirazo.plt"},
    };
    for (const auto& c : cases) {
        DRIVER_CALLS.clear();
        GrOutputSwitch.hardcopy = 0;
        IHcOpen(c.name, std::nullopt);
        const std::string label(c.name ? *c.name : "(absent)");
        if (!c.opens) {
            EXPECT_TRUE(DRIVER_CALLS.empty()) << label;
            EXPECT_EQ(GrOutputSwitch.hardcopy, 0) << label;
            continue;
        }
        ASSERT_FALSE(DRIVER_CALLS.empty()) << label;
        EXPECT_EQ(DRIVER_CALLS[0].op, GrOpOpen) << label;
        EXPECT_EQ(DRIVER_CALLS[0].nval, 1) << label;
        EXPECT_EQ(DRIVER_CALLS[0].npts, c.npts) << label;
        EXPECT_EQ(DRIVER_CALLS[0].text, c.file) << label;
        EXPECT_EQ(DRIVER_CALLS[0].ix1, 0) << label;  // no title
        EXPECT_EQ(GrOutputSwitch.hardcopy, 1) << label;
    }
}

TEST_F(FrontEnd, OpenReplaysTheStateAndTitleFlag)
{
    IHcOpen("plot.plt", " ");
    EXPECT_EQ(driver_ops(), (std::vector<int>{GrOpOpen, GrOpLineWidth, GrOpLineType, GrOpLineJoin,
                                              GrOpLineCap, GrOpClip, GrOpFont, GrOpColour}));
    EXPECT_EQ(DRIVER_CALLS[0].ix1, 1);  // a blank title is a title
    EXPECT_EQ(HcTitle, std::string(HC_TITLE_LENGTH, ' '));
    EXPECT_EQ(HcDeviceBlock.pen_x, HC_PEN_UNKNOWN);
    // The next open first ends this one: the used page, then the close.
    HcPageUsed = -1;
    DRIVER_CALLS.clear();
    IHcOpen("S", " ");
    ASSERT_EQ(driver_ops(), (std::vector<int>{GrOpHardcopyPage, GrOpClose}));
    EXPECT_EQ(DRIVER_CALLS[0].nval, 32);
    EXPECT_EQ(DRIVER_CALLS[0].npts, 1);
    EXPECT_EQ(GrOutputSwitch.hardcopy, 0);
}

TEST_F(FrontEnd, ProbeOnDevicesWithoutDriverOpensNothing)
{
    for (int device : {5, 7, 13}) {
        HcDeviceNumber = device;
        GrPrimitiveBlock.TEXT.fill('#');
        IHcOpen("plot.plt", std::nullopt);
        EXPECT_EQ(GrOutputSwitch.hardcopy, 0) << device;
        EXPECT_EQ(GrPrimitiveBlock.TEXT[0], '#') << device;  // the name was never put in place
    }
    EXPECT_TRUE(DRIVER_CALLS.empty());
}

TEST_F(FrontEnd, CommandNameOnlyWhereSpoolingIsAllowed)
{
    HcSpoolAllowed = 1;  // as the op 1 of HP-GL, PostScript, the raster printer and HP-GL/2 leave it
    IHcOpen("copy @ lpt1", std::nullopt);
    EXPECT_EQ(DRIVER_CALLS[0].text, "ruv$$00.plt");
    EXPECT_EQ(std::string(str_trim(HcPendingCommand)), "copy @ lpt1");
    // A device without hand-off (SVG, for one) takes the name literally.
    HcPendingCommand.assign(HC_COMMAND_LENGTH, ' ');
    HcSpoolAllowed = 0;
    DRIVER_CALLS.clear();
    IHcOpen("copy @ lpt1", std::nullopt);
    ASSERT_EQ(DRIVER_CALLS[0].op, GrOpClose);  // the first open is ended first
    EXPECT_EQ(DRIVER_CALLS[1].text, "copy @ lpt1");
    EXPECT_TRUE(str_trim(HcPendingCommand).empty());
}

#ifndef _WIN32
// The end action runs the waiting command on the recording toolkit: the temporary name in place of the
// at-sign, behind the interpreter prefix; the temporary file is deleted and the command cleared.
struct HandOffCase {
    int result;
    int exit_status;
    int error;
};

TEST_F(FrontEnd, HandOffRunsTheCommandAndReportsFailures)
{
    const HandOffCase cases[] = {{32, 0, 0}, {2, 0, ERR_OS_COMMAND}, {32, 1, ERR_OS_COMMAND}};
    for (const auto& c : cases) {
        HEADLESS.reset();
        ERROR_STATE = ErrorState{};
        HEADLESS.command_result = c.result;
        HEADLESS.command_exit_status = c.exit_status;
        HcSpoolAllowed = 1;
        IHcOpen("copy @ lpt1", std::nullopt);
        IHcOpen("S", " ");
        ASSERT_EQ(HEADLESS.calls.size(), 2u);
        EXPECT_EQ(HEADLESS.calls[0], "IOsRunCommand 1 1 -1 |cmd.exe /c copy ruv$$00.plt lpt1|");
        EXPECT_EQ(HEADLESS.calls[1], "IOsDeleteFile ruv$$00.plt");
        EXPECT_EQ(ERROR_STATE.last_error, c.error);
        EXPECT_EQ(ERROR_STATE.last_os_error, c.error == 0 ? 0 : (c.result != 32 ? c.result : c.exit_status));
        EXPECT_TRUE(str_trim(HcPendingCommand).empty());
        // A second end finds nothing waiting.
        IHcOpen("S", " ");
        EXPECT_EQ(HEADLESS.calls.size(), 2u);
    }
}

TEST_F(FrontEnd, CommandWithoutAtSignGetsTheFileFirst)
{
    HcPendingCommand = hc_padded("lpr -P x", HC_COMMAND_LENGTH);
    IHcOpen("S", std::nullopt);
    ASSERT_FALSE(HEADLESS.calls.empty());
    EXPECT_EQ(HEADLESS.calls[0], "IOsRunCommand 1 1 -1 |cmd.exe /c ruv$$00.pltlpr -P x|");
}
#endif

TEST_F(FrontEnd, ControlWordIsBackAfterSaveAndRestore)
{
    std::uint16_t before = 0;
    IOsFpuControlStore(before);
    IOsFpuSave();
    // Round toward zero and 24-bit precision, as a printer driver might leave them.
    const std::uint16_t changed = static_cast<std::uint16_t>((before & ~0x0F00u) | 0x0C00u);
    IOsFpuControlLoad(changed);
    std::uint16_t now = 0;
    IOsFpuControlStore(now);
    EXPECT_EQ(now, changed);
    IOsFpuRestore();
    IOsFpuControlStore(now);
    EXPECT_EQ(now, before);
    EXPECT_EQ(HcFpuSaveWord, before);
}

}  // namespace
