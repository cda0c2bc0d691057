#pragma once

#include <cstdint>
#include <vector>

namespace velo {

// Makes a complete raw deflate stream one that another can follow, so that
// streams compressed on their own join into one: its last block no longer
// marked final, and the stream brought to a byte boundary by an empty stored
// block (as zlib's sync flush ends one). libdeflate compresses whole buffers
// only and always ends them final; zlib's inflate finds where, bit for bit.
// False for bytes that are no complete deflate stream.
bool makeJoinable(std::vector<std::uint8_t>& stream);

} // namespace velo
