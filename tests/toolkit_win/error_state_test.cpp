// Error numbers, their texts, the report text and the silent, standard-output and debug-log modes.
#include "toolkit/common/error_state.h"
#include "toolkit/win/os_utilities.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
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

// The named error numbers, read from their header: every line names one number, with the message that
// the table gives it, and no number has two names. A name given the wrong number shows as a message
// that differs.
TEST(ErrorNumbers, EveryNameHoldsItsNumberAndMessage)
{
#ifdef _WIN32
    GTEST_SKIP() << "the host build reads the source tree";
#endif
    const char* root = std::getenv("QR4T_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    std::ifstream in(std::string(root) + "/toolkit/common/error_numbers.h");
    ASSERT_TRUE(in) << "toolkit/common/error_numbers.h";
    const std::regex line_form(R"re(^constexpr int (\w+) = (\d+); *// "(.*)"$)re");
    std::set<int> numbers;
    std::set<std::string> names;
    std::string line;
    int count = 0;
    while (std::getline(in, line)) {
        if (line.rfind("constexpr", 0) != 0)
            continue;
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, line_form)) << line;
        int number = std::stoi(m[2]);
        EXPECT_TRUE(numbers.insert(number).second) << "number named twice: " << line;
        EXPECT_TRUE(names.insert(m[1]).second) << "name given twice: " << line;
        std::string text = IErrorText(number, 100);
        text.erase(text.find_last_not_of(' ') + 1);
        EXPECT_EQ(text, m[3].str()) << m[1];
        ++count;
    }
    EXPECT_GT(count, 0);
    // A few names held directly: these are the ones the tests of other areas compare with.
    EXPECT_EQ(ERR_NO_DIALOG, 1005);
    EXPECT_EQ(ERR_EMPTY, 1010);
    EXPECT_EQ(GR_ERR_TARGET, 1019);
}

// No source file of the program keeps an error number of its own: a private "constexpr int ERR_..."
// is the second name of a number that the list already names, or a number outside the list.
TEST(ErrorNumbers, NoOtherFileDefinesAnErrorNumber)
{
#ifdef _WIN32
    GTEST_SKIP() << "the host build reads the source tree";
#endif
    const char* root = std::getenv("QR4T_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    const std::regex private_number(R"(constexpr int (\w+_)?ERR_\w+ = \d+)");
    int files = 0;
    for (const char* folder : {"toolkit", "app", "base", "tools"}) {
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(std::string(root) + "/" + folder)) {
            const auto path = entry.path();
            if (!entry.is_regular_file() || (path.extension() != ".cpp" && path.extension() != ".h"))
                continue;
            if (path.filename() == "error_numbers.h")
                continue;
            ++files;
            std::ifstream in(path);
            std::string line;
            while (std::getline(in, line))
                EXPECT_FALSE(std::regex_search(line, private_number)) << path.string() << ": " << line;
        }
    }
    EXPECT_GT(files, 100);
}
