// The run's uniform random numbers on (0, 1): a combined multiplicative congruential generator,
//   s1 = 40014 s1 mod 2147483563,  s2 = 40692 s2 mod 2147483399,
//   z = s1 - s2 (+ 2147483562 when z < 1),  result z * 2^-31 (exact in a double).
// One process-wide state, starting at (2147483562, 2147483398) and never reseeded, so every run draws
// the same sequence. Tests may save and restore the state.
#ifndef QR4T_BASE_RANDOM_H
#define QR4T_BASE_RANDOM_H

#include <cassert>
#include <cstdint>

struct RandomState {
    int32_t s1 = 2147483562;
    int32_t s2 = 2147483398;
};

extern RandomState RANDOM_STATE;

namespace random_detail {

// a s mod m for a modulus m = 2^31 - c, without a 64-bit division: with a s = h 2^31 + l, 2^31 = c
// (mod m) gives a s = h c + l (mod m), and h c + l < 2m for a < 2^16, so one subtraction finishes it.
// Equal to (a s) % m for every state 0 .. 2^31 - 1; the run's states stay in 1 .. m - 1.
inline int32_t lcg_step(int32_t s, uint64_t a, uint64_t c)
{
    assert(s >= 0 && "random state is never negative");
    const uint64_t m = (uint64_t(1) << 31) - c;
    const uint64_t x = a * static_cast<uint64_t>(s);
    const uint64_t r = (x >> 31) * c + (x & 0x7fffffff);
    return static_cast<int32_t>(r >= m ? r - m : r);
}

}  // namespace random_detail

// Next uniform random number of the run.
inline double random_uniform()
{
    RandomState& st = RANDOM_STATE;
    st.s1 = random_detail::lcg_step(st.s1, 40014, 85);   // mod 2147483563
    st.s2 = random_detail::lcg_step(st.s2, 40692, 249);  // mod 2147483399
    int32_t z = st.s1 - st.s2;
    if (z < 1)
        z += 2147483562;
    return z * (1.0 / 2147483648.0);
}

#endif
