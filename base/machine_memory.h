// The memory of the machine, for bounds on stores that grow while a run goes on and on the arrays that
// the case data size.
#ifndef QR4T_BASE_MACHINE_MEMORY_H
#define QR4T_BASE_MACHINE_MEMORY_H

#include <cstdint>

// Bytes of physical memory that the system reports (or the figure a test put in its place); 0 when it
// cannot tell.
std::uint64_t machine_memory_bytes();

// Tests of the bounds put a machine of `bytes` in place of this one; 0 gives the system's figure again.
void set_machine_memory_for_tests(std::uint64_t bytes);

// The system's own figure: sysconf on POSIX systems (machine_memory.cpp), GlobalMemoryStatusEx on
// Windows (machine_memory_win.cpp).
std::uint64_t system_memory_bytes();

#endif
