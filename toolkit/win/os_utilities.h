// Operating-system utilities: a thin layer over the system's calls for files, directories, processes,
// time, environment, registry and the debug log.
//
// The low-level operations return the system's error code in an `error` (or `status`) out-argument,
// 0 on success, and report nothing. IOsDeleteFile and IOsCopyFile (declared in entry.h, since the core
// calls them) take wildcard patterns and report through IErrorReport. The debug log and the exit
// (toolkit/common/debug_log.h) are available in both builds; the rest is implemented in
// os_utilities_win.cpp for the win build.
#ifndef QR4T_TOOLKIT_WIN_OS_UTILITIES_H
#define QR4T_TOOLKIT_WIN_OS_UTILITIES_H

#include "toolkit/common/debug_log.h"

#include <cstdint>
#include <string>
#include <string_view>

// A system file handle as an integer (no Win32 types in this header).
using OsHandle = std::intptr_t;

// The predefined registry roots as the system numbers them.
constexpr int OS_HKEY_CLASSES_ROOT = static_cast<int>(0x80000000u);
constexpr int OS_HKEY_CURRENT_USER = static_cast<int>(0x80000001u);
constexpr int OS_HKEY_LOCAL_MACHINE = static_cast<int>(0x80000002u);
constexpr int OS_HKEY_USERS = static_cast<int>(0x80000003u);

// Registry value types used with IOsRegRead and IOsRegWrite.
constexpr int OS_REG_SZ = 1;
constexpr int OS_REG_BINARY = 3;
constexpr int OS_REG_DWORD = 4;

// ---- messages, version, environment, processes

// A task-modal stop box without owner.
void IOsMessageStop(std::string_view title, std::string_view message);
// Low and second byte of the system version.
void IOsVersion(int& major, int& minor);
// 2 Win32s, 3 Windows 95/98 family, 4 NT family.
void IOsPlatform(int& code);
// The platform id that the system reports: 0 Win32s, 1 Windows 95/98, 2 NT.
int IOsPlatformId();
// Tests only: makes IOsPlatformId answer `id` (-1: ask the system again).
void os_platform_force(int id);
// Reads an environment variable into value (at most size-1 characters); length = the system's result:
// the value's length, the size needed (with its NUL) when it does not fit, 0 when it is missing.
void IOsEnvRaw(int& length, std::string_view name, std::string& value, int size);
// Starts a command shown normally; result = the system's result (above 31 on success).
void IOsWinExec(std::string_view command, int& result);
// Runs a command: hidden when hide != 0; with wait != 0 waits up to timeout seconds (result -1 on
// time-out, 32 when the process ended), or with timeout < 0 until it ends, keeping windows painted.
// exit_status, when given, receives the ended process's exit status (0 when it did not end).
void IOsRunCommand(std::string_view command, int hide, int wait, int timeout, int& result,
                   int* exit_status = nullptr);
// The process command line; the program file's full path (at most size-1 characters).
void IOsCommandLine(std::string& buffer);
void IOsModuleName(std::string& buffer, int size);

// ---- files

// Mode 0 reading; 1 create (truncate) for writing; other reading and writing.
void IOsFileOpen(std::string_view name, int mode, OsHandle& handle, int& error);
void IOsFileClose(OsHandle handle);
// Reads or writes n bytes; count = bytes moved (0 on failure).
void IOsFileRead(OsHandle handle, void* buffer, int n, int& count, int& error);
void IOsFileWrite(OsHandle handle, const void* buffer, int n, int& count, int& error);
// Moves the file position by offset from origin 0 start, 1 current, 2 end; offset = new position.
void IOsFileSeek(OsHandle handle, int& offset, int origin, int& error);
void IOsFileDelete(std::string_view name, int& error);
void IOsFileMove(std::string_view old_name, std::string_view new_name, int& error);
// Copies one file, overwriting the target.
void IOsFileCopyOne(std::string_view source, std::string_view target, int& error);
void IOsFileAttrSet(int attributes, int& error, std::string_view name);
// Facts of the first file matching the name: size (low 32 bits, -1 when nothing matches), local
// last-write time, attributes.
void IOsFileInfo(int& size, int& year, int& month, int& day, int& hour, int& minute, int& second,
                 int& attributes, std::string_view name);
// mode 0 starts a search for the pattern in name (error = system code when nothing matches); other
// modes continue it (error 1 when no more). On success name = the found file name, datetime = DOS date
// (high 16 bits) and time (low 16 bits) of the local last-write time. One search at a time.
void IOsFindFile(int mode, std::string& name, int& attributes, int& datetime, int& size, int& error);
void IOsFindClose();

// ---- directories and drives

void IOsDirSet(std::string_view directory, int& error);
void IOsDirRemove(std::string_view directory, int& error);
void IOsDirCreate(std::string_view directory, int& error);
// The current directory; truncated = 1 when it needs more than size-1 characters.
void IOsDirGet(std::string& buffer, int size, int& error, int& truncated);
void IOsSystemDir(std::string& buffer, int size, int& error);
// Volume serial number of a root path; 0 when it cannot be read.
void IOsVolumeSerial(int& serial, std::string_view root);
void IOsDriveType(int& type, std::string_view root);
// Free bytes of the current drive, saturated at 2147483647.
void IOsDiskFree(int& bytes);

// ---- time

void IOsDate(int& year, int& month, int& day);
void IOsTime(int& hour, int& minute, int& second, int& millisecond);
// Milliseconds since system start.
void IOsTicks(int& ticks);

// ---- registry

void IOsRegDeleteKey(int root, int& status, std::string_view subkey);
// size 0 asks only for type and size; on success or a too-small buffer (234) type and size are set;
// another failure gives type -2 and size 0; a key that cannot be opened changes nothing.
void IOsRegRead(int root, int& type, int& size, std::string_view subkey, std::string_view value_name,
                void* data);
void IOsRegWrite(int root, int type, int& status, std::string_view subkey, std::string_view value_name,
                 const void* data, int length);

// ---- start-up helpers (initialise_win.cpp)

// Reads an environment variable (name trimmed): blank when missing; blank and error 1023 when the value
// is longer than length.
void IOsEnvGet(std::string_view name, std::string& value, int length = 260);
// The current directory: error 13 (system code kept) when it cannot be read, 1023 when it is longer
// than length.
void IOsDirCurrent(std::string& text, int length = 260);
// Reads the command line once (at most 1024 characters) and returns the number of arguments after the
// program name. argument = the program's path for n = 0, the n-th argument for n >= 1 (a quoted
// argument runs to its closing quote, without the quotes), blank otherwise.
int IOsCommandArg(int n, std::string& argument);
// The toolkit's version text: "4.0" for option 2, blank for any other.
std::string IVersionText(int option);

#endif
