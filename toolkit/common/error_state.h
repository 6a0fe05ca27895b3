// The toolkit's error state: the last error number, the error mode that decides where a failure is
// written, the number-to-text table, and the abnormal exit.
//
// Every failing toolkit operation calls IErrorReport with a number of the table in error_state.cpp
// (1..66 general and graphics errors, 1001..1058 window-system errors). The number is always kept as
// the last error; the error mode then writes it nowhere (0), to standard output (1), to the debug log
// (2), to the main window's status bar (3) or into a "Library Error" box (4).
#ifndef QR4T_TOOLKIT_COMMON_ERROR_STATE_H
#define QR4T_TOOLKIT_COMMON_ERROR_STATE_H

#include "toolkit/common/error_numbers.h"

#include <string>
#include <string_view>

// Length of a message text in the report, and of the whole report text "Error=nnnn:message".
constexpr int ERROR_MESSAGE_LENGTH = 62;
constexpr int ERROR_REPORT_LENGTH = 73;

struct ErrorState {
    int last_error = 0;       // number of the last reported error; 0 = none
    int last_file_error = 0;  // code kept by the file operations
    int last_os_error = 0;    // system error code kept by the operating-system utilities
    int error_mode = 0;       // 0 silent, 1 standard output, 2 debug log, 3 status bar, 4 message box
};

extern ErrorState ERROR_STATE;

// The message of an error number, blank-padded or cut to `length` characters; blanks for a number
// without a message.
std::string IErrorText(int number, int length = ERROR_MESSAGE_LENGTH);

// The 73-character report text: "Error=", the number in I4, ":", the message padded to 62.
std::string error_report_text(int number);

// Keeps the number as the last error and writes it out by the error mode.
void IErrorReport(int number);

// Takes a mode 0..4; any other value is ignored.
void IErrorModeSet(int mode);

// 1: the last error, then cleared; 2: the last file I/O error, then cleared; 3: the last
// operating-system error, then cleared; 4: the error mode. Other options give 0.
int IErrorInfo(int option);

// Writes the trimmed text as one line of the debug log.
void IErrorToDebugFile(std::string_view text);

// The text of the abnormal-exit box: "Abnormal exit (code nnnn) : message" (the code left-justified
// after "(code ").
std::string abnormal_exit_text(std::string_view message, int code);

// Shows the abnormal-exit box (title "Vuvuzuvoder") when the trimmed message is not empty, then ends
// the process with the code. In the host build the text goes to standard error instead of a box.
[[noreturn]] void IErrorAbnormalExit(std::string_view message, int code);

// ---- the screen channels, which need windows
// The window layer fills this table when the toolkit starts (toolkit/win/lower_layer_hooks_win.cpp), so
// that the report reaches the screen without this layer calling up into the one above it. While a
// channel is empty, modes 3 and 4 show nothing and the abnormal exit writes its text to standard error:
// all that the host build, which has no screen, ever does.
struct ErrorScreenHooks {
    void (*status_bar_write)(const std::string& text) = nullptr;  // part 1 of the main window's status bar
    int (*box_answer)(const std::string& text) = nullptr;         // the "Library Error" box: 1 OK, 0 Cancel
    void (*stop_box)(std::string_view title, std::string_view text) = nullptr;  // the abnormal-exit box
};
extern ErrorScreenHooks ERROR_SCREEN_HOOKS;

#endif
