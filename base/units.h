// The unit table: open files addressed by number, as every subsystem shares them.
//   unit 3  the summary being written ("QR4TD.TXT", "QR4SD.TXT")
//   unit 4  the data or options file being read ("QR4TD.DAT", "QR4SD.DAT", "QR4T.CFG")
//   unit 7  the restart file being written or read (one at a time)
//   unit 9  the diagnostic log "DIAG.TXT", open from start-up to the end of the run
// A unit holds one file at a time; opening an open unit closes it first. Text and unformatted files are
// both opened in binary mode: the list-directed writer puts CR LF itself and the reader takes CR LF or
// LF, so the C library must not translate line ends.
#ifndef QR4T_BASE_UNITS_H
#define QR4T_BASE_UNITS_H

#include <cstdio>
#include <string>

constexpr int UNIT_SUMMARY = 3;
constexpr int UNIT_DATA = 4;
constexpr int UNIT_RESTART = 7;
constexpr int UNIT_DIAG = 9;
constexpr int UNIT_LIMIT = 100;  // unit numbers 0 .. UNIT_LIMIT-1

enum class UnitMode {
    CLOSED,        // no file on the unit
    READ_TEXT,     // existing text file, read from the start
    WRITE_TEXT,    // text file created or truncated ("unknown" status written from its start)
    READ_BINARY,   // existing unformatted file
    WRITE_BINARY,  // unformatted file created or truncated
};

// Opens a file on a unit. Returns false (unit closed) when the file cannot be opened or the unit number
// is outside 0 .. UNIT_LIMIT-1.
bool unit_open(int unit, const std::string& path, UnitMode mode);
// Opens or ends the program with a fatal message naming the unit, the file and the reason.
void unit_open_or_stop(int unit, const std::string& path, UnitMode mode);
// Closes the unit's file (nothing when it is not open). A file being written whose data cannot be
// flushed to disk is a fatal write error.
void unit_close(int unit);
void unit_close_all();
// Closes every unit without checking for errors: for the fatal stop, which must not stop twice.
void unit_close_all_unchecked();

bool unit_is_open(int unit);
UnitMode unit_mode(int unit);            // CLOSED when the unit is not open
std::FILE* unit_file(int unit);          // nullptr when the unit is not open
const std::string& unit_path(int unit);  // the file's name as opened ("" when closed)
long unit_record(int unit);              // records (lines) read or written so far
void unit_count_record(int unit);        // readers and writers advance the record count

#endif
