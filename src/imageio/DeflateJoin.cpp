#include "imageio/DeflateJoin.h"

#include <zlib.h>

#include <memory>

namespace velo {

namespace {

struct Inflater {
    z_stream stream{};
    bool ready = inflateInit2(&stream, -MAX_WBITS) == Z_OK;
    ~Inflater() {
        if (ready) {
            inflateEnd(&stream);
        }
    }
};

// Where a block's final bit lies: a byte and the bit's mask in it.
struct FinalBit {
    std::size_t byte = 0;
    std::uint8_t mask = 1;
};

// At a block boundary, the bit after the last one inflate consumed.
FinalBit nextBlockBit(const z_stream& stream, const std::uint8_t* start) {
    std::size_t consumed = static_cast<std::size_t>(stream.next_in - start);
    int unused = stream.data_type & 7;
    if (unused == 0) {
        return {consumed, 1};
    }
    return {consumed - 1, static_cast<std::uint8_t>(0x100 >> unused)};
}

} // namespace

bool makeJoinable(std::vector<std::uint8_t>& stream) {
    Inflater inflater;
    if (!inflater.ready || stream.empty()) {
        return false;
    }
    z_stream& z = inflater.stream;
    z.next_in = stream.data();
    z.avail_in = static_cast<uInt>(stream.size());
    auto scratch = std::make_unique<std::uint8_t[]>(1 << 16);
    FinalBit bit;
    bool last = stream[0] & 1;
    for (;;) {
        z.next_out = scratch.get();
        z.avail_out = 1 << 16;
        int result = inflate(&z, Z_BLOCK);
        if (result != Z_OK && result != Z_STREAM_END) {
            return false;
        }
        if (!(z.data_type & 128)) {
            if (result == Z_STREAM_END || (z.avail_in == 0 && z.avail_out != 0)) {
                return false;
            }
            continue;
        }
        if (last) {
            break;
        }
        bit = nextBlockBit(z, stream.data());
        if (bit.byte >= stream.size()) {
            return false;
        }
        last = stream[bit.byte] & bit.mask;
    }
    if (z.avail_in != 0) {
        return false;
    }
    stream[bit.byte] &= static_cast<std::uint8_t>(~bit.mask);
    // The header of an empty stored block takes three bits, then the rest
    // of its byte; the padding bits after the last code are zero already.
    int padding = z.data_type & 7;
    if (padding == 0) {
        return true;
    }
    if (padding < 3) {
        stream.push_back(0);
    }
    stream.insert(stream.end(), {0x00, 0x00, 0xff, 0xff});
    return true;
}

} // namespace velo
