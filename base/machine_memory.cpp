// The physical memory as a POSIX system reports it (machine_memory_win.cpp asks Windows).
#include "base/machine_memory.h"

#if !defined(_WIN32)
#include <unistd.h>

std::uint64_t machine_memory_bytes()
{
    long pages = sysconf(_SC_PHYS_PAGES);
    long page_size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || page_size <= 0)
        return 0;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size);
}
#endif
