// The restart-set reader on any input: the input is unpacked into the set list, the marker and the
// restart files (fuzz/restart_pack.h) and READ_RESTART rebuilds the state from them. A fatal stop is a
// normal end; the reader checks the file lengths against the size record before it allocates.
#include "app/restart/restart.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/restart_pack.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_start_reader();
    // What an earlier input's pending set left under temporary names goes too: every input is read
    // from its own files alone.
    std::remove(SET_SCRATCH_FILE);
    for (const char* name : RESTART_FILE_NAME)
        std::remove(restart_temporary_name(name).c_str());
    size_t at = 0;
    for (const char* name : packed_file_names()) {
        std::remove(name);
        if (size - at < 4)
            continue;
        const uint32_t length =
            data[at] | data[at + 1] << 8 | data[at + 2] << 16 | uint32_t{data[at + 3]} << 24;
        at += 4;
        if (length == PACK_ABSENT)
            continue;
        const size_t n = std::min<size_t>(length, size - at);
        fuzz_write_file(name, data + at, n);
        at += n;
    }
    try {
        READ_RESTART();
    } catch (const FuzzRefused&) {
    }
    fuzz_end_reader();
    return 0;
}
