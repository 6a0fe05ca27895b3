// Byte-stream files: the toolkit's raw file operations for image files, plot files and grid data.
//
// A handle is a 32-bit integer; -1 means no file. Every failure is reported by number
// (toolkit/common/error_numbers.h): 1 when a file cannot be opened, 2 when a read, write or seek fails; the
// system's error code is kept as the last file I/O error code. The operations always return normally.
#ifndef QR4T_TOOLKIT_GRAPHICS_BYTE_STREAM_H
#define QR4T_TOOLKIT_GRAPHICS_BYTE_STREAM_H

#include <span>
#include <string_view>

// Longest file name, after leading and trailing blanks are removed, that an open accepts.
constexpr int BIN_NAME_LENGTH = 254;

// Opens the named file: mode 0 read-only, 1 created (an existing file is truncated) and write-only,
// 2 read and write. handle = the file's handle, or -1 on failure (error 1).
void IOsBinOpen(std::string_view name, int mode, int& handle);
// Reads up to n bytes at the current position into buffer; count = bytes read (fewer at the end of
// the file, 0 at or past it; -1 after a failure, error 2).
void IOsBinRead(int handle, void* buffer, int n, int& count);
// Writes the first n bytes of buffer at the current position; count = bytes written (-1 after a
// failure, error 2).
void IOsBinWrite(int handle, const void* buffer, int n, int& count);
// Moves the position by offset from origin 0 (start), 1 (current position) or 2 (end); offset then
// holds the new position from the start, or -1 after a failure (error 2). Another origin changes
// nothing and raises nothing.
void IOsBinSeek(int handle, int& offset, int origin);
// Closes the file; nothing is reported.
void IOsBinClose(int handle);

// Doubles every double-quote character of the text in place, up to its last non-blank character;
// the text keeps its length, so characters pushed past the end are dropped.
void IStrDoubleQuotes(std::span<char> text);

#endif
