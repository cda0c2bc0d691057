#include "imageio/DamagedImages.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace velo {

namespace {

struct Cursor {
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;

    bool atEnd() const { return position >= bytes.size(); }
};

int readBytes(GifFileType* gif, GifByteType* to, int wanted) {
    auto* cursor = static_cast<Cursor*>(gif->UserData);
    std::size_t n = std::min(cursor->bytes.size() - cursor->position, std::size_t(wanted));
    std::memcpy(to, cursor->bytes.data() + cursor->position, n);
    cursor->position += n;
    return static_cast<int>(n);
}

struct GifClose {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

std::string reasonOf(int error) {
    if (error == D_GIF_ERR_READ_FAILED || error == D_GIF_ERR_EOF_TOO_SOON) {
        return "the GIF data ends early";
    }
    const char* text = GifErrorString(error);
    return std::string("the GIF data is damaged (") + (text ? text : "unknown error") + ")";
}

// Empty when the frame's lines all decode; otherwise what is missing of it.
std::string frameDamage(GifFileType* gif, int frame) {
    if (DGifGetImageDesc(gif) == GIF_ERROR) {
        return reasonOf(gif->Error);
    }
    int wide = std::max(gif->Image.Width, 1), high = gif->Image.Height;
    std::vector<GifPixelType> line(static_cast<std::size_t>(wide));
    for (int y = 0; y < high; ++y) {
        if (DGifGetLine(gif, line.data(), wide) == GIF_ERROR) {
            if (frame > 0) {
                return reasonOf(gif->Error) + ": frame " + std::to_string(frame + 1) +
                       " and any after it are incomplete";
            }
            return reasonOf(gif->Error) + ": " + std::to_string(y) + " of " + std::to_string(high) +
                   " lines could be read";
        }
    }
    return {};
}

std::string extensionDamage(GifFileType* gif) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) {
        return reasonOf(gif->Error);
    }
    while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) {
            return reasonOf(gif->Error);
        }
    }
    return {};
}

} // namespace

// Walks every record with giflib, decoding each frame's lines. Data that
// stops exactly after a whole frame counts as whole: many writers leave out
// the closing byte.
std::string gifDamage(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 6 || (std::memcmp(bytes.data(), "GIF87a", 6) != 0 &&
                             std::memcmp(bytes.data(), "GIF89a", 6) != 0)) {
        return {};
    }
    Cursor cursor{bytes};
    int error = 0;
    std::unique_ptr<GifFileType, GifClose> gif(DGifOpen(&cursor, readBytes, &error));
    if (!gif) {
        return reasonOf(error);
    }
    for (int frame = 0;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        bool endedBetweenRecords = cursor.atEnd();
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) {
            return endedBetweenRecords && frame > 0 ? std::string() : reasonOf(gif->Error);
        }
        std::string damage;
        if (type == IMAGE_DESC_RECORD_TYPE) {
            damage = frameDamage(gif.get(), frame++);
        } else if (type == EXTENSION_RECORD_TYPE) {
            damage = extensionDamage(gif.get());
        } else if (type == TERMINATE_RECORD_TYPE) {
            return {};
        }
        if (!damage.empty()) {
            return damage;
        }
    }
}

} // namespace velo
