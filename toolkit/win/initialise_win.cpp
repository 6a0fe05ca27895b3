// WInitialise: the toolkit's start-up. Puts the toolkit-wide records into their start state, finds the
// toolkit directory, the settings file and the temporary plot file, applies the environment and the
// settings file, and selects the hardcopy devices.
#include "toolkit/common/error_state.h"
#include "toolkit/common/text_utilities.h"
#include "toolkit/win/device_select.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/initialise_win.h"
#include "toolkit/win/lower_layer_hooks_win.h"
#include "toolkit/win/os_utilities.h"
#include "toolkit/win/settings.h"
#include "toolkit/win/window_table_win.h"
#include "toolkit/win/window_utilities.h"

#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/gr_state.h"

#include <string>
#include <vector>

namespace {

constexpr int STARTED = -9999;  // the start-up marker once WInitialise has run
int STARTUP_MARKER = 0;

// The command line, read once.
struct CommandLineArgs {
    bool read = false;
    std::string program;            // the program's own path
    std::vector<std::string> args;  // the arguments after the program name
};

CommandLineArgs COMMAND_LINE;

void read_command_line()
{
    COMMAND_LINE = CommandLineArgs{};
    COMMAND_LINE.read = true;
    std::string line;
    IOsCommandLine(line);
    if (line.size() > 1024)
        line.resize(1024);
    IOsModuleName(COMMAND_LINE.program, 256);
    // Blank-separated words; a quoted word runs to its closing quote. The first is the program name.
    size_t i = 0;
    bool first = true;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size())
            break;
        std::string word;
        if (line[i] == '"') {
            size_t close = line.find('"', i + 1);
            size_t end = close == std::string::npos ? line.size() : close;
            word = line.substr(i + 1, end - i - 1);
            i = close == std::string::npos ? line.size() : close + 1;
        } else {
            size_t end = line.find_first_of(" \t", i);
            if (end == std::string::npos)
                end = line.size();
            word = line.substr(i, end - i);
            i = end;
        }
        if (!first)
            COMMAND_LINE.args.push_back(word);
        first = false;
    }
}

}  // namespace

void IOsEnvGet(std::string_view name, std::string& value, int length)
{
    int n = 0;
    IOsEnvRaw(n, str_trim(name), value, length + 1);
    if (n > length) {
        value.clear();
        IErrorReport(ERR_TEXT_TOO_SMALL);
    }
}

void IOsDirCurrent(std::string& text, int length)
{
    int error = 0;
    int truncated = 0;
    IOsDirGet(text, length + 1, error, truncated);
    if (error != 0) {
        text.clear();
        ERROR_STATE.last_os_error = error;
        IErrorReport(ERR_OS_COMMAND);
    } else if (truncated != 0) {
        text.clear();
        IErrorReport(ERR_TEXT_TOO_SMALL);
    }
}

int IOsCommandArg(int n, std::string& argument)
{
    if (!COMMAND_LINE.read)
        read_command_line();
    argument.clear();
    if (n == 0)
        argument = COMMAND_LINE.program;
    else if (n >= 1 && n <= static_cast<int>(COMMAND_LINE.args.size()))
        argument = COMMAND_LINE.args[static_cast<size_t>(n - 1)];
    return static_cast<int>(COMMAND_LINE.args.size());
}

std::string IVersionText(int option)
{
    return option == 2 ? "4.0" : "";
}

bool toolkit_start_state(std::string_view settings_name)
{
    // The display facts, then the start values of the toolkit-wide records.
    read_screen_info();
    ERROR_STATE = ErrorState{};
    OS_CONFIG_PATHS = OsConfigPaths{};
    HC_DEVICE_CONFIG = HcDeviceConfig{};
    HC_RASTER_PRINTER = HcRasterPrinter{};
    GrOutputSwitch = GrOutputSwitchRecord{};
    GrSurface.aspect = 1.32f;  // used until a drawing surface exists
    IOsBeepEnable(1);
    OsConfigPaths& paths = OS_CONFIG_PATHS;

    // The toolkit directory and the character-set directory in it.
    std::string zirazo, zidi, current;
    IOsEnvGet("ZIRAZO", zirazo);
    IOsEnvGet("ZIDI", zidi);
    IOsDirCurrent(current);
    paths.toolkit_directory = toolkit_directory_from(zirazo, zidi, current);
    if (!str_trim(paths.toolkit_directory).empty())
        paths.charset_directory = std::string(str_trim(paths.toolkit_directory)) + "charsets";

    // The settings file, and the temporary plot file.
    std::string wintinit, temp, tmp;
    IOsEnvGet("WINTINIT", wintinit);
    paths.settings_file = settings_file_from(wintinit, paths.toolkit_directory);
    IOsEnvGet("TEMP", temp);
    IOsEnvGet("TMP", tmp);
    paths.temp_plot_file = temp_plot_name_from(temp, tmp);

    int error = 0;
    IOsSystemDir(paths.system_directory, CONFIG_PATH_LENGTH + 1, error);
    if (error != 0)
        paths.system_directory.clear();

    // WINTDEBUG: its first character 0..4 sets the error mode.
    std::string debug;
    IOsEnvGet("WINTDEBUG", debug);
    if (!debug.empty() && debug[0] != ' ')
        IErrorModeSet(debug[0] - '0');
    ERROR_STATE.last_error = 0;
    paths.browser = "netscape";

    // The settings file: the one named by the argument when it exists, else the one found above.
    std::string ignored;
    IOsCommandArg(-1, ignored);
    std::string named(str_trim(settings_name));
    std::string settings = file_exists(named) ? named : paths.settings_file;
    bool version_request = false;
    if (!settings.empty())
        read_settings_file(settings, version_request);

    // The hardcopy devices from the settings.
    paths.charset_directory = with_separator(paths.charset_directory);
    HcDeviceConfig& device = HC_DEVICE_CONFIG;
    device.hpgl2_variant = 0;
    HcPrinterSelect(device.printer_value);
    HcPlotterSelect(device.plotter_value);
    if (device.hpgl2_value != 0 || device.hpgl2_variant == 0)
        HcHpgl2Select(device.hpgl2_value);

    // The screen driver draws ops 2..36 itself; the screen's capability string (both as the records'
    // start values).
    GrScreenOpFlags = GrScreenOpFlagsRecord{};
    GrDeviceCaps.entry[0] = GrDeviceCapsRecord{}.entry[0];
    return version_request;
}

void WInitialise(std::string_view settings_file)
{
    if (STARTUP_MARKER == STARTED)
        return;
    STARTUP_MARKER = STARTED;
    win_set_lower_layer_hooks();
    if (toolkit_start_state(settings_file))
        IErrorAbnormalExit("Vuvuzuvoder version " + IVersionText(2), 0);
}
