// The debug log and the process exit: the services below every other part of the toolkit.
//
// Both builds write the debug log and end the process here (debug_log.cpp); the win build's way of
// ending it is a hook that the window layer sets.
#ifndef QR4T_TOOLKIT_COMMON_DEBUG_LOG_H
#define QR4T_TOOLKIT_COMMON_DEBUG_LOG_H

#include <string_view>

// Writes the text and CR LF to the debug log: "debug" in the current directory, else "debug.txt",
// else "debug.dat", created at first use and kept open to the end of the process.
void IOsDebugWriteText(std::string_view text);
void IOsDebugWriteLine(std::string_view text);
// Writes "name=value" and CR LF.
void IOsDebugWriteValue(std::string_view name, int value);

// Ends the process with the code: output is flushed, then OS_EXIT_HOOK ends it where the window layer
// has set one (the win build ends the process at once, without static destructors), else std::exit.
[[noreturn]] void IOsExit(int code);
extern void (*OS_EXIT_HOOK)(int code);

#endif
