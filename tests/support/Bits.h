#pragma once

#include "color/ColorRecords.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

namespace velo::test {

inline std::uint32_t bits(float f) {
    return std::bit_cast<std::uint32_t>(f);
}

// Colours compare by bit pattern: the arithmetic is exact, so is the test.
#define EXPECT_SAME_FLOAT(a, b)                                                                    \
    EXPECT_EQ(::velo::test::bits(a), ::velo::test::bits(b)) << (a) << " vs " << (b)

#define EXPECT_SAME_RGBA(c, r_, g_, b_, a_)                                                        \
    do {                                                                                           \
        ::velo::RGBA c_ = (c);                                                                     \
        EXPECT_SAME_FLOAT(c_.r, float(r_));                                                        \
        EXPECT_SAME_FLOAT(c_.g, float(g_));                                                        \
        EXPECT_SAME_FLOAT(c_.b, float(b_));                                                        \
        EXPECT_SAME_FLOAT(c_.a, float(a_));                                                        \
    } while (0)

#define EXPECT_SAME_HSBA(c, h_, s_, b_, a_)                                                        \
    do {                                                                                           \
        ::velo::HSBA c_ = (c);                                                                     \
        EXPECT_SAME_FLOAT(c_.h, float(h_));                                                        \
        EXPECT_SAME_FLOAT(c_.s, float(s_));                                                        \
        EXPECT_SAME_FLOAT(c_.b, float(b_));                                                        \
        EXPECT_SAME_FLOAT(c_.a, float(a_));                                                        \
    } while (0)

} // namespace velo::test
