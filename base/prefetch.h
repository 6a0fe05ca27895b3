// A hint that asks the memory for the line holding an address ahead of its use: the kernel's one way
// of asking. No result changes, and an address that lies in no object never faults.
//
// GCC gives its own __builtin_prefetch no effect in its model of a function, so a function whose other
// statements are only loads is taken for one without effects and calls to it are dropped (the move's
// look-ahead of the molecules due was lost that way). The instruction is written here as an asm
// statement, which the compiler keeps where it stands.
#ifndef QR4T_BASE_PREFETCH_H
#define QR4T_BASE_PREFETCH_H

inline void prefetch_line(const void* p)
{
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    asm volatile("prefetcht0 (%0)" : : "r"(p));
#else
    __builtin_prefetch(p);
#endif
}

#endif
