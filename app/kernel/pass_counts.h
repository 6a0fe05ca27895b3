// Counts of the passes in which a clock surely stays not due, kept by the move (one per molecule) and
// by the collisions (one per cell) so that a pass need not read the clocks of what it will not move or
// collide. A clock c of step DTC, after its turn in the pass at flow time TIME, is due in a later pass k
// (at TIME + k DTM) only when k DTM > c + DTC - TIME, so not in the next r = (c + DTC - TIME) / DTM
// passes. The count is the whole passes of r less SKIP_MARGIN (far more than the roundings of the flow
// time's sums and of the due test), at most 255.
#ifndef QR4T_APP_KERNEL_PASS_COUNTS_H
#define QR4T_APP_KERNEL_PASS_COUNTS_H

#include <bit>
#include <cmath>
#include <cstdint>

// A thousandth of a pass, and more: see above.
constexpr double SKIP_MARGIN = 1.0 / 1024.0;

// 1 / DTM, or 0 when DTM is not a positive number (then every count is 0 and nothing is passed by).
inline double skip_rate(double dtm)
{
    return dtm > 0.0 && std::isfinite(dtm) ? 1.0 / dtm : 0.0;
}

// The passes after its turn at `time` in which a clock `clock` of step `step` surely stays not due
// (see above); 0 when not even the next one is sure. per_dtm is skip_rate(DTM).
inline int passes_surely_not_due(double clock, float step, double time, double per_dtm)
{
    const double r = (clock + step - time) * per_dtm - SKIP_MARGIN;
    return r < 1.0 ? 0 : r >= 255.0 ? 255 : static_cast<int>(r);
}

// Eight counts at a time: the counts of n .. n + 7 as one 8-byte word, that of n in its lowest byte;
// SKIP_ONES counts each of them down by 1.
static_assert(std::endian::native == std::endian::little);
constexpr uint64_t SKIP_ONES = 0x0101010101010101ULL;

#endif
