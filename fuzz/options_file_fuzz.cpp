// The options-file reader on any input: the bytes become "QR4T.CFG" and read_program_options reads
// them (an unreadable file is rewritten with the standard options, which is no finding). The value
// taken must be one of the three unit systems.
#include "app/run/main_program.h"
#include "app/state/run.h"
#include "fuzz/fuzz_support.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_start_reader();
    fuzz_write_file("QR4T.CFG", data, size);
    try {
        read_program_options();
    } catch (const FuzzRefused&) {
    }
    if (RUN.PROGRAM_OPTIONS < 1 || RUN.PROGRAM_OPTIONS > 3)
        std::abort();
    fuzz_end_reader();
    return 0;
}
