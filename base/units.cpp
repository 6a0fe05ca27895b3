// The unit table: which file is open on which unit number, how, and how many records it has passed.
#include "base/units.h"

#include "base/fatal.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace {

struct Unit {
    std::FILE* file = nullptr;         // open stream, nullptr when closed
    std::string path;                  // name as opened
    UnitMode mode = UnitMode::CLOSED;  // how it was opened
    long record = 0;                   // records read or written since the open
};

std::array<Unit, UNIT_LIMIT> UNITS;

bool valid(int unit)
{
    return unit >= 0 && unit < UNIT_LIMIT;
}

bool writes(UnitMode mode)
{
    return mode == UnitMode::WRITE_TEXT || mode == UnitMode::WRITE_BINARY;
}

const char* mode_text(UnitMode mode)
{
    return writes(mode) ? "writing" : "reading";
}

// Empties the unit's entry; returns the stream it held.
std::FILE* release(int unit)
{
    Unit& u = UNITS[static_cast<std::size_t>(unit)];
    std::FILE* f = u.file;
    u = Unit{};
    return f;
}

}  // namespace

bool unit_open(int unit, const std::string& path, UnitMode mode)
{
    if (!valid(unit) || mode == UnitMode::CLOSED)
        return false;
    unit_close(unit);
    // Binary mode for text too: line ends are written and read as they are (see units.h).
    std::FILE* f = std::fopen(path.c_str(), writes(mode) ? "wb" : "rb");
    if (!f)
        return false;
    Unit& u = UNITS[static_cast<std::size_t>(unit)];
    u.file = f;
    u.path = path;
    u.mode = mode;
    u.record = 0;
    return true;
}

void unit_open_or_stop(int unit, const std::string& path, UnitMode mode)
{
    errno = 0;
    if (unit_open(unit, path, mode))
        return;
    std::string reason = errno != 0 ? std::strerror(errno) : "invalid unit or mode";
    fatal_stop("Cannot open file " + path + " for " + mode_text(mode) + ": " + reason);
}

void unit_close(int unit)
{
    if (!unit_is_open(unit))
        return;
    UnitMode mode = UNITS[static_cast<std::size_t>(unit)].mode;
    std::string path = UNITS[static_cast<std::size_t>(unit)].path;
    std::FILE* f = release(unit);
    errno = 0;
    if (std::fclose(f) != 0 && writes(mode)) {
        std::string reason = errno != 0 ? std::strerror(errno) : "unknown error";
        fatal_stop("Write error on file " + path + " at close: " + reason);
    }
}

void unit_close_all()
{
    for (int unit = 0; unit < UNIT_LIMIT; ++unit)
        unit_close(unit);
}

void unit_close_all_unchecked()
{
    for (int unit = 0; unit < UNIT_LIMIT; ++unit) {
        if (unit_is_open(unit))
            std::fclose(release(unit));
    }
}

bool unit_is_open(int unit)
{
    return valid(unit) && UNITS[static_cast<std::size_t>(unit)].file != nullptr;
}

UnitMode unit_mode(int unit)
{
    return valid(unit) ? UNITS[static_cast<std::size_t>(unit)].mode : UnitMode::CLOSED;
}

std::FILE* unit_file(int unit)
{
    return valid(unit) ? UNITS[static_cast<std::size_t>(unit)].file : nullptr;
}

const std::string& unit_path(int unit)
{
    static const std::string none;
    return valid(unit) ? UNITS[static_cast<std::size_t>(unit)].path : none;
}

long unit_record(int unit)
{
    return valid(unit) ? UNITS[static_cast<std::size_t>(unit)].record : 0;
}

void unit_count_record(int unit)
{
    if (unit_is_open(unit))
        ++UNITS[static_cast<std::size_t>(unit)].record;
}
