// The fatal stop and the program's normal exit.
#include "base/fatal.h"

#include "base/list_io.h"
#include "base/units.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

FatalHandler FATAL_HANDLER = nullptr;

// The last path component of a source file name, for the "file.cpp:line" suffix.
std::string_view base_name(std::string_view path)
{
    std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Appends the message to the diagnostic log as one list-directed line. Errors are ignored here: the
// stop is under way, and a failing log must not start a second one.
void log_message(const std::string& message)
{
    if (unit_mode(UNIT_DIAG) != UnitMode::WRITE_TEXT)
        return;
    std::FILE* f = unit_file(UNIT_DIAG);
    std::string line = list_directed_text({message});
    std::fwrite(line.data(), 1, line.size(), f);
    std::fflush(f);
    unit_count_record(UNIT_DIAG);
}

}  // namespace

void fatal_stop(const std::string& message, std::source_location where)
{
    log_message(message);
    std::string_view file = base_name(where.file_name());
    std::fprintf(stderr, "%s [%.*s:%u]\n", message.c_str(), static_cast<int>(file.size()), file.data(),
                 static_cast<unsigned>(where.line()));
    std::fflush(stderr);
    if (FATAL_HANDLER)
        FATAL_HANDLER(message);
    unit_close_all_unchecked();
    std::exit(1);
}

void program_stop()
{
    throw ProgramStopRequest{};
}

void set_fatal_handler(FatalHandler handler)
{
    FATAL_HANDLER = handler;
}
