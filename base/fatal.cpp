// The fatal stop and the program's normal exit.
#include "base/fatal.h"

#include "base/list_io.h"
#include "base/units.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

FatalHandler FATAL_HANDLER = nullptr;
FatalNotice FATAL_NOTICE = nullptr;

constexpr std::size_t EXCERPT_CHARACTERS = 40;

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
    log_message(message + " [" + std::string(base_name(where.file_name())) + ":" +
                std::to_string(where.line()) + "]");
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
    if (FATAL_NOTICE)
        FATAL_NOTICE(message);
    if (FATAL_HANDLER)
        FATAL_HANDLER(message);
    unit_close_all_unchecked();
    std::exit(1);
}

void program_stop()
{
    throw ProgramStopRequest{};
}

void set_fatal_notice(FatalNotice notice)
{
    FATAL_NOTICE = notice;
}

std::string message_excerpt(std::string_view text)
{
    std::string out;
    std::size_t shown = 0;
    for (unsigned char c : text) {
        if (shown == EXCERPT_CHARACTERS)
            return out + "...";
        if (c < 32 || c > 126) {
            static const char digits[] = "0123456789ABCDEF";
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
        ++shown;
    }
    return out;
}

std::string value_text(int value)
{
    return std::to_string(value);
}

std::string value_text(double value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value));
    return std::string(buffer, result.ptr);
}

void set_fatal_handler(FatalHandler handler)
{
    FATAL_HANDLER = handler;
}
