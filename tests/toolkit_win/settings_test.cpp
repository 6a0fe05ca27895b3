// The settings file's lines, and the start-up choices of the toolkit directory, the settings file and
// the temporary plot file.
#include "toolkit/common/error_state.h"
#include "toolkit/win/settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct Settings : testing::Test {
    void SetUp() override
    {
        OS_CONFIG_PATHS = OsConfigPaths{};
        HC_DEVICE_CONFIG = HcDeviceConfig{};
        ERROR_STATE = ErrorState{};
    }
    void TearDown() override { ERROR_STATE = ErrorState{}; }

    // Applies lines in order; returns whether one asked for the version box.
    bool apply(std::initializer_list<const char*> lines)
    {
        bool version = false;
        for (const char* line : lines)
            apply_settings_line(line, version);
        return version;
    }
};

void write_file(const std::string& name, const std::string& text)
{
    std::ofstream(name, std::ios::binary) << text;
}

}  // namespace

TEST_F(Settings, IntegerKeywordsLowerCaseBlanksAndComment)
{
    EXPECT_FALSE(apply({"  printer = 29 laser in room 4", "\tPLOTTER\t=\t12", "hpgl2=3"}));
    EXPECT_EQ(HC_DEVICE_CONFIG.printer_value, 29);
    EXPECT_EQ(HC_DEVICE_CONFIG.plotter_value, 12);
    EXPECT_EQ(HC_DEVICE_CONFIG.hpgl2_value, 3);
    EXPECT_EQ(ERROR_STATE.last_error, 0);
}

TEST_F(Settings, TextValuesKeepLaterWordsAndEmptyValuesChangeNothing)
{
    apply({"PLNAME = my plot.plt   ", "CHARSET=", "charset =   ", "BROWSER= C:\\web\\view.exe -n"});
    EXPECT_EQ(OS_CONFIG_PATHS.plot_output_file, "my plot.plt");
    EXPECT_EQ(OS_CONFIG_PATHS.charset_file, "standard.chr");
    EXPECT_EQ(OS_CONFIG_PATHS.browser, "C:\\web\\view.exe -n");
    // A text value leaves no last error behind although its conversion to an integer failed.
    EXPECT_EQ(ERROR_STATE.last_error, 0);
}

TEST_F(Settings, TextValuesAreCutToTheirFields)
{
    std::string long_name(300, 'n');
    apply({("PLNAME=" + long_name).c_str(), ("BROWSER=" + long_name).c_str()});
    // The line itself is cut at 270 characters, the value then to its field.
    EXPECT_EQ(OS_CONFIG_PATHS.plot_output_file, std::string(260, 'n'));
    EXPECT_EQ(OS_CONFIG_PATHS.browser, std::string(200, 'n'));
}

TEST_F(Settings, KeywordsComparedOnEightCharacters)
{
    apply({"LFNPLOTOXYZ = 50", "PRINTERS = 30", "BROWSERX = lynx", "LF = 3", "= 5", "noequals 7"});
    EXPECT_EQ(OS_CONFIG_PATHS.plot_output_unit, 50);
    EXPECT_EQ(HC_DEVICE_CONFIG.printer_value, 0);
    EXPECT_EQ(OS_CONFIG_PATHS.browser, "netscape");
}

TEST_F(Settings, UnitKeywordsMustStayDistinct)
{
    apply({"LFNGEN = 41", "LFNPLOTI = 40", "LFNPLOTO=60", "LFNGEN = 41", "LFNGEN=x"});
    EXPECT_EQ(OS_CONFIG_PATHS.general_unit, 41);  // 41 was free once LFNPLOTO became 60
    EXPECT_EQ(OS_CONFIG_PATHS.plot_input_unit, 42);
    EXPECT_EQ(OS_CONFIG_PATHS.plot_output_unit, 60);
}

TEST_F(Settings, DebugSetsTheModeAndBadValuesLeaveIt)
{
    ERROR_STATE.error_mode = 2;  // as WINTDEBUG may have set it
    apply({"DEBUG = never", "DEBUG = 7"});
    EXPECT_EQ(ERROR_STATE.error_mode, 2);
    EXPECT_EQ(ERROR_STATE.last_error, 0);
    apply({"debug=0"});
    EXPECT_EQ(ERROR_STATE.error_mode, 0);
}

TEST_F(Settings, AnyKeywordBeginningWithVerAsksForTheVersion)
{
    EXPECT_TRUE(apply({"VERSION ="}));
    EXPECT_TRUE(apply({"verbose = no"}));
    EXPECT_FALSE(apply({"VE = 1", "AVER = 1"}));
}

TEST_F(Settings, LaterLinesOverrideAndBadNumbersAreSkipped)
{
    apply({"PRINTER = 12", "PRINTER = 2147483648", "PRINTER = 3x", "PRINTER = 14"});
    EXPECT_EQ(HC_DEVICE_CONFIG.printer_value, 14);
    apply({"PRINTER = 99999999999"});
    EXPECT_EQ(HC_DEVICE_CONFIG.printer_value, 14);
}

TEST_F(Settings, FileReadWithCrLfAndLastLineWithoutEnd)
{
    write_file("settings_test.ini", "PRINTER=5\r\nPLNAME = out.plt\r\n\r\nHPGL2=4");
    bool version = false;
    EXPECT_TRUE(read_settings_file("settings_test.ini", version));
    EXPECT_FALSE(version);
    EXPECT_EQ(HC_DEVICE_CONFIG.printer_value, 5);
    EXPECT_EQ(OS_CONFIG_PATHS.plot_output_file, "out.plt");
    EXPECT_EQ(HC_DEVICE_CONFIG.hpgl2_value, 4);
    EXPECT_FALSE(read_settings_file("no_such_settings.ini", version));
    std::remove("settings_test.ini");
}

TEST_F(Settings, ToolkitDirectoryFromTheEnvironment)
{
    struct Case {
        const char* zirazo;
        const char* zidi;
        const char* expect;
    } cases[] = {
        {"C:\\tools\\zirazo", "", "C:\\tools\\zirazo\\"},  // separator appended
        {"C:\\tools\\zirazo\\", "D:\\x", "C:\\tools\\zirazo\\"},
        {"  ", "D:\\apps\\zidi\\bin\\ZIDI.EXE", "D:\\apps\\zidi\\bin\\"},  // before the last ZIDI
        {"", "D:\\apps\\other", "D:\\apps\\other"},                        // no ZIDI in it: the whole value
        {"", "", "E:\\vavu\\"},                                            // drive of the current directory
    };
    for (const auto& c : cases)
        EXPECT_EQ(toolkit_directory_from(c.zirazo, c.zidi, "E:\\work\\run"), c.expect) << c.zirazo << c.zidi;
}

TEST_F(Settings, SettingsFileChoice)
{
    std::filesystem::create_directories("settings_dir");
    write_file("settings_dir/zirazo.ini", "");
    write_file("named.ini", "");
    EXPECT_EQ(settings_file_from("named.ini", "settings_dir/"), "named.ini");
    EXPECT_EQ(settings_file_from("missing.ini", "settings_dir/"), "settings_dir/zirazo.ini");
    EXPECT_EQ(settings_file_from("", "no_dir/"), "");
    write_file("zirazo.ini", "");
    EXPECT_EQ(settings_file_from("missing.ini", "settings_dir/"), "zirazo.ini");
    std::remove("zirazo.ini");
    std::remove("named.ini");
    std::filesystem::remove_all("settings_dir");
}

TEST_F(Settings, TemporaryPlotNameIsTheFirstFreeNumber)
{
    EXPECT_EQ(temp_plot_name_from("", ""), "C:\\ruv$$00.plt");
    EXPECT_EQ(temp_plot_name_from("", "D:\\tmp"), "D:\\tmp\\ruv$$00.plt");
    // Fault of the original loop: it stopped at the first existing name and so wrote over another
    // program's plot file. Existing names are passed over.
    // (On the host the backslash is part of the file name; on Windows it separates the folder.)
    std::filesystem::create_directories("tempdir");
    std::string dir = "tempdir\\";
    write_file(dir + "ruv$$00.plt", "x");
    write_file(dir + "ruv$$01.plt", "x");
    EXPECT_EQ(temp_plot_name_from("tempdir", "D:\\tmp"), dir + "ruv$$02.plt");
    std::remove((dir + "ruv$$00.plt").c_str());
    std::remove((dir + "ruv$$01.plt").c_str());
    std::filesystem::remove_all("tempdir");
}
