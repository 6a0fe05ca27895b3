// The toolkit's configuration: file names and unit numbers (OsConfigPaths), the hardcopy device
// settings (HcDeviceConfig), and the reader of the settings file "zirazo.ini".
//
// The settings file holds lines "keyword = value" (keywords compared on their first eight characters,
// in upper case): PRINTER, PLOTTER, PLNAME, LFNPLOTO, LFNPLOTI, LFNGEN, HPGL2, DEBUG, CHARSET, CHARDIR,
// BROWSER; a keyword beginning with "VER" asks for the version box at start-up.
#ifndef QR4T_TOOLKIT_WIN_SETTINGS_H
#define QR4T_TOOLKIT_WIN_SETTINGS_H

#include <string>
#include <string_view>

constexpr int CONFIG_PATH_LENGTH = 260;     // characters of each file-name field
constexpr int CONFIG_BROWSER_LENGTH = 200;  // characters of the browser program's name
constexpr int SETTINGS_LINE_LENGTH = 270;   // longer lines of the settings file are cut

struct OsConfigPaths {
    char separator = '\\';          // path separator
    int general_unit = 40;          // unit for general use and for reading the settings
    int plot_output_unit = 41;      // unit of the plot output file
    int plot_input_unit = 42;       // unit of plot files read back
    std::string toolkit_directory;  // from ZIRAZO (or ZIDI), ends in a separator
    std::string charset_directory;  // toolkit directory + "charsets\" unless CHARDIR
    std::string settings_file;      // settings file found at start-up (blank: none)
    std::string general_output_file = "zirazo.dmp";
    std::string plot_output_file = "zirazo.plt";  // PLNAME
    std::string charset_file = "standard.chr";    // CHARSET
    std::string temp_plot_file;                   // "<temp>\ruv$$nn.plt"
    std::string system_directory;                 // Windows system directory
    std::string browser = "netscape";             // program that shows help pages (BROWSER)
};

extern OsConfigPaths OS_CONFIG_PATHS;

struct HcDeviceConfig {
    int printer_model = 0;     // raster printer model code 2..38 (28 by default)
    int plotter_variant = 0;   // HP-GL plotter variant 1..10
    int hpgl2_variant = 0;     // HP-GL/2 variant 1..5
    int hpgl2_value = 0;       // HPGL2 keyword value
    int plotter_value = 0;     // PLOTTER keyword value
    int printer_value = 0;     // PRINTER keyword value
    int model_explicit = 0;    // 1 when PRINTER named a model
    int plotter_explicit = 0;  // 1 when PLOTTER named a plotter variant
    int hpgl2_explicit = 0;    // 1 when an HP-GL/2 variant was named (HPGL2 or PLOTTER 11..15)
};

extern HcDeviceConfig HC_DEVICE_CONFIG;

// Applies one line of the settings file to OS_CONFIG_PATHS, HC_DEVICE_CONFIG and the error mode.
// Sets version_request when the keyword begins with "VER".
void apply_settings_line(std::string_view line, bool& version_request);

// Reads a settings file line by line (CR LF or LF). Returns false when it cannot be opened, in which
// case nothing changes.
bool read_settings_file(const std::string& path, bool& version_request);

// The toolkit directory from the values of ZIRAZO and ZIDI and the current directory.
std::string toolkit_directory_from(std::string_view zirazo, std::string_view zidi,
                                   std::string_view current_directory);

// The settings file: WINTINIT when that file exists, else "zirazo.ini" in the current directory,
// else in the toolkit directory; blank when none exists.
std::string settings_file_from(std::string_view wintinit, std::string_view toolkit_directory);

// The temporary plot file in the directory from TEMP (else TMP, else "C:\"): "ruv$$nn.plt" with the
// first number nn = 00..99 whose file does not exist yet (99 when all exist).
std::string temp_plot_name_from(std::string_view temp, std::string_view tmp);

// Appends the separator to a non-blank directory that does not end in one.
std::string with_separator(std::string_view directory);

// True when the name is that of an existing file.
bool file_exists(const std::string& name);

#endif
