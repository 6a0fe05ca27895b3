// Toolkit start-up under Wine: the environment variables, the settings file found through WINTINIT or
// the default names, the device selection, the once-only guard and the version box.
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/win/device_select.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/initialise_win.h"
#include "toolkit/win/os_utilities.h"
#include "toolkit/win/settings.h"

#include "box_driver_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace {

const char* const VARIABLES[] = {"ZIRAZO", "ZIDI", "WINTINIT", "WINTDEBUG", "TEMP", "TMP"};

void write_file(const std::string& name, const std::string& text)
{
    HANDLE h = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
    CloseHandle(h);
}

std::string current_directory()
{
    char d[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, d);
    return d;
}

// Saves the toolkit's environment variables, clears them, and restores them afterwards.
struct StartUp : testing::Test {
    std::vector<std::pair<std::string, std::string>> saved;
    std::vector<std::string> files;

    void SetUp() override
    {
        for (const char* v : VARIABLES) {
            char value[1024] = {};
            DWORD n = GetEnvironmentVariableA(v, value, sizeof value);
            saved.emplace_back(v, n > 0 ? value : "");
            SetEnvironmentVariableA(v, nullptr);
        }
    }
    void TearDown() override
    {
        for (const auto& [name, value] : saved)
            SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
        for (const auto& f : files)
            DeleteFileA(f.c_str());
        ERROR_STATE = ErrorState{};
    }
    void set(const char* name, const std::string& value) { SetEnvironmentVariableA(name, value.c_str()); }
    void file(const std::string& name, const std::string& text)
    {
        write_file(name, text);
        files.push_back(name);
    }
};

}  // namespace

TEST_F(StartUp, WithoutEnvironmentTheToolkitDirectoryIsVavuOnTheCurrentDrive)
{
    set("TEMP", current_directory());
    EXPECT_FALSE(toolkit_start_state(" "));
    const OsConfigPaths& p = OS_CONFIG_PATHS;
    std::string vavu = current_directory().substr(0, 2) + "\\vavu\\";
    EXPECT_EQ(p.toolkit_directory, vavu);
    EXPECT_EQ(p.charset_directory, vavu + "charsets\\");
    EXPECT_EQ(p.settings_file, "");
    EXPECT_EQ(p.plot_output_file, "zirazo.plt");
    EXPECT_EQ(p.general_output_file, "zirazo.dmp");
    EXPECT_EQ(p.charset_file, "standard.chr");
    EXPECT_EQ(p.browser, "netscape");
    EXPECT_EQ(p.temp_plot_file, current_directory() + "\\ruv$$00.plt");
    EXPECT_FALSE(p.system_directory.empty());
    EXPECT_EQ(p.general_unit, 40);
    EXPECT_EQ(HC_DEVICE_CONFIG.printer_model, 28);
    EXPECT_EQ(HC_DEVICE_CONFIG.plotter_variant, 1);
    EXPECT_EQ(HC_DEVICE_CONFIG.hpgl2_variant, 1);
    EXPECT_EQ(ERROR_STATE.error_mode, 0);
    // The screen driver's op flags and capability string.
    std::string ops(GrScreenOpFlags.op.begin(), GrScreenOpFlags.op.end());
    EXPECT_EQ(ops, " " + std::string(35, 'W') + "    ");
    std::string caps(GrDeviceCaps.entry[0].begin(), GrDeviceCaps.entry[0].end());
    EXPECT_EQ(caps, "11111111111111111110111011111");
    // Without a printer the Windows printer is marked unavailable; with one its page is known.
    if (HcDeviceBlock.printer_available == 1) {
        EXPECT_GT(HcScreenPrint.page_width, 0);
    }
}

TEST_F(StartUp, ToolkitDirectoryFromZirazoOrZidi)
{
    set("ZIRAZO", "C:\\tools\\zr");
    set("ZIDI", "D:\\elsewhere\\zidi");
    toolkit_start_state(" ");
    EXPECT_EQ(OS_CONFIG_PATHS.toolkit_directory, "C:\\tools\\zr\\");
    EXPECT_EQ(OS_CONFIG_PATHS.charset_directory, "C:\\tools\\zr\\charsets\\");
    SetEnvironmentVariableA("ZIRAZO", nullptr);
    toolkit_start_state(" ");
    EXPECT_EQ(OS_CONFIG_PATHS.toolkit_directory, "D:\\elsewhere\\");
    // A value too long for its field is refused with error 1023 (silently in mode 0), and the error is
    // cleared again before the settings are read.
    set("ZIRAZO", std::string(300, 'z'));
    toolkit_start_state(" ");
    EXPECT_EQ(OS_CONFIG_PATHS.toolkit_directory, "D:\\elsewhere\\");
    EXPECT_EQ(ERROR_STATE.last_error, 0);
}

TEST_F(StartUp, SettingsFileThroughWintinitThenTheDefaultNames)
{
    std::string named = current_directory() + "\\start_named.ini";
    file(named, "printer = 29 laser upstairs\r\nPLNAME = plots\\run one.plt\r\nCHARDIR = C:\\fonts\r\n");
    set("WINTINIT", named);
    toolkit_start_state(" ");
    EXPECT_EQ(OS_CONFIG_PATHS.settings_file, named);
    EXPECT_EQ(HC_DEVICE_CONFIG.printer_model, 29);
    EXPECT_EQ(HC_DEVICE_CONFIG.model_explicit, 1);
    EXPECT_EQ(HC_DEVICE_CONFIG.hpgl2_variant, 3);  // HP-GL/2 variant of model 29
    EXPECT_EQ(OS_CONFIG_PATHS.plot_output_file, "plots\\run one.plt");
    EXPECT_EQ(OS_CONFIG_PATHS.charset_directory, "C:\\fonts\\");

    // WINTINIT naming a missing file: "zirazo.ini" of the current directory.
    set("WINTINIT", current_directory() + "\\no_such.ini");
    file("zirazo.ini", "PRINTER=27\nPLOTTER=12\n");
    toolkit_start_state(" ");
    EXPECT_EQ(OS_CONFIG_PATHS.settings_file, "zirazo.ini");
    EXPECT_EQ(HC_DEVICE_CONFIG.printer_model, 28);
    EXPECT_EQ(HC_DEVICE_CONFIG.model_explicit, 0);
    EXPECT_EQ(HC_DEVICE_CONFIG.plotter_variant, 1);
    EXPECT_EQ(HC_DEVICE_CONFIG.hpgl2_variant, 2);  // PLOTTER 12: HP-GL/2 variant 2
    EXPECT_EQ(HC_DEVICE_CONFIG.hpgl2_explicit, 1);

    // The argument names a file: it is read instead of the one found.
    file("start_arg.ini", "PRINTER=5\nHPGL2=4\n");
    toolkit_start_state("start_arg.ini   ");
    EXPECT_EQ(HC_DEVICE_CONFIG.printer_model, 5);
    EXPECT_EQ(HC_DEVICE_CONFIG.hpgl2_variant, 4);
    EXPECT_EQ(OS_CONFIG_PATHS.settings_file, "zirazo.ini");  // the name found stays recorded

    // The toolkit directory's "zirazo.ini" when none is in the current directory.
    DeleteFileA("zirazo.ini");
    CreateDirectoryA("start_kit", nullptr);
    file("start_kit\\zirazo.ini", "PRINTER=6\n");
    set("ZIRAZO", current_directory() + "\\start_kit");
    toolkit_start_state(" ");
    EXPECT_EQ(OS_CONFIG_PATHS.settings_file, current_directory() + "\\start_kit\\zirazo.ini");
    EXPECT_EQ(HC_DEVICE_CONFIG.printer_model, 6);
    DeleteFileA("start_kit\\zirazo.ini");
    RemoveDirectoryA("start_kit");
}

TEST_F(StartUp, WintdebugSetsTheErrorModeBeforeTheSettings)
{
    struct Case {
        const char* wintdebug;
        const char* settings;
        int mode;
    } cases[] = {
        {"4", "", 4},
        {"2 on", "", 2},
        {"9", "", 0},
        {"x", "", 0},
        {"4", "DEBUG = 1\n", 1},
        {"3", "DEBUG = never\n", 3},  // a bad DEBUG value leaves WINTDEBUG's mode
    };
    file("start_debug.ini", "");
    for (const auto& c : cases) {
        set("WINTDEBUG", c.wintdebug);
        write_file("start_debug.ini", c.settings);
        toolkit_start_state("start_debug.ini");
        EXPECT_EQ(ERROR_STATE.error_mode, c.mode) << c.wintdebug << " / " << c.settings;
        EXPECT_EQ(ERROR_STATE.last_error, 0);
    }
    ERROR_STATE.error_mode = 0;
}

TEST_F(StartUp, TemporaryPlotFileFromTempElseTmp)
{
    set("TMP", current_directory());
    toolkit_start_state(" ");
    EXPECT_EQ(OS_CONFIG_PATHS.temp_plot_file, current_directory() + "\\ruv$$00.plt");
    CreateDirectoryA("start_temp", nullptr);
    file("start_temp\\ruv$$00.plt", "in use");
    set("TEMP", current_directory() + "\\start_temp\\");
    toolkit_start_state(" ");
    EXPECT_EQ(OS_CONFIG_PATHS.temp_plot_file, current_directory() + "\\start_temp\\ruv$$01.plt");
    DeleteFileA("start_temp\\ruv$$00.plt");
    RemoveDirectoryA("start_temp");
}

TEST_F(StartUp, SecondCallOfWInitialiseChangesNothing)
{
    file("start_once.ini", "PRINTER=12\n");
    set("WINTINIT", current_directory() + "\\start_once.ini");
    WInitialise(" ");
    int model = HC_DEVICE_CONFIG.printer_model;
    write_file("start_once.ini", "PRINTER=13\n");
    WInitialise(" ");
    EXPECT_EQ(HC_DEVICE_CONFIG.printer_model, model);
    std::string argument;
    EXPECT_GE(IOsCommandArg(1, argument), 1);  // the test program runs with gtest options
    EXPECT_EQ(argument.substr(0, 2), "--");
    IOsCommandArg(0, argument);
    EXPECT_NE(argument.find("toolkit_win_tests"), std::string::npos);
}

// Child: starts the toolkit with a settings file that asks for the version; must end with code 0
// before the exit with 7 below.
TEST(StartUpChild, DISABLED_Version)
{
    WInitialise(" ");
    IOsExit(7);
}

TEST_F(StartUp, VersionKeywordShowsTheVersionBoxAndEndsWithCodeZero)
{
    file("start_version.ini", "PRINTER = 5\r\nVERSION =\r\n");
    set("WINTINIT", current_directory() + "\\start_version.ini");
    ChildRun run = run_child_answering("StartUpChild.DISABLED_Version", "Vuvuzuvoder", IDOK);
    ASSERT_TRUE(run.box.found);
    EXPECT_EQ(run.box.text, "Abnormal exit (code 0) : Vuvuzuvoder version 4.0");
    EXPECT_EQ(run.exit_code, 0);
}
