// The 1-based, field-major array type.
#include "base/array.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <type_traits>

// AddressSanitizer would end the process on an absurd allocation instead of letting new (nothrow)
// return nullptr; the test of allocation failure needs the nullptr.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}

namespace {

TEST(Array, SubscriptsAreOneBasedAndFieldMajor)
{
    Array<int, 3> a;
    ASSERT_TRUE(a.allocate(4, 3, 2));
    EXPECT_EQ(a.size(), 24u);
    EXPECT_EQ(a.bytes(), 96u);
    EXPECT_EQ(a.extent(1), 4);
    EXPECT_EQ(a.extent(3), 2);
    // the first subscript varies fastest
    EXPECT_EQ(a.offset(1, 1, 1), 0u);
    EXPECT_EQ(a.offset(2, 1, 1), 1u);
    EXPECT_EQ(a.offset(1, 2, 1), 4u);
    EXPECT_EQ(a.offset(1, 1, 2), 12u);
    EXPECT_EQ(a.offset(4, 3, 2), 23u);
    a(3, 2, 2) = 7;
    EXPECT_EQ(a.data()[a.offset(3, 2, 2)], 7);
    EXPECT_EQ(a.data()[2 + 4 * 1 + 12 * 1], 7);
}

TEST(Array, AllocationZeroFillsAndReallocationStartsAfresh)
{
    Array<double, 2> a;
    EXPECT_FALSE(a.allocated());
    ASSERT_TRUE(a.allocate(3, 5));
    for (double v : a)
        EXPECT_EQ(v, 0.0);
    a.fill(2.5);
    ASSERT_TRUE(a.allocate(2, 2));
    EXPECT_EQ(a.size(), 4u);
    for (double v : a)
        EXPECT_EQ(v, 0.0);
    a.deallocate();
    EXPECT_FALSE(a.allocated());
    EXPECT_EQ(a.extent(1), 0);
}

TEST(Array, NegativeExtentCountsAsZeroButIsAllocated)
{
    Array<float, 2> a;
    ASSERT_TRUE(a.allocate(4, -3));
    EXPECT_TRUE(a.allocated());
    EXPECT_EQ(a.extent(1), 4);
    EXPECT_EQ(a.extent(2), 0);
    EXPECT_EQ(a.size(), 0u);
    EXPECT_EQ(a.bytes(), 0u);
    EXPECT_EQ(a.begin(), a.end());
}

TEST(Array, AbsurdSizesReportFailure)
{
    Array<double, 3> overflow;
    EXPECT_FALSE(overflow.allocate(2147483647, 2147483647, 2147483647));  // size_t overflow
    EXPECT_FALSE(overflow.allocated());
    Array<int, 1> too_long;
    EXPECT_FALSE(too_long.allocate(3000000000LL));  // extent beyond a 4-byte integer
    Array<char, 2> too_big;
    EXPECT_FALSE(too_big.allocate(2147483647, 1 << 20));  // 2 PiB: memory short
    EXPECT_FALSE(too_big.allocated());
    EXPECT_EQ(too_big.extent(1), 0);
}

// Copying is explicit (a missing & no longer copies a store): the type cannot be copied implicitly.
static_assert(!std::is_copy_constructible_v<Array<int, 1>> && !std::is_copy_assignable_v<Array<int, 1>>);
static_assert(std::is_nothrow_move_constructible_v<Array<int, 1>>);

TEST(Array, ClonesAreIndependent)
{
    Array<int, 1> a;
    ASSERT_TRUE(a.allocate(3));
    a(2) = 5;
    Array<int, 1> b = a.clone();
    b(2) = 6;
    EXPECT_EQ(a(2), 5);
    EXPECT_EQ(b(2), 6);
    EXPECT_EQ(b.extent(1), 3);
    Array<int, 1> empty;
    b = empty.clone();
    EXPECT_FALSE(b.allocated());
}

}  // namespace
