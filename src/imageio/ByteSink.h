#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velo {

// Where an encoder puts a file's bytes: a file or memory. Bytes can be
// written anywhere, so that a header or rows stored bottom-up go in place.
class ByteSink {
  public:
    virtual ~ByteSink() = default;

    virtual bool writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) = 0;
    // How many bytes were read (fewer past the end).
    virtual std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> bytes) = 0;
    virtual std::uint64_t size() const = 0;
    // Ends the writing: nothing, or why the bytes may not all be there.
    virtual std::optional<std::string> close() = 0;
    // Why a write failed, in the system's words ("No space left on device");
    // empty while none has.
    virtual std::string failure() const { return {}; }

    bool append(std::span<const std::uint8_t> bytes) { return writeAt(size(), bytes); }
};

class MemorySink final : public ByteSink {
  public:
    bool writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override;
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> bytes) override;
    std::uint64_t size() const override { return bytes_.size(); }
    std::optional<std::string> close() override { return std::nullopt; }

    std::vector<std::uint8_t>& bytes() { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
};

// Creates (or empties) the file; null with the reason when it cannot.
std::shared_ptr<ByteSink> openFileSink(const std::filesystem::path& path, std::string& error);

} // namespace velo
