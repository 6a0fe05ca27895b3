// The set list of the restart files and the renames that put a new set in place as one unit.
//
// The list "QR4TSET.TXT" is CR LF text:
//   QR4T restart set generation 12
//   QR4TP.RES 140 9a3c01f2            one line per file: name, length in bytes, CRC-32 in hex
//   ...
//   END
// The restart files themselves keep their layout byte for byte; the list lives beside them.
#include "app/restart/restart_set.h"

#include "app/restart/restart_items.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/units.h"

#include <zlib.h>

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

void (*RENAME_HOOK)(int) = nullptr;
bool DISK_FLUSH = true;
bool READ_ONLY = false;

const char* const LIST_TITLE = "QR4T restart set generation ";

// One file of a set list.
struct ListedFile {
    std::string name;       // "QR4TM1.RES"
    std::uintmax_t length;  // bytes
    std::uint32_t crc;      // CRC-32 of all its bytes
};

struct SetList {
    long long generation = 0;
    std::vector<ListedFile> files;
};

// With reading only: the marker of a set whose writing was interrupted, read in its place.
bool HAS_PENDING = false;
SetList PENDING;

// True when `name` is a file of the pending set that still has its temporary name.
bool pending_under_temporary_name(const std::string& name)
{
    if (!READ_ONLY || !HAS_PENDING)
        return false;
    for (const ListedFile& f : PENDING.files) {
        std::error_code ec;
        if (f.name == name)
            return std::filesystem::exists(restart_temporary_name(name.c_str()), ec);
    }
    return false;
}

// Length and CRC-32 of a file. False when it cannot be read.
bool measure_file(const std::string& path, std::uintmax_t& length, std::uint32_t& crc)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::vector<unsigned char> buffer(1 << 20);
    uLong sum = crc32(0L, Z_NULL, 0);
    length = 0;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), f)) > 0) {
        sum = crc32(sum, buffer.data(), static_cast<uInt>(n));
        length += n;
    }
    bool ok = !std::ferror(f);
    std::fclose(f);
    crc = static_cast<std::uint32_t>(sum);
    return ok;
}

std::string crc_text(std::uint32_t crc)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(crc));
    return text;
}

// Reads a set list. False when the file is missing; a list that is not in its layout stops the
// program, since the set it describes can then not be trusted.
bool read_list_file(const char* path, SetList& list)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return false;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    auto refuse = [path](const std::string& why) {
        fatal_stop(std::string("Restart set list ") + path + ": " + why +
                   "; the restart files cannot be checked as one set");
    };
    list = SetList{};
    bool ended = false;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (number == 1) {
            std::string_view v(line);
            if (v.substr(0, std::char_traits<char>::length(LIST_TITLE)) != LIST_TITLE)
                refuse("line 1 is not its title line");
            v.remove_prefix(std::char_traits<char>::length(LIST_TITLE));
            auto r = std::from_chars(v.data(), v.data() + v.size(), list.generation);
            if (r.ec != std::errc() || r.ptr != v.data() + v.size() || list.generation < 1)
                refuse("line 1 does not end with a generation number");
            continue;
        }
        if (line == "END") {
            ended = true;
            break;
        }
        std::istringstream fields(line);
        ListedFile f;
        std::string crc;
        fields >> f.name >> f.length >> crc;
        std::uint32_t value = 0;
        auto r = std::from_chars(crc.data(), crc.data() + crc.size(), value, 16);
        bool known = false;
        for (const char* name : RESTART_FILE_NAME)
            known = known || f.name == name;
        if (!fields || !known || crc.size() != 8 || r.ec != std::errc() || r.ptr != crc.data() + crc.size())
            refuse("line " + std::to_string(number) + " is not a restart file with its length and CRC");
        f.crc = value;
        list.files.push_back(f);
    }
    if (number == 0)
        refuse("the file is empty");
    if (!ended)
        refuse("it ends before its END line");
    return true;
}

// Writes a file, flushes it to disk and renames it into place as `path`.
void write_list_file(const char* scratch, const char* path, const SetList& list)
{
    std::string text = LIST_TITLE + std::to_string(list.generation) + "\r\n";
    for (const ListedFile& f : list.files)
        text += f.name + " " + std::to_string(f.length) + " " + crc_text(f.crc) + "\r\n";
    text += "END\r\n";
    std::FILE* out = std::fopen(scratch, "wb");
    bool ok = out && std::fwrite(text.data(), 1, text.size(), out) == text.size() && flush_to_disk(out);
    if (out)
        ok = std::fclose(out) == 0 && ok;
    if (!ok)
        fatal_stop(std::string("Cannot write the restart set list ") + scratch +
                   "; the previous restart set is kept");
    std::error_code ec;
    std::filesystem::rename(scratch, path, ec);
    if (ec)
        fatal_stop(std::string("Cannot rename ") + scratch + " to " + path + ": " + ec.message() +
                   "; the previous restart set is kept");
}

// Renames `from` over `to`, also where the platform's rename does not replace an existing file.
void rename_over(const std::string& from, const std::string& to)
{
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(to, ignored);
        std::filesystem::rename(from, to, ec);
    }
    if (ec)
        fatal_stop("Cannot rename the restart file " + from + " to " + to + ": " + ec.message() +
                   "; the next start completes the set from " + SET_MARKER_FILE);
}

// The generation of the set after one of generation g. The number only tells the writes apart, so
// after the largest the list can hold it starts again at 1: adding 1 there would overflow, and the
// list written would be refused at every later start.
long long next_generation(long long g)
{
    return g < std::numeric_limits<long long>::max() ? g + 1 : 1;
}

void call_hook(int renamed)
{
    if (RENAME_HOOK)
        RENAME_HOOK(renamed);
}

// The new files of a set in place, then the marker as the list.
void complete_renames(const SetList& marker, int renamed)
{
    for (const ListedFile& f : marker.files) {
        std::string temporary = restart_temporary_name(f.name.c_str());
        std::error_code ec;
        if (!std::filesystem::exists(temporary, ec))
            continue;  // renamed before the stop
        std::uintmax_t length = 0;
        std::uint32_t crc = 0;
        if (!measure_file(temporary, length, crc) || length != f.length || crc != f.crc)
            fatal_stop("Restart file " + temporary + " differs from its entry in " + SET_MARKER_FILE +
                       ": the restart set cannot be completed");
        rename_over(temporary, f.name);
        call_hook(++renamed);
    }
    rename_over(SET_MARKER_FILE, SET_LIST_FILE);
    call_hook(++renamed);
}

}  // namespace

std::string restart_temporary_name(const char* name)
{
    return std::string(name) + ".NEW";
}

bool flush_to_disk(std::FILE* f)
{
    if (std::fflush(f) != 0)
        return false;
    if (!DISK_FLUSH)
        return true;
#if defined(_WIN32)
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

void commit_restart_set(const std::vector<int>& files)
{
    SetList previous;
    SetList marker;
    marker.generation = read_list_file(SET_LIST_FILE, previous) ? next_generation(previous.generation) : 1;
    for (int file : files) {
        const char* name = RESTART_FILE_NAME[file];
        ListedFile f{name, 0, 0};
        if (!measure_file(restart_temporary_name(name), f.length, f.crc))
            fatal_stop("Cannot read back the restart file " + restart_temporary_name(name) +
                       "; the previous restart set is kept");
        marker.files.push_back(f);
    }
    call_hook(0);
    write_list_file(SET_SCRATCH_FILE, SET_MARKER_FILE, marker);
    call_hook(1);
    complete_renames(marker, 1);
}

void finish_restart_set()
{
    HAS_PENDING = false;
    SetList marker;
    if (!read_list_file(SET_MARKER_FILE, marker))
        return;
    if (READ_ONLY) {
        write_list(UNIT_DIAG, {"Reading the restart set of generation " + std::to_string(marker.generation) +
                               " whose writing was interrupted, without completing it"});
        PENDING = marker;
        HAS_PENDING = true;
        return;
    }
    write_list(UNIT_DIAG, {"Completing the restart set of generation " + std::to_string(marker.generation) +
                           " whose writing was interrupted"});
    complete_renames(marker, 1);
}

void check_restart_set(const std::vector<int>& files)
{
    SetList list;
    if (READ_ONLY && HAS_PENDING) {
        list = PENDING;
    } else if (!read_list_file(SET_LIST_FILE, list)) {
        write_list(UNIT_DIAG, {"No restart set list QR4TSET.TXT: the files are not checked as one set"});
        return;
    }
    for (int file : files) {
        const char* name = RESTART_FILE_NAME[file];
        const ListedFile* entry = nullptr;
        for (const ListedFile& f : list.files) {
            if (f.name == name)
                entry = &f;
        }
        const std::string generation = std::to_string(list.generation);
        if (!entry)
            fatal_stop(std::string("Restart file ") + name + " is not in the restart set of generation " +
                       generation + " that " + SET_LIST_FILE + " lists");
        std::uintmax_t length = 0;
        std::uint32_t crc = 0;
        if (!measure_file(restart_read_path(name), length, crc))
            fatal_stop(std::string("Restart file ") + name + " cannot be read");
        if (length != entry->length || crc != entry->crc)
            fatal_stop(std::string("Restart file ") + name +
                       " does not belong to the restart set of generation " + generation + " that " +
                       SET_LIST_FILE + " lists: its contents differ (another write or a damaged file)");
    }
}

void set_restart_read_only(bool on)
{
    READ_ONLY = on;
    HAS_PENDING = false;
}

std::string restart_read_path(const char* name)
{
    return pending_under_temporary_name(name) ? restart_temporary_name(name) : std::string(name);
}

void set_restart_disk_flush(bool on)
{
    DISK_FLUSH = on;
}

void set_restart_rename_hook(void (*hook)(int renamed))
{
    RENAME_HOOK = hook;
}
