#include "engine/ChunkHandout.h"

#include <gtest/gtest.h>

#include <vector>

namespace velo {
namespace {

std::vector<LineRange> sweep(int height, std::vector<std::string>* titles = nullptr) {
    LineRange dirty{0, static_cast<std::uint32_t>(height)};
    std::vector<LineRange> chunks;
    int size = chunkSizeForHeight(height);
    while (dirty.length != 0) {
        chunks.push_back(takeChunk(dirty, height, size));
        if (titles && dirty.length != 0) {
            titles->push_back(progressTitle(dirty, height));
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
    std::vector<std::string> titles;
    std::vector<LineRange> chunks = sweep(251, &titles);
    ASSERT_EQ(chunks.size(), 10u);
    EXPECT_EQ(chunks.back(), (LineRange{234, 26}));
    EXPECT_EQ(titles.back(), "adjusting 92%");

    EXPECT_EQ(sweep(5), (std::vector<LineRange>{{0, 10}}));
}

TEST(ChunkHandout, AnExhaustedRangeGivesAnEmptyChunk) {
    LineRange dirty{0, 0};
    EXPECT_EQ(takeChunk(dirty, 0, 10), (LineRange{0, 0}));
    EXPECT_EQ(dirty, (LineRange{0, 0}));
    LineRange beyond{300, 5};
    EXPECT_EQ(takeChunk(beyond, 250, 25), (LineRange{250, 0}));
}

TEST(ChunkHandout, TitlesShowProgressOrTheFileName) {
    EXPECT_EQ(progressTitle({101, 149}, 250), "adjusting 40%");
    EXPECT_EQ(restingTitle(""), "Untitled");
    EXPECT_EQ(restingTitle("/"), "Untitled");
    EXPECT_EQ(restingTitle("/home/ann/sunset.velo"), "sunset.velo");
}

} // namespace
} // namespace velo
