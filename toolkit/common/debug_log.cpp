// The debug log: the file that error mode 2 writes, created on first use in the current directory.
#include "toolkit/common/debug_log.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct OsDebugLog {
    std::FILE* file = nullptr;  // the open log; null when none of the three names could be created
    bool opened = false;        // set at first use, whether a file was created or not
};

OsDebugLog DEBUG_LOG;

std::FILE* debug_log_file()
{
    if (!DEBUG_LOG.opened) {
        DEBUG_LOG.opened = true;
        for (const char* name : {"debug", "debug.txt", "debug.dat"}) {
            DEBUG_LOG.file = std::fopen(name, "wb");
            if (DEBUG_LOG.file)
                break;
        }
    }
    return DEBUG_LOG.file;
}

}  // namespace

void IOsDebugWriteText(std::string_view text)
{
    std::FILE* f = debug_log_file();
    if (!f)
        return;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fputs("\r\n", f);
    // Flushed at once, so that the lines before a crash or an abnormal exit are kept.
    std::fflush(f);
}

void IOsDebugWriteLine(std::string_view text)
{
    IOsDebugWriteText(text);
}

void IOsDebugWriteValue(std::string_view name, int value)
{
    IOsDebugWriteText(std::string(name) + "=" + std::to_string(value));
}

void (*OS_EXIT_HOOK)(int code) = nullptr;

void IOsExit(int code)
{
    std::fflush(nullptr);
    if (OS_EXIT_HOOK)
        OS_EXIT_HOOK(code);
    std::exit(code);
}
