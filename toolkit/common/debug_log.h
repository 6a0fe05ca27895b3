// The debug log and the process exit: the services below every other part of the toolkit.
//
// Both builds write the debug log (debug_log.cpp). IOsExit is the host build's in debug_log.cpp and
// the win build's in toolkit/win/os_utilities_win.cpp.
#ifndef QR4T_TOOLKIT_COMMON_DEBUG_LOG_H
#define QR4T_TOOLKIT_COMMON_DEBUG_LOG_H

#include <string_view>

// Writes the text and CR LF to the debug log: "debug" in the current directory, else "debug.txt",
// else "debug.dat", created at first use and kept open to the end of the process.
void IOsDebugWriteText(std::string_view text);
void IOsDebugWriteLine(std::string_view text);
// Writes "name=value" and CR LF.
void IOsDebugWriteValue(std::string_view name, int value);

// Ends the process with the code.
[[noreturn]] void IOsExit(int code);

#endif
