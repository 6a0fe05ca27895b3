// The plot-file layer: create, write, close and their failures, each reported once.
#include "tests/drivers/driver_fixture.h"

#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/common/error_state.h"

#include <cstdio>
#include <filesystem>

namespace {

using PlotFile = DriverFixture;

void set_name(const std::string& name)
{
    GrPrimitiveBlock.TEXT.fill(' ');
    std::copy(name.begin(), name.end(), GrPrimitiveBlock.TEXT.begin());
}

TEST_F(PlotFile, AllBlankNameFailsWithoutOpeningAnything)
{
    set_name("");
    IHcPlotCreate(HC_PLOT_SLOT);
    EXPECT_EQ(ERROR_STATE.last_error, ERR_OPEN_FILE);
    EXPECT_EQ(ERROR_STATE.last_file_error, 0);  // no system call left a code
    EXPECT_EQ(HcPlotStatus, -1);
    int handle = 0;
    IHcPlotHandle(HC_PLOT_SLOT, handle);
    EXPECT_EQ(handle, -1);
}

TEST_F(PlotFile, WritesTextAndScratchBytes)
{
    const std::string name = "plot_file_test.plt";
    set_name("  " + name);  // leading blanks are not part of the name
    IHcPlotCreate(HC_PLOT_SLOT);
    ASSERT_EQ(HcPlotStatus, 0);
    IHcPlotWriteText(HC_PLOT_SLOT, "IN;");
    EXPECT_EQ(HcPlotSlots.word[0], 3);         // byte count of the last write
    IHcPlotWriteBytes(HC_PLOT_SLOT, 0, true);  // zero bytes with CR LF: only CR LF
    auto scratch = hc_plot_scratch();
    ASSERT_EQ(scratch.size(), 40000u);
    scratch[0] = 'A';
    scratch[1] = 0;
    scratch[39999] = 'Z';
    IHcPlotWriteBytes(HC_PLOT_SLOT, 2, false);
    IHcPlotClose(HC_PLOT_SLOT);
    EXPECT_EQ(read_file(name), std::string("IN;\r\nA\0", 7));
    EXPECT_EQ(ERROR_STATE.last_error, 0);
    std::remove(name.c_str());
}

TEST_F(PlotFile, MissingDirectoryIsErrorOneAndNoFile)
{
    const std::string name = "no_such_directory/plot.plt";
    set_name(name);
    IHcPlotCreate(HC_PLOT_SLOT);
    EXPECT_EQ(ERROR_STATE.last_error, ERR_OPEN_FILE);
    EXPECT_NE(ERROR_STATE.last_file_error, 0);  // the system's code is kept
    EXPECT_EQ(HcPlotStatus, -1);
    EXPECT_FALSE(std::filesystem::exists(name));
}

#ifndef _WIN32
// A device that takes no bytes: every write fails and is reported once, as error 2; later writes are
// attempted again.
TEST_F(PlotFile, FullDeviceIsErrorTwoPerWrite)
{
    set_name("/dev/full");
    IHcPlotCreate(HC_PLOT_SLOT);
    ASSERT_EQ(HcPlotStatus, 0);
    int reports = 0;
    for (int i = 0; i < 2; ++i) {
        ERROR_STATE.last_error = 0;
        IHcPlotWriteText(HC_PLOT_SLOT, "PD;");
        reports += ERROR_STATE.last_error == 2 ? 1 : 0;
    }
    EXPECT_EQ(reports, 2);
    EXPECT_EQ(HcPlotStatus, -1);
    EXPECT_NE(ERROR_STATE.last_file_error, 0);
}
#endif

TEST_F(PlotFile, CountBeyondTheScratchBufferIsRefused)
{
    const std::string name = "plot_file_big.plt";
    set_name(name);
    IHcPlotCreate(HC_PLOT_SLOT);
    IHcPlotWriteBytes(HC_PLOT_SLOT, 40001, false);
    IHcPlotClose(HC_PLOT_SLOT);
    EXPECT_EQ(ERROR_STATE.last_error, 2);
    EXPECT_EQ(read_file(name), "");
    std::remove(name.c_str());
}

TEST_F(PlotFile, CommonDefaults)
{
    for (int& w : HcOptions.value)
        w = -5;
    IHcCommonDefaults();
    const std::pair<int, int> set[] = {{7, 1},    {8, 1},   {9, 5},        {6, 0},  {101, 80},
                                       {102, 60}, {103, 1}, {104, 999999}, {10, 0}, {105, 1},
                                       {17, 0},   {11, 0},  {106, 0},      {107, 0}};
    for (auto [n, v] : set)
        EXPECT_EQ(HcOptions(n), v) << n;
    for (int n : {1, 2, 3, 4, 5, 12, 13, 18, 28})
        EXPECT_EQ(HcOptions(n), -5) << n;  // left to the driver
}

}  // namespace
