// Deleting and copying files by wildcard pattern (IOsDeleteFile, IOsCopyFile).
#include "toolkit/common/error_state.h"
#include "toolkit/common/text_utilities.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/os_utilities.h"

#include <string>

namespace {

constexpr int FILE_ATTRIBUTE_DIRECTORY_BIT = 0x10;

// The directory part of a pattern: up to and including its last "\" or ":"; empty when it has none.
std::string directory_part(std::string_view pattern)
{
    size_t p = pattern.find_last_of("\\:");
    return p == std::string_view::npos ? std::string() : std::string(pattern.substr(0, p + 1));
}

bool ends_in_directory_mark(const std::string& s)
{
    return !s.empty() && (s.back() == '\\' || s.back() == ':');
}

// Keeps the system code and reports error 13.
void report_os_error(int code)
{
    ERROR_STATE.last_os_error = code;
    IErrorReport(ERR_OS_COMMAND);
}

// Calls `each` with the name of every file (not directory) that matches the pattern, until it returns
// false. Nothing found: error 13 with the system code kept.
template <typename Each>
void for_each_matching_file(const std::string& pattern, Each each)
{
    std::string name = pattern;
    int attributes = 0, datetime = 0, size = 0, error = 0;
    IOsFindFile(0, name, attributes, datetime, size, error);
    if (error != 0) {
        report_os_error(error);
        return;
    }
    while (error == 0) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY_BIT) == 0 && !each(name))
            break;
        IOsFindFile(1, name, attributes, datetime, size, error);
    }
    IOsFindClose();
}

}  // namespace

void IOsDeleteFile(std::string_view path)
{
    std::string pattern(str_trim(path));
    if (pattern.empty())
        return;
    std::string directory = directory_part(pattern);
    // A failed delete is reported and the next match is tried.
    for_each_matching_file(pattern, [&](const std::string& name) {
        int error = 0;
        IOsFileDelete(directory + name, error);
        if (error != 0)
            report_os_error(error);
        return true;
    });
}

void IOsCopyFile(std::string_view source_text, std::string_view target_text)
{
    std::string source(str_trim(source_text));
    if (source.empty())
        return;
    std::string directory = directory_part(source);
    std::string target(str_trim(target_text));

    if (source.find_first_of("*?") == std::string::npos) {
        // One file: a target that names a directory (or nothing) gets the source's file name.
        if (target.empty() || ends_in_directory_mark(target))
            target += source.substr(directory.size());
        if (target == source) {
            IErrorReport(ERR_COPY_SAME_NAME);
            return;
        }
        int error = 0;
        IOsFileCopyOne(source, target, error);
        if (error != 0)
            report_os_error(error);
        return;
    }

    // A pattern: the target names a directory, and every matching file keeps its name.
    if (!ends_in_directory_mark(target))
        target += '\\';
    // The first failed copy is reported and ends the loop.
    for_each_matching_file(source, [&](const std::string& name) {
        int error = 0;
        IOsFileCopyOne(directory + name, target + name, error);
        if (error != 0)
            report_os_error(error);
        return error == 0;
    });
}
