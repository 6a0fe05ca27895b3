// The physical memory as Windows reports it.
#include "base/machine_memory.h"

#include <windows.h>

std::uint64_t system_memory_bytes()
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return 0;
    return status.ullTotalPhys;
}
