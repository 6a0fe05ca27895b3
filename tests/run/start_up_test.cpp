// Start-up of the main program on the headless toolkit: the screen-width check, the options file and
// the run-type dialogs.
#include "app/run/main_program.h"
#include "app/state/clear_state.h"
#include "app/state/display.h"
#include "app/state/run.h"
#include "base/units.h"
#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string read_file(const char* name)
{
    std::ifstream f(name, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void write_file(const char* name, const std::string& text)
{
    std::ofstream f(name, std::ios::binary);
    f << text;
}

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() /
               ("qr4t_start_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(dir_);
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        HEADLESS.reset();
        clear_every_state_group();
    }
    void TearDown() override
    {
        unit_close_all();
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(dir_);
    }
    std::filesystem::path dir_, old_;
};

TEST_F(StartUpTest, ScreenWidthDecidesLayoutAndRefusesNarrowScreens)
{
    HEADLESS.screen_width = 999;
    EXPECT_EQ(MAIN_PROGRAM(), 0);
    EXPECT_EQ(read_file("DIAG.TXT"), " This program requires at least 1024*768 screen resolution\r\n");
    EXPECT_EQ(HEADLESS.count("WDialogLoad"), 0) << "no dialog on a refused screen";
    EXPECT_EQ(HEADLESS.count("WWinOpen"), 1) << "the main window is open before the check";
}

struct WidthCase {
    int width, nominal, offset;
};

TEST_F(StartUpTest, NarrowAndWideScreenValues)
{
    // A close request at the first dialog ends each start early; only the start-up values matter.
    for (WidthCase c : {WidthCase{1000, 1024, 150}, WidthCase{1099, 1024, 150}, WidthCase{1100, 1280, 100}}) {
        HEADLESS.reset();
        HEADLESS.screen_width = c.width;
        HEADLESS.answers = {{116, 1005, 1}};
        RUN_PHASES.READ_RESTART = [] { throw ProgramStopRequest{}; };
        EXPECT_EQ(MAIN_PROGRAM(), 0);
        EXPECT_EQ(DISPLAY.NOMINAL_SCREEN_WIDTH, c.nominal) << c.width;
        EXPECT_EQ(DISPLAY.DIALOG_OFFSET_X, c.offset) << c.width;
        EXPECT_EQ(DISPLAY.DIALOG_OFFSET_Y, c.offset) << c.width;
    }
}

TEST_F(StartUpTest, OptionsFileCases)
{
    struct Case {
        const char* content;  // nullptr: no file
        int options;
        const char* after;
    } cases[] = {
        {nullptr, 1, "           1\r\n"},
        {"2\n", 2, "2\n"},
        {"2\r\n", 2, "2\r\n"},  // a CR LF line end once made the value unreadable and the file 1
        {"   \n  3  more text\r\n", 3, "   \n  3  more text\r\n"},
        {"abc\n", 1, "           1\r\n"},
        {"", 1, "           1\r\n"},
        // The program's own layout (12 columns, CR LF) was read as unreadable because the value kept
        // the CR, and the user's choice was overwritten with 1.
        {"           2\r\n", 2, "           2\r\n"},
        {"           3\r", 3, "           3\r"},
        // Outside the three unit systems: 1 for this start, the file kept.
        {"           7\r\n", 1, "           7\r\n"},
        {"0\n", 1, "0\n"},
        {"-2147483648\n", 1, "-2147483648\n"},
        // A UTF-8 byte-order mark (\357\273\277; Windows editors write one) made the value unreadable,
        // and the file was rewritten as 1. A partial mark is still no number.
        {"\357\273\2772\r\n", 2, "\357\273\2772\r\n"},
        {"\357\273\277   3\n", 3, "\357\273\277   3\n"},
        {"\357\2732\n", 1, "           1\r\n"},
        {"\357\273\277", 1, "           1\r\n"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove("QR4T.CFG");
        if (c.content)
            write_file("QR4T.CFG", c.content);
        RUN.PROGRAM_OPTIONS = -7;
        read_program_options();
        EXPECT_EQ(RUN.PROGRAM_OPTIONS, c.options) << (c.content ? c.content : "(none)");
        EXPECT_EQ(read_file("QR4T.CFG"), c.after) << (c.content ? c.content : "(none)");
    }
}

TEST_F(StartUpTest, AboutPagesThenContinueNeverAsksForOptions)
{
    write_file("QR4T.CFG", "2\n");
    // About (6), page 3 ("The QR4T Program", dialog 154), then continue (1).
    HEADLESS.answers = {{116, 1005, 6}, {151, 1005, 3}, {116, 1005, 1}};
    bool read = false;
    static bool* read_flag = nullptr;
    read_flag = &read;
    RUN_PHASES.READ_RESTART = [] {
        *read_flag = true;
        throw ProgramStopRequest{};
    };
    EXPECT_EQ(MAIN_PROGRAM(), 0);
    EXPECT_TRUE(read);
    EXPECT_EQ(HEADLESS.count("WDialogLoad 116"), 2);
    EXPECT_EQ(HEADLESS.count("WDialogLoad 154"), 1);
    EXPECT_EQ(HEADLESS.count("WDialogLoad 162"), 0) << "continuing never asks about the options";
    EXPECT_EQ(DISPLAY.RUN_TYPE, 1);
}

// A demonstration with non-standard options asks dialog 162: answer 2 restores the standard options
// ("QR4T.CFG" then holds 1); answers 1 ("Use the Current ...") and 3 ("Review / Revise ...") change
// nothing, the file keeps its 2.
TEST_F(StartUpTest, DemonstrationWithNonStandardOptionsAsks)
{
    struct Case {
        int button;         // position of the radio button checked in dialog 162
        const char* after;  // "QR4T.CFG" afterwards
    };
    for (const Case c : {Case{1, "2\n"}, Case{2, "           1\r\n"}, Case{3, "2\n"}}) {
        write_file("QR4T.CFG", "2\n");
        HEADLESS.reset();
        HEADLESS.answers = {{116, 1005, 3}, {162, 1005, c.button}};
        // The copy of a demonstration file that is not there leaves the reader a missing data file: stop
        // the run right there, at the first geometry step, since only the dialogs matter here.
        RUN_PHASES.SET_DIVISIONS_AND_ELEMENTS = [] { throw ProgramStopRequest{}; };
        write_file("QR4TD.DM1", "");
        write_file("QR4SD.DM1", "");
        EXPECT_EXIT(MAIN_PROGRAM(), ::testing::ExitedWithCode(1), "QR4TD.DAT") << c.button;
        EXPECT_EQ(read_file("QR4T.CFG"), c.after) << c.button;
    }
}

// Fault mended: when "QR4T.CFG" cannot be written after "Restore Options to the Standard Values", the
// choice started again by way of the "Type of Information" dialog (151); it starts again from a fresh
// "Run Type" dialog (116). The options are the standard ones from then on: no second question.
TEST_F(StartUpTest, UnwritableOptionsFileStartsTheChoiceAgain)
{
    write_file("QR4T.CFG", "2\n");
    // While the options question is up, the options file becomes a folder, which cannot be written.
    HEADLESS.show_hook = [](int dialog) {
        if (dialog == 162) {
            std::filesystem::remove("QR4T.CFG");
            std::filesystem::create_directory("QR4T.CFG");
        }
    };
    HEADLESS.answers = {{116, 1005, 3}, {116, 0, 0}, {162, 1005, 2}, {162, 0, 0}, {116, 1005, 1}};
    RUN_PHASES.READ_RESTART = [] { throw ProgramStopRequest{}; };  // only the dialogs matter here
    EXPECT_EQ(MAIN_PROGRAM(), 0);
    std::vector<std::string> loads;
    for (const std::string& c : HEADLESS.calls)
        if (c.rfind("WDialogLoad ", 0) == 0)
            loads.push_back(c);
    EXPECT_EQ(loads, (std::vector<std::string>{"WDialogLoad 116", "WDialogLoad 162", "WDialogLoad 116"}));
    EXPECT_EQ(RUN.PROGRAM_OPTIONS, 1);
    EXPECT_EQ(DISPLAY.RUN_TYPE, 1);
    EXPECT_TRUE(std::filesystem::is_directory("QR4T.CFG")) << "nothing was written";
}

// "Adapt Cells and Continue" (run type 2): the cells are re-made, then a new sample starts and, with
// continuous indexing, the cell lists are rebuilt for the new cells, in that order, through the phase
// table (the geometry itself calls no kernel routine).
TEST_F(StartUpTest, AdaptedRunResetsTheSampleAndTheContinuousIndexAfterTheNewCells)
{
    static std::vector<std::string> calls;
    calls.clear();
    HEADLESS.answers = {{116, 1005, 2}};
    RUN_PHASES.READ_RESTART = [] { RUN.INDEX_MODE = INDEX_CONTINUOUS; };
    RUN_PHASES.ADAPT_CELLS = [] { calls.push_back("adapt"); };
    RUN_PHASES.RESET_SAMPLE = [] { calls.push_back("sample"); };
    RUN_PHASES.RESET_CONTINUOUS_INDEXING = [] {
        calls.push_back("index");
        throw ProgramStopRequest{};  // only the order matters here
    };
    EXPECT_EQ(MAIN_PROGRAM(), 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"adapt", "sample", "index"}));
}

}  // namespace
