// The kernel's physical constants as 4-byte reals: 2/k has three spellings in the formulas that use it
// (1.448645510250533e23, 1.44864551e23, 1.44864553e23); all of them are one float, so every temperature
// formed from an energy per degree of freedom uses the same factor.
#include "app/kernel/constants.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

namespace {

TEST(KernelConstants, TwoOverBoltzmannIsOneFloat)
{
    EXPECT_EQ(std::bit_cast<std::uint32_t>(TWO_OVER_BOLTZ), 0x65F568FCu);
    for (double spelling : {1.448645510250533e23, 1.44864551e23, 1.44864553e23})
        EXPECT_EQ(static_cast<float>(spelling), TWO_OVER_BOLTZ) << spelling;
    // It is 2 / k of the constant that the kernel uses for k, to the float's rounding.
    EXPECT_NEAR(double(TWO_OVER_BOLTZ) * BOLTZ, 2.0, 2.0 * 1.2e-7);
    EXPECT_NEAR(double(BOLTZ2) / BOLTZ, 2.0, 2.0 * 1.2e-7);
}

}  // namespace
