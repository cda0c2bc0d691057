#include "engine/ChunkHandout.h"

#include <gtest/gtest.h>

#include <vector>

namespace velo {
namespace {

std::vector<LineRange> sweep(int height, std::vector<float>* shares = nullptr) {
    LineRange dirty{0, static_cast<std::uint32_t>(height)};
    std::vector<LineRange> chunks;
    int size = chunkSizeForHeight(height);
    while (dirty.length != 0) {
        chunks.push_back(takeChunk(dirty, height, size));
        if (shares && dirty.length != 0) {
            shares->push_back(handedOutShare(dirty, height));
        }
    }
    return chunks;
}

TEST(ChunkHandout, ChunkSizeIsATenthOfTheHeightAtLeastTen) {
    EXPECT_EQ(chunkSizeForHeight(1000), 100);
    EXPECT_EQ(chunkSizeForHeight(95), 10);
    EXPECT_EQ(chunkSizeForHeight(101), 11);
    EXPECT_EQ(chunkSizeForHeight(0), 10);
}

TEST(ChunkHandout, SweepsFromTheBottomInEqualChunks) {
    std::vector<LineRange> chunks = sweep(250);
    ASSERT_EQ(chunks.size(), 10u);
    for (std::uint32_t i = 0; i < 10; ++i) {
        EXPECT_EQ(chunks[i], (LineRange{25 * i, 25}));
    }
    LineRange dirty{0, 250};
    for (int i = 0; i < 10; ++i) {
        takeChunk(dirty, 250, 25);
    }
    EXPECT_EQ(dirty, (LineRange{250, 0}));
}

TEST(ChunkHandout, TheLastChunkMayReachPastTheImage) {
    std::vector<float> shares;
    std::vector<LineRange> chunks = sweep(251, &shares);
    ASSERT_EQ(chunks.size(), 10u);
    EXPECT_EQ(chunks.back(), (LineRange{234, 26}));
    // 234 of 251 lines handed out, over the height and two.
    EXPECT_EQ(shares.back(), 234.0f / 253.0f);

    EXPECT_EQ(sweep(5), (std::vector<LineRange>{{0, 10}}));
}

TEST(ChunkHandout, AnExhaustedRangeGivesAnEmptyChunk) {
    LineRange dirty{0, 0};
    EXPECT_EQ(takeChunk(dirty, 0, 10), (LineRange{0, 0}));
    EXPECT_EQ(dirty, (LineRange{0, 0}));
    LineRange beyond{300, 5};
    EXPECT_EQ(takeChunk(beyond, 250, 25), (LineRange{250, 0}));
}

TEST(ChunkHandout, ProgressIsTheShareOfLinesHandedOut) {
    EXPECT_EQ(handedOutShare({101, 149}, 250), 101.0f / 252.0f);
    EXPECT_EQ(handedOutShare({0, 250}, 250), 0.0f);
}

} // namespace
} // namespace velo
