// The build keeps every rounding to 4 bytes that the code writes. The kernel forms many values in 8
// bytes and rounds them to 4, often two or three axes side by side; GCC 12's straight-line vectorizer,
// when on, packs such statements into one register and drops the rounding. This file is compiled with
// optimisation even in the Debug build (see CMakeLists.txt), so that a build without the project's
// guard against it fails here.
#include <gtest/gtest.h>

#include <cstring>

namespace {

// 1 / (hi - lo) rounded to 4 bytes, times n, for two sides at once, as the sub-cell sort forms its
// factors.
[[gnu::noinline]] void two_side_factors(const float* lo, const float* hi, int n, double* out)
{
    out[0] = n * double(static_cast<float>(1.0 / (double(hi[0]) - lo[0])));
    out[1] = n * double(static_cast<float>(1.0 / (double(hi[1]) - lo[1])));
}

// The same for one side: nothing to pack.
[[gnu::noinline]] double one_side_factor(float lo, float hi, int n)
{
    const float w = static_cast<float>(1.0 / (double(hi) - lo));
    volatile float kept = w;  // held in memory as 4 bytes
    return n * double(kept);
}

bool same_bits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(FloatRounding, NeighbouringStatementsKeepTheirRoundingToFourBytes)
{
    struct Sides {
        float lo[2], hi[2];
        int n;
    };
    const Sides cases[] = {
        {{0.1f, 0.3f}, {0.7f, 0.9f}, 2},              // reciprocals 5/3 and 5/3, not 4-byte values
        {{-0.2f, 0.0f}, {-0.19333333f, 0.0005f}, 2},  // small cells of the transitional lattice
        {{0.0f, 1.0f}, {3.0f, 1.1f}, 3},
        {{12.5f, -7.25f}, {12.75f, -7.0f}, 4},  // exact quarters: nothing to round
    };
    for (const Sides& c : cases) {
        double out[2];
        two_side_factors(c.lo, c.hi, c.n, out);
        for (int a = 0; a < 2; ++a)
            EXPECT_TRUE(same_bits(out[a], one_side_factor(c.lo[a], c.hi[a], c.n)))
                << "side " << a << " from " << c.lo[a] << " to " << c.hi[a] << ": " << out[a];
    }
}

}  // namespace
