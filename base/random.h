// The run's uniform random numbers on (0, 1): a combined multiplicative congruential generator,
//   s1 = 40014 s1 mod 2147483563,  s2 = 40692 s2 mod 2147483399,
//   z = s1 - s2 (+ 2147483562 when z < 1),  result z * 2^-31 (exact in a double).
// One process-wide state, starting at (2147483562, 2147483398) and never reseeded, so every run draws
// the same sequence. Tests may save and restore the state.
#ifndef QR4T_BASE_RANDOM_H
#define QR4T_BASE_RANDOM_H

#include <cstdint>

struct RandomState {
    int32_t s1 = 2147483562;
    int32_t s2 = 2147483398;
};

extern RandomState RANDOM_STATE;

// Next uniform random number of the run.
inline double random_uniform()
{
    RandomState& st = RANDOM_STATE;
    st.s1 = static_cast<int32_t>((40014LL * st.s1) % 2147483563LL);
    st.s2 = static_cast<int32_t>((40692LL * st.s2) % 2147483399LL);
    int32_t z = st.s1 - st.s2;
    if (z < 1)
        z += 2147483562;
    return z * (1.0 / 2147483648.0);
}

#endif
