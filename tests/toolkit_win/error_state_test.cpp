// Error numbers, their texts, the report text and the silent, standard-output and debug-log modes.
#include "toolkit/common/error_state.h"
#include "toolkit/win/os_utilities.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

TEST(IErrorText, MessagesArePaddedOrBlank)
{
    std::string t55 = IErrorText(55);
    EXPECT_EQ(t55, "Source and target file names same in copy command" + std::string(13, ' '));
    EXPECT_EQ(IErrorText(1001, 10), "Invalid me");  // cut to the text's length
    for (int n : {0, -1, 6, 67, 1000, 1059, 65})
        EXPECT_EQ(IErrorText(n), std::string(62, ' ')) << n;
}

TEST(IErrorText, TableHas91MessagesNoneLongerThan62)
{
    int count = 0;
    size_t longest = 0;
    for (int n = -5; n <= 1100; ++n) {
        std::string t = IErrorText(n, 100);
        size_t end = t.find_last_not_of(' ');
        if (end == std::string::npos)
            continue;
        ++count;
        longest = std::max(longest, end + 1);
    }
    EXPECT_EQ(count, 91);
    EXPECT_EQ(longest, 61u);
    EXPECT_EQ(IErrorText(40, 100).find_last_not_of(' ') + 1, 61u);
    EXPECT_EQ(IErrorText(42, 100).find_last_not_of(' ') + 1, 60u);
}

TEST(ErrorReportText, NumberInFourColumnsThenMessage)
{
    EXPECT_EQ(error_report_text(6), "Error=   6:" + std::string(62, ' '));
    EXPECT_EQ(error_report_text(1001), "Error=1001:Invalid menu item" + std::string(62 - 17, ' '));
    EXPECT_EQ(error_report_text(1001).size(), 73u);
    EXPECT_EQ(error_report_text(12345).substr(0, 11), "Error=****:");
}

TEST(IErrorModeSet, TakesOnlyZeroToFour)
{
    ERROR_STATE = ErrorState{};
    IErrorModeSet(2);
    IErrorModeSet(5);
    IErrorModeSet(-1);
    EXPECT_EQ(IErrorInfo(4), 2);
    IErrorModeSet(0);
    EXPECT_EQ(IErrorInfo(4), 0);
}

TEST(IErrorInfo, OptionsReturnAndClear)
{
    ERROR_STATE = ErrorState{};
    IErrorReport(13);
    ERROR_STATE.last_file_error = 2;
    ERROR_STATE.last_os_error = 5;
    EXPECT_EQ(IErrorInfo(1), 13);
    EXPECT_EQ(IErrorInfo(1), 0);
    EXPECT_EQ(IErrorInfo(2), 2);
    EXPECT_EQ(IErrorInfo(2), 0);
    EXPECT_EQ(IErrorInfo(3), 5);
    EXPECT_EQ(IErrorInfo(3), 0);
}

TEST(IErrorReport, StandardOutputModeWritesOneRecord)
{
    ERROR_STATE = ErrorState{};
    IErrorModeSet(1);
    testing::internal::CaptureStdout();
    IErrorReport(6);
    IErrorReport(1001);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, " Error=   6:\n Error=1001:Invalid menu item\n");
    EXPECT_EQ(ERROR_STATE.last_error, 1001);
    EXPECT_EQ(ERROR_STATE.error_mode, 1);  // the mode is back after the report
    IErrorModeSet(0);
}

TEST(IErrorReport, DebugModeWritesTheDebugLog)
{
    // The log is created in the current directory at first use: "debug", or "debug.txt"/"debug.dat"
    // when that name cannot be created. The test runs in its own build folder.
    ERROR_STATE = ErrorState{};
    IErrorModeSet(2);
    IErrorReport(6);
    IErrorReport(55);
    IErrorModeSet(0);
    IOsDebugWriteValue("count", -3);
    std::ifstream in("debug", std::ios::binary);
    ASSERT_TRUE(in.good());
    std::stringstream ss;
    ss << in.rdbuf();
    std::string log = ss.str();
    const std::string expect =
        "Error=   6:\r\nError=  55:Source and target file names same in copy command\r\ncount=-3\r\n";
    ASSERT_GE(log.size(), expect.size());
    EXPECT_EQ(log.substr(log.size() - expect.size()), expect);
}

TEST(AbnormalExitText, CodeFollowsDirectly)
{
    EXPECT_EQ(abnormal_exit_text("  Vuvuzuvoder version 4.0  ", 0),
              "Abnormal exit (code 0) : Vuvuzuvoder version 4.0");
    EXPECT_EQ(abnormal_exit_text("x", 1234), "Abnormal exit (code 1234) : x");
    EXPECT_EQ(abnormal_exit_text(std::string(400, 'a'), 1).size(), 254u);
}
