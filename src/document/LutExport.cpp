#include "document/LutExport.h"

#include "engine/FastPass.h"
#include "engine/PixelMover.h"
#include "imageio/ImageEncoder.h"
#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <ostream>
#include <vector>

namespace velo {

namespace {

void appendFloat(std::string& line, float v) {
    char text[64];
    // Adding zero turns -0 into 0: no "-0" in the file.
    char* end = std::to_chars(text, text + sizeof text, v + 0.0f, std::chars_format::fixed).ptr;
    line.append(text, end);
}

// The title between quotes, which it cannot hold itself, on one line.
std::string quotedTitle(std::string title) {
    std::replace_if(
        title.begin(), title.end(), [](char c) { return c == '"' || c == '\n' || c == '\r'; },
        '\'');
    return "\"" + title + "\"";
}

std::vector<float> gridValues(int size) {
    std::vector<float> values(size);
    for (int i = 0; i < size; ++i) {
        values[i] = static_cast<float>(i) / static_cast<float>(size - 1);
    }
    return values;
}

std::optional<std::string> writeCubeFile(const std::filesystem::path& path,
                                         std::span<const ColorAdjustment> adjustments, int size,
                                         const std::string& title) {
    std::string error;
    std::optional<AtomicFile> file = AtomicFile::create(path, error);
    if (!file) {
        return error;
    }
    errno = 0; // the stream keeps no reason; the failed write leaves it here
    std::ofstream out(file->temporaryPath(), std::ios::binary);
    writeCube(out, adjustments, size, title);
    out.close();
    if (!out) {
        return "cannot write " + path.string() +
               (errno ? ": " + std::string(std::strerror(errno)) : "");
    }
    return file->commit();
}

} // namespace

void writeCube(std::ostream& out, std::span<const ColorAdjustment> adjustments, int size,
               const std::string& title) {
    out << "TITLE " << quotedTitle(title) << "\n"
        << "LUT_3D_SIZE " << size << "\n"
        << "DOMAIN_MIN 0 0 0\n"
        << "DOMAIN_MAX 1 1 1\n";
    std::vector<float> grid = gridValues(size);
    PixelMover mover(adjustments);
    std::string line;
    for (float blue : grid) {
        for (float green : grid) {
            for (float red : grid) {
                RGBA moved = mover.move({red, green, blue, 1.0f});
                line.clear();
                appendFloat(line, moved.r);
                line += ' ';
                appendFloat(line, moved.g);
                line += ' ';
                appendFloat(line, moved.b);
                line += '\n';
                out << line;
            }
        }
    }
}

std::uint8_t haldStepByte(int step, int steps) {
    int last = steps - 1;
    return static_cast<std::uint8_t>((510 * step + last) / (2 * last));
}

Bitmap identityHald(int level) {
    int steps = level * level;
    int side = steps * level;
    std::vector<std::uint8_t> bytes(steps);
    for (int k = 0; k < steps; ++k) {
        bytes[k] = haldStepByte(k, steps);
    }
    Bitmap hald(side, side, 3, false, false, kDeviceRGBColorSpace);
    hald.setOpaque(true);
    std::size_t pixel = 0;
    for (int y = 0; y < side; ++y) {
        std::uint8_t* sample = hald.plane(0) + static_cast<std::size_t>(y) * hald.bytesPerRow();
        for (int x = 0; x < side; ++x, ++pixel) {
            *sample++ = bytes[pixel % steps];
            *sample++ = bytes[pixel / steps % steps];
            *sample++ = bytes[pixel / (static_cast<std::size_t>(steps) * steps)];
        }
    }
    return hald;
}

Bitmap recolouredHald(std::span<const ColorAdjustment> adjustments, int level) {
    Bitmap identity = identityHald(level);
    Bitmap recoloured(identity.pixelsWide(), identity.pixelsHigh(), 3, false, false,
                      kDeviceRGBColorSpace);
    recoloured.setOpaque(true);
    calcRangeFast({0, static_cast<std::uint32_t>(identity.pixelsHigh())}, &identity, &recoloured,
                  adjustments);
    return recoloured;
}

bool dependsOnAlpha(std::span<const ColorAdjustment> adjustments) {
    return std::any_of(adjustments.begin(), adjustments.end(), [](const ColorAdjustment& a) {
        bool matchesAlpha = a.readsMask() && (a.componentsMask() & kAlphaBit) != 0;
        return matchesAlpha || a.sourceRGBA().a != 1.0f || a.targetRGBA().a != 1.0f;
    });
}

std::optional<std::string> writeLut(const std::filesystem::path& path,
                                    std::span<const ColorAdjustment> adjustments,
                                    const LutSettings& settings, const std::string& title) {
    if (settings.format == LutFormat::Cube) {
        return writeCubeFile(path, adjustments, settings.size, title);
    }
    EncodedData png =
        encodeImage(recolouredHald(adjustments, settings.level), ImageFileType::PNG, 1);
    if (!png.data) {
        return png.error;
    }
    return writeFileAtomically(path, *png.data);
}

} // namespace velo
