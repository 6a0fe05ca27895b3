// WRITE_RESTART: the restart file set, one unformatted record per file, every array item written whole
// in its allocated extents.
//
// Each call writes the whole set under temporary names, flushed to disk, and puts it in place as one
// unit through the set list (restart_set.h): a stop at any moment (a full disk, a crash, the user
// closing the program) leaves either the previous set or the new one, whole and readable. Before anything is
// written the writer checks that every array has the extents the size record is about to promise and
// that no record passes the 2^31-1 bytes of its length word: a set that could not be read back is
// never written.
#include "app/restart/restart.h"
#include "app/restart/restart_io.h"
#include "app/restart/restart_set.h"
#include "base/fatal.h"
#include "base/list_io.h"

#include <string>

namespace {

// Attempts of an open before the open counts as failed.
constexpr int OPEN_ATTEMPTS = 5;

// Every file's record must be readable with the extents of the size record: the arrays have exactly
// those extents and no record is too long for its length word.
void check_set_before_writing()
{
    std::vector<PlannedArray> plan = restart_plan();
    for (int file = 0; file < RESTART_FILE_COUNT; ++file) {
        if (!restart_file_in_set(file))
            continue;
        MeasureVisitor measure{plan};
        restart_items(file, measure);
        if (measure.bytes > static_cast<long double>(RECORD_LIMIT))
            fatal_stop(std::string("Restart files not written: the record of ") + RESTART_FILE_NAME[file] +
                       " would hold " + std::to_string(static_cast<unsigned long long>(measure.bytes)) +
                       " bytes, more than the 2147483647 of one record");
        if (!measure.mismatched.empty())
            fatal_stop(std::string("Restart files not written: in ") + RESTART_FILE_NAME[file] + ", array " +
                       measure.mismatched.front() + " does not have the extents that the size record gives");
    }
}

// Writes one file of the set under its temporary name.
void write_file(int file, std::vector<unsigned char>& zeros)
{
    std::string path = restart_temporary_name(RESTART_FILE_NAME[file]);
    if (!open_restart_unit(path, UnitMode::WRITE_BINARY))
        fatal_stop("Cannot open the restart file " + path + " for writing after " +
                   std::to_string(OPEN_ATTEMPTS) + " attempts");
    WriteVisitor writer{RecordWriter{}, zeros};
    restart_items(file, writer);
    std::string error;
    if (!writer.record.write(unit_file(UNIT_RESTART), error))
        fatal_stop("Restart file " + path + ": " + error);
    if (!flush_to_disk(unit_file(UNIT_RESTART)))
        fatal_stop("Restart file " + path + ": the data could not be flushed to the disk");
    unit_close(UNIT_RESTART);
}

}  // namespace

bool open_restart_unit(const std::string& path, UnitMode mode)
{
    for (int attempt = 0; attempt < OPEN_ATTEMPTS; ++attempt) {
        if (unit_open(UNIT_RESTART, path, mode))
            return true;
    }
    return false;
}

void WRITE_RESTART()
{
    write_list(UNIT_DIAG, {"Writing restart files, QR4TP.RES, QR4TMn.RES, QR4TVn.RES "});
    check_set_before_writing();
    // A set left half renamed by an earlier stop is completed first: its new files are about to be
    // overwritten.
    finish_restart_set();
    std::vector<unsigned char> zeros;
    std::vector<int> files;
    for (int file = 0; file < RESTART_FILE_COUNT; ++file) {
        if (restart_file_in_set(file)) {
            write_file(file, zeros);
            files.push_back(file);
        }
    }
    commit_restart_set(files);
}
