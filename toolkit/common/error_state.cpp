// The toolkit's error state, its number-to-text table and the report by error mode.
#include "toolkit/common/error_state.h"

#include "base/edit_format.h"
#include "base/list_io.h"
#include "toolkit/common/debug_log.h"
#include "toolkit/common/text_utilities.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>

ErrorState ERROR_STATE;
ErrorScreenHooks ERROR_SCREEN_HOOKS;

namespace {

struct ErrorMessage {
    int number;
    const char* text;
};

// Every error number with a message, in increasing order. Numbers in 1..66 and 1001..1058 that are not
// listed have no message.
constexpr ErrorMessage ERROR_MESSAGES[] = {
    {1, "Error opening file or device"},
    {2, "Error reading/writing file or device"},
    {3, "Error closing file or device"},
    {4, "Number too large in string to numeric conversion"},
    {5, "Graphics not supported on requested printer"},
    {10, "No substring found"},
    {11, "More than one decimal point in number"},
    {12, "Invalid character detected"},
    {13, "Operating system command error in an OS routine"},
    {16, "X or Y graphics unit range is invalid"},
    {18, "Numeric to string conversion error"},
    {20, "Circle/ellipse radius <=0, height ratio<=0 or arc angle=0"},
    {21, "Length of axis-parallel side of a parallelogram is =<0"},
    {22, "Width/height=0 for a rectangle/triangle/parallelogram"},
    {23, "No program name specified to IOsExecute"},
    {24, "Too many data values specified for a stacked plot"},
    {25, "Too many bytes in char set during conversion from ASCII"},
    {27, "Image file format not supported"},
    {28, "Borders cross in IGrPolygonSimple - unable to fill polygon"},
    {34, "Requested page size too large for raster image buffer"},
    {40, "Number of files matched by IOsDirInfo/List exceeds array size"},
    {42, "Unknown colour name/number specified to IGrColour/IGrColourN"},
    {43, "Contour heights must increase monotonically"},
    {44, "Invalid X and/or Y range in IGrArea/IGrViewport/IGrReplayArea"},
    {46, "No graphics hardcopy driver currently selected"},
    {49, "Fill too complex in IGrPolygonComplex"},
    {51, "A search box contains too many points in IPgXYZToGrid"},
    {54, "Mismatched driver/device in hardcopy options file"},
    {55, "Source and target file names same in copy command"},
    {58, "Min value greater than max value in IPgHighLow"},
    {63, "Windows printer not available"},
    {64, "Bit image transfer failed in IGrPrintImage"},
    {66, "Invalid character code in WGrTextWidth"},
    {1001, "Invalid menu item"},
    {1002, "Unable to load menu from resource"},
    {1003, "Invalid window handle"},
    {1004, "General error in common dialog"},
    {1005, "No dialogs currently loaded"},
    {1006, "Invalid field identifier"},
    {1007, "Unable to load dialog from resource"},
    {1008, "Unable to select specified dialog"},
    {1009, "Attempt to store an out of range dialog field value"},
    {1010, "Field value undefined"},
    {1011, "Option number out of range or invalid item ID"},
    {1012, "Invalid tab number specified"},
    {1013, "Invalid range specified for progress bar"},
    {1014, "Invalid dialog mode requested"},
    {1015, "Invalid bitmap/icon identifier"},
    {1016, "Unable to display window/dialog. Parent window hidden"},
    {1017, "Cell co-ordinates out of range"},
    {1018, "Too many rows for grid field to hold"},
    {1019, "Invalid target drawing surface"},
    {1020, "Bitmap creation failed"},
    {1021, "Invalid bitmap handle"},
    {1022, "Only child windows can be converted into editors or viewers"},
    {1023, "Variable too small to receive text"},
    {1024, "Invalid editor mode requested"},
    {1025, "Editor can't have menu in InsideParent child window"},
    {1026, "User menu not supported with modal editor or grid window"},
    {1027, "General problem initializing editor"},
    {1028, "Current window is not a text editor"},
    {1029, "Invalid range specified for trackbar"},
    {1030, "General help viewer error"},
    {1031, "Not a valid help file extension"},
    {1032, "Editor does not have a command line"},
    {1033, "Editor can't have command line in InsideParent child window"},
    {1034, "External process timed out before completion"},
    {1035, "Failed to enable OpenGL graphics"},
    {1036, "Can't destroy bitmap while in use by bitmap viewer"},
    {1037, "Specified bitmap is already in use"},
    {1038, "Child window is already converted to a different type"},
    {1039, "Invalid bitmap viewer mode requested"},
    {1040, "General problem initializing bitmap viewer"},
    {1041, "X server modal dialog/window pixmap resources are low"},
    {1042, "X server modal dialog/window pixmap resources are exhausted"},
    {1043, "Invalid bitmap bitwise mode requested"},
    {1044, "Zlib compression/decompression failed"},
    {1045, "Specified dialog has wrong style to be combined with a window"},
    {1046, "Parent window is combined with a dialog"},
    {1047, "Current dialog which is combined with a window"},
    {1048, "Item identifier already exists in treeview field"},
    {1049, "Treeview item is not a branch"},
    {1050, "Invalid pre-defined registry key"},
    {1051, "Grid window can't have menu in InsideParent child window"},
    {1052, "Invalid grid window mode requested"},
    {1053, "General problem initializing grid window"},
    {1054, "Data file contains more row or columns than grid field"},
    {1055, "Unable to match value from file with menu cell option"},
    {1056, "Parent window is converted to a special type"},
    {1057, "Cannot convert window when, InsideParent windows exist"},
    {1058, "No name specified for user-defined font"},
};

std::string_view trim_right(std::string_view s)
{
    size_t n = s.find_last_not_of(' ');
    return n == std::string_view::npos ? std::string_view() : s.substr(0, n + 1);
}

// Mode 1: one list-directed record on standard output (a leading blank, then the text).
void write_standard_output(std::string_view text)
{
    std::string line = list_directed_text({text});
    // The record ends in CR LF; standard output is a text stream, which makes its own line end.
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

std::string IErrorText(int number, int length)
{
    std::string text;
    const auto* end = std::end(ERROR_MESSAGES);
    const auto* e = std::lower_bound(std::begin(ERROR_MESSAGES), end, number,
                                     [](const ErrorMessage& m, int n) { return m.number < n; });
    if (e != end && e->number == number)
        text = e->text;
    if (length < 0)
        length = 0;
    text.resize(static_cast<size_t>(length), ' ');
    return text;
}

std::string error_report_text(int number)
{
    return "Error=" + format_integer(number, "I4") + ":" + IErrorText(number, ERROR_MESSAGE_LENGTH);
}

void IErrorReport(int number)
{
    ERROR_STATE.last_error = number;
    int mode = ERROR_STATE.error_mode;
    if (mode <= 0)
        return;
    // A failure inside the report is kept as the last error but not reported again.
    ERROR_STATE.error_mode = 0;
    std::string text(trim_right(error_report_text(number)));
    switch (mode) {
    case 1: write_standard_output(text); break;
    case 2: IErrorToDebugFile(text); break;
    case 3:
        if (ERROR_SCREEN_HOOKS.status_bar_write)
            ERROR_SCREEN_HOOKS.status_bar_write(text);
        break;
    case 4:
        // Cancel ends the program without a second box.
        if (ERROR_SCREEN_HOOKS.box_answer && ERROR_SCREEN_HOOKS.box_answer(text) == 0)
            IErrorAbnormalExit("", 0);
        break;
    default: break;
    }
    ERROR_STATE.error_mode = mode;
    ERROR_STATE.last_error = number;
}

void IErrorModeSet(int mode)
{
    if (mode >= 0 && mode <= 4)
        ERROR_STATE.error_mode = mode;
}

int IErrorInfo(int option)
{
    int value = 0;
    switch (option) {
    case 1:
        value = ERROR_STATE.last_error;
        ERROR_STATE.last_error = 0;
        break;
    case 2:
        value = ERROR_STATE.last_file_error;
        ERROR_STATE.last_file_error = 0;
        break;
    case 3:
        value = ERROR_STATE.last_os_error;
        ERROR_STATE.last_os_error = 0;
        break;
    case 4: value = ERROR_STATE.error_mode; break;
    default: break;
    }
    return value;
}

void IErrorToDebugFile(std::string_view text)
{
    IOsDebugWriteText(str_trim(text));
}

std::string abnormal_exit_text(std::string_view message, int code)
{
    // "Abnormal exit (code " then the I4 code left-justified, so that the digits follow directly.
    std::string digits(str_trim(format_integer(code, "I4")));
    std::string text = "Abnormal exit (code " + digits + ") : " + std::string(str_trim(message));
    if (text.size() > 254)
        text.resize(254);
    return text;
}

void IErrorAbnormalExit(std::string_view message, int code)
{
    if (!str_trim(message).empty()) {
        std::string text = abnormal_exit_text(message, code);
        if (ERROR_SCREEN_HOOKS.stop_box)
            ERROR_SCREEN_HOOKS.stop_box("Vuvuzuvoder", text);
        else
            std::fputs((text + "\n").c_str(), stderr);
    }
    IOsExit(code);
}
