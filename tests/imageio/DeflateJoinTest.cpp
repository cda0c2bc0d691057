#include "imageio/DeflateJoin.h"

#include <libdeflate.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <random>

namespace velo {
namespace {

std::vector<std::uint8_t> deflated(const std::vector<std::uint8_t>& data, int level) {
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(level);
    std::vector<std::uint8_t> out(libdeflate_deflate_compress_bound(compressor, data.size()));
    out.resize(
        libdeflate_deflate_compress(compressor, data.data(), data.size(), out.data(), out.size()));
    libdeflate_free_compressor(compressor);
    return out;
}

std::vector<std::uint8_t> inflated(const std::vector<std::uint8_t>& stream, std::size_t size) {
    std::vector<std::uint8_t> out(size + 1);
    z_stream z{};
    inflateInit2(&z, -MAX_WBITS);
    z.next_in = const_cast<std::uint8_t*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
    EXPECT_EQ(z.avail_in, 0u) << "bytes after the end";
    out.resize(out.size() - z.avail_out);
    inflateEnd(&z);
    return out;
}

// Pieces of every kind libdeflate makes blocks of, in sizes that end them
// on every bit of a byte: joined, they inflate to the pieces in order.
TEST(DeflateJoin, StreamsJoinIntoOne) {
    std::mt19937 random(7);
    std::vector<std::vector<std::uint8_t>> pieces;
    for (int i = 0; i < 40; ++i) {
        std::vector<std::uint8_t> piece(static_cast<std::size_t>(random() % 400000 + 1));
        for (std::size_t k = 0; k < piece.size(); ++k) {
            int kind = i % 4;
            piece[k] = static_cast<std::uint8_t>(kind == 0   ? random()
                                                 : kind == 1 ? k % 7
                                                 : kind == 2 ? (random() % 5) * 3
                                                             : 0);
        }
        pieces.push_back(std::move(piece));
    }
    for (int level : {1, 6, 9, 12}) {
        std::vector<std::uint8_t> joined, expected;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            std::vector<std::uint8_t> stream = deflated(pieces[i], level);
            if (i + 1 < pieces.size()) {
                ASSERT_TRUE(makeJoinable(stream));
            }
            joined.insert(joined.end(), stream.begin(), stream.end());
            expected.insert(expected.end(), pieces[i].begin(), pieces[i].end());
        }
        EXPECT_TRUE(inflated(joined, expected.size()) == expected) << "level " << level;
    }
}

TEST(DeflateJoin, RefusesWhatIsNoCompleteStream) {
    std::vector<std::uint8_t> stream = deflated(std::vector<std::uint8_t>(5000, 3), 6);
    std::vector<std::uint8_t> cut(stream.begin(), stream.end() - 1);
    EXPECT_FALSE(makeJoinable(cut));
    std::vector<std::uint8_t> longer = stream;
    longer.push_back(0);
    EXPECT_FALSE(makeJoinable(longer));
    std::vector<std::uint8_t> empty;
    EXPECT_FALSE(makeJoinable(empty));
}

} // namespace
} // namespace velo
