// The memory of the machine: the figure a test put in place, or the system's. The physical memory as a
// POSIX system reports it is read here too; machine_memory_win.cpp asks Windows.
#include "base/machine_memory.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace {

std::uint64_t TEST_MEMORY = 0;

}  // namespace

std::uint64_t machine_memory_bytes()
{
    return TEST_MEMORY != 0 ? TEST_MEMORY : system_memory_bytes();
}

void set_machine_memory_for_tests(std::uint64_t bytes)
{
    TEST_MEMORY = bytes;
}

#if !defined(_WIN32)
std::uint64_t system_memory_bytes()
{
    long pages = sysconf(_SC_PHYS_PAGES);
    long page_size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || page_size <= 0)
        return 0;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size);
}
#endif
