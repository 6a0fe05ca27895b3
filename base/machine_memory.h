// The memory of the machine, for bounds on stores that grow while a run goes on.
#ifndef QR4T_BASE_MACHINE_MEMORY_H
#define QR4T_BASE_MACHINE_MEMORY_H

#include <cstdint>

// Bytes of physical memory that the system reports; 0 when it cannot tell.
std::uint64_t machine_memory_bytes();

#endif
