// The settings file "zirazo.ini" and the start-up choices of directories and file names.
#include "toolkit/win/settings.h"

#include "toolkit/common/error_state.h"
#include "toolkit/common/text_utilities.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

OsConfigPaths OS_CONFIG_PATHS;
HcDeviceConfig HC_DEVICE_CONFIG;

namespace {

// A keyword padded or cut to eight characters, as the file's keywords are compared.
std::string keyword8(std::string_view word)
{
    std::string k(word.substr(0, 8));
    IStrUpper(k);
    k.resize(8, ' ');
    return k;
}

bool is_keyword(const std::string& key, const char* name)
{
    return key == keyword8(name);
}

// A text value cut to its field's length, trailing blanks removed.
std::string text_value(std::string_view value, int length)
{
    std::string_view v = value.substr(0, static_cast<size_t>(length));
    size_t last = v.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(v.substr(0, last + 1));
}

// A unit number is taken only when it differs from the other two units.
void set_unit(int& unit, int value, int other1, int other2)
{
    if (value != other1 && value != other2)
        unit = value;
}

}  // namespace

void apply_settings_line(std::string_view text, bool& version_request)
{
    std::string line(text.substr(0, SETTINGS_LINE_LENGTH));
    size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0 || equals == SETTINGS_LINE_LENGTH - 1)
        return;
    for (char& c : line)
        if (c == '\t')
            c = ' ';

    // The keyword: the first word before "=", of at least three characters.
    int first = 0;
    int last = 0;
    std::string_view head = std::string_view(line).substr(0, equals);
    IStrBounds(head, first, last);
    if (first == 0 || last - first + 1 < 3)
        return;
    std::string key = keyword8(head.substr(first - 1, last - first + 1));
    if (key.compare(0, 3, "VER") == 0)
        version_request = true;

    // The value: from its first non-blank character to the end of the line.
    std::string_view rest = std::string_view(line).substr(equals + 1);
    size_t start = rest.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return;
    std::string_view value = rest.substr(start);

    // Every value goes through the integer conversion; its error is fetched and cleared, so that a
    // text value leaves no last error behind.
    int number = 0;
    IStrToInteger(value, number);
    bool numeric = IErrorInfo(1) == 0;

    OsConfigPaths& paths = OS_CONFIG_PATHS;
    HcDeviceConfig& device = HC_DEVICE_CONFIG;
    if (is_keyword(key, "PLNAME")) {
        paths.plot_output_file = text_value(value, CONFIG_PATH_LENGTH);
    } else if (is_keyword(key, "CHARSET")) {
        paths.charset_file = text_value(value, CONFIG_PATH_LENGTH);
    } else if (is_keyword(key, "CHARDIR")) {
        paths.charset_directory = text_value(value, CONFIG_PATH_LENGTH);
    } else if (is_keyword(key, "BROWSER")) {
        paths.browser = text_value(value, CONFIG_BROWSER_LENGTH);
    } else if (!numeric) {
        return;
    } else if (is_keyword(key, "PRINTER")) {
        device.printer_value = number;
    } else if (is_keyword(key, "PLOTTER")) {
        device.plotter_value = number;
    } else if (is_keyword(key, "HPGL2")) {
        device.hpgl2_value = number;
    } else if (is_keyword(key, "DEBUG")) {
        IErrorModeSet(number);
    } else if (is_keyword(key, "LFNGEN")) {
        set_unit(paths.general_unit, number, paths.plot_output_unit, paths.plot_input_unit);
    } else if (is_keyword(key, "LFNPLOTO")) {
        set_unit(paths.plot_output_unit, number, paths.general_unit, paths.plot_input_unit);
    } else if (is_keyword(key, "LFNPLOTI")) {
        set_unit(paths.plot_input_unit, number, paths.general_unit, paths.plot_output_unit);
    }
}

bool read_settings_file(const std::string& path, bool& version_request)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::string line;
    int c = 0;
    while ((c = std::fgetc(f)) != EOF) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            apply_settings_line(line, version_request);
            line.clear();
        } else {
            line.push_back(static_cast<char>(c));
        }
    }
    // A last line without a line end still counts.
    if (!line.empty()) {
        if (line.back() == '\r')
            line.pop_back();
        apply_settings_line(line, version_request);
    }
    std::fclose(f);
    return true;
}

std::string with_separator(std::string_view directory)
{
    std::string d(str_trim(directory));
    if (!d.empty() && d.back() != OS_CONFIG_PATHS.separator)
        d.push_back(OS_CONFIG_PATHS.separator);
    return d;
}

std::string toolkit_directory_from(std::string_view zirazo, std::string_view zidi,
                                   std::string_view current_directory)
{
    if (!str_trim(zirazo).empty())
        return with_separator(zirazo);
    std::string_view z = str_trim(zidi);
    if (!z.empty()) {
        // The directory that holds the ZIDI installation: the text before the last "ZIDI" in it.
        int p = IStrIndexNoCase(z, "ZIDI", 1);
        return std::string(p > 0 ? z.substr(0, p - 1) : z);
    }
    return std::string(current_directory.substr(0, 2)) + "\\vavu\\";
}

bool file_exists(const std::string& name)
{
    std::error_code ec;
    return !name.empty() && std::filesystem::is_regular_file(std::filesystem::path(name), ec);
}

std::string settings_file_from(std::string_view wintinit, std::string_view toolkit_directory)
{
    std::string named(str_trim(wintinit));
    if (file_exists(named))
        return named;
    if (file_exists("zirazo.ini"))
        return "zirazo.ini";
    std::string in_toolkit = std::string(str_trim(toolkit_directory)) + "zirazo.ini";
    if (!str_trim(toolkit_directory).empty() && file_exists(in_toolkit))
        return in_toolkit;
    return "";
}

std::string temp_plot_name_from(std::string_view temp, std::string_view tmp)
{
    std::string directory(str_trim(temp));
    if (directory.empty())
        directory = str_trim(tmp);
    if (directory.empty())
        directory = "C:\\";
    directory = with_separator(directory);
    // The first free number: a name that exists belongs to another file (or another instance of the
    // program) and must not be overwritten.
    std::string name;
    for (int n = 0; n <= 99; ++n) {
        name =
            directory + "ruv$$" + static_cast<char>('0' + n / 10) + static_cast<char>('0' + n % 10) + ".plt";
        if (!file_exists(name))
            break;
    }
    return name;
}
