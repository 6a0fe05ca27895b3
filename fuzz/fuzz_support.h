// Shared equipment of the fuzz harnesses: a working folder of the process's own, the input written as
// a named file there, fatal stops turned into a return, and the state a reader touches reset.
//
// A harness hands each input to a reader in this process. Whatever the reader refuses is a normal
// return; only a crash, a sanitizer report, a hang or unbounded memory is a finding.
#ifndef QR4T_FUZZ_FUZZ_SUPPORT_H
#define QR4T_FUZZ_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Enters the working folder (made at the first call, under TMPDIR or /tmp, removed at exit).
void fuzz_enter_folder();

// Writes the bytes as the named file of the working folder.
void fuzz_write_file(const char* name, const uint8_t* data, size_t size);
void fuzz_write_file(const char* name, std::string_view bytes);
// Removes the named files of the working folder that exist.
void fuzz_remove_files(std::initializer_list<const char*> names);

// The whole file of the source tree at `path` (relative to the source folder).
std::string fuzz_source_file(const char* path);

// Thrown by the fatal handler in place of the process exit: the reader refused its input.
struct FuzzRefused {};

// Clears every state group and the headless toolkit, makes fatal stops throw FuzzRefused, and opens
// the diagnostic log (unit 9) afresh, as the program has it when it reads its files.
void fuzz_start_reader();
// fuzz_start_reader without clearing the state groups: for a reader that needs state an earlier
// reader left (the surface data need the flow data), which the harness then clears itself.
void fuzz_restart_log();
// Closes every unit the reader left open.
void fuzz_end_reader();

#endif
