#pragma once

#include <cstddef>
#include <cstdint>

// Each fuzz target as a plain function, so that the fuzzers and the replay
// of their findings in the test suite run the very same code.
namespace velo::fuzz {

int archiver(const std::uint8_t* data, std::size_t size);
int document(const std::uint8_t* data, std::size_t size);
int adjustmentDictionary(const std::uint8_t* data, std::size_t size);
int mapParser(const std::uint8_t* data, std::size_t size);
int image(const std::uint8_t* data, std::size_t size);

} // namespace velo::fuzz
