// Fatal stops and the program's exit.
//
// fatal_stop writes its message to the diagnostic log (unit 9, when open for writing, as one
// list-directed text line) and to standard error, then ends the process with status 1. The
// standard-error copy adds the source file and line of the caller ("message [file.cpp:123]"). The
// message names the file, the item and the value that failed.
#ifndef QR4T_BASE_FATAL_H
#define QR4T_BASE_FATAL_H

#include <source_location>
#include <string>

[[noreturn]] void fatal_stop(const std::string& message,
                             std::source_location where = std::source_location::current());

// The one stop on a close request: program_stop throws ProgramStopRequest, and MAIN_PROGRAM catches it,
// closes every unit (a file that cannot be flushed at its close turns this into a fatal stop) and
// returns status 0. Every poller that meets a close request, in the set-up and in the time-step loop,
// calls program_stop; none exits the process itself. No window or dialog procedure lies between a
// poller and MAIN_PROGRAM, so the throw never unwinds through one.
struct ProgramStopRequest {};
[[noreturn]] void program_stop();

// Tests replace the exit by a throw so that a fatal path can be checked in-process. The handler gets
// the message (after it has been logged) and must not return; nullptr restores the exit.
using FatalHandler = void (*)(const std::string& message);
void set_fatal_handler(FatalHandler handler);

#endif
