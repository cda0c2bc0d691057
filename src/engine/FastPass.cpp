#include "engine/FastPass.h"

#include "color/PixelAccess.h"
#include "engine/AdjustmentPass.h"
#include "engine/FastPassPlan.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace velo {

namespace {

constexpr std::size_t kBlock = 256; // pixels computed together, a multiple of any lane count

float largestFloatBelow(double threshold) {
    float f = static_cast<float>(threshold);
    while (static_cast<double>(f) >= threshold) {
        f = std::nextafter(f, -std::numeric_limits<float>::infinity());
    }
    return f;
}

// Every byte k as the float nearest to k / 255.0, as pixel reads make it.
const std::array<float, 256>& byteFloats() {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> t{};
        for (int k = 0; k < 256; ++k) {
            t[k] = byteToFloat(static_cast<std::uint8_t>(k));
        }
        return t;
    }();
    return table;
}

FastAdjustment fastAdjustment(const ColorAdjustment& a) {
    FastAdjustment f;
    f.usesHSB = a.usesHSB();
    f.mask = a.componentsMask();
    RGBA s = a.sourceRGBA(), t = a.targetRGBA();
    HSBA sh = a.sourceHSBA(), th = a.targetHSBA();
    float source[4] = {s.r, s.g, s.b, s.a}, target[4] = {t.r, t.g, t.b, t.a};
    float sourceHSB[4] = {sh.h, sh.s, sh.b, sh.a}, targetHSB[4] = {th.h, th.s, th.b, th.a};
    for (int i = 0; i < 4; ++i) {
        f.source[i] = source[i];
        f.difference[i] = target[i] - source[i];
        f.sourceHSB[i] = sourceHSB[i];
        f.differenceHSB[i] = targetHSB[i] - sourceHSB[i];
    }
    return f;
}

bool isMeshedWithoutPadding(const Bitmap& b) {
    return !b.isPlanar() && b.bitsPerPixel() == 8 * b.samplesPerPixel();
}

struct Block {
    alignas(64) float r[kBlock], g[kBlock], b[kBlock], a[kBlock];
    PixelArrays arrays() { return {r, g, b, a}; }
};

struct ByteBlock {
    alignas(64) std::int32_t r[kBlock], g[kBlock], b[kBlock], a[kBlock];
};

// Reads n pixels of a row into floats with straight alpha; the rest of the
// block repeats the last pixel so every lane computes something valid.
void readPixels(const std::uint8_t* row, int samples, std::size_t n, Block& block) {
    const std::array<float, 256>& f = byteFloats();
    for (std::size_t x = 0; x < n; ++x) {
        const std::uint8_t* p = row + x * samples;
        switch (samples) {
        case 1:
            block.r[x] = block.g[x] = block.b[x] = f[p[0]];
            block.a[x] = 1.0f;
            break;
        case 2:
            block.r[x] = block.g[x] = block.b[x] = f[p[0]];
            block.a[x] = f[p[1]];
            break;
        case 3:
            block.r[x] = f[p[0]];
            block.g[x] = f[p[1]];
            block.b[x] = f[p[2]];
            block.a[x] = 1.0f;
            break;
        default:
            block.r[x] = f[p[0]];
            block.g[x] = f[p[1]];
            block.b[x] = f[p[2]];
            block.a[x] = f[p[3]];
        }
    }
    for (std::size_t x = n; x < kBlock; ++x) {
        block.r[x] = block.r[0];
        block.g[x] = block.g[0];
        block.b[x] = block.b[0];
        block.a[x] = block.a[0];
    }
    if (samples == 2 || samples == 4) {
        unpremultiply(block.arrays(), kBlock);
    }
}

void writePixels(const ByteBlock& bytes, int samples, std::size_t n, std::uint8_t* row) {
    for (std::size_t x = 0; x < n; ++x) {
        std::uint8_t* p = row + x * samples;
        p[0] = static_cast<std::uint8_t>(bytes.r[x]);
        switch (samples) {
        case 2:
            p[1] = static_cast<std::uint8_t>(bytes.a[x]);
            break;
        case 3:
            p[1] = static_cast<std::uint8_t>(bytes.g[x]);
            p[2] = static_cast<std::uint8_t>(bytes.b[x]);
            break;
        case 4:
            p[1] = static_cast<std::uint8_t>(bytes.g[x]);
            p[2] = static_cast<std::uint8_t>(bytes.b[x]);
            p[3] = static_cast<std::uint8_t>(bytes.a[x]);
            break;
        default:
            break;
        }
    }
}

} // namespace

const Thresholds& thresholds() {
    static const Thresholds t{largestFloatBelow(1e-7), largestFloatBelow(1e-6),
                              largestFloatBelow(0.9999999)};
    return t;
}

PassPlan makePassPlan(std::span<const ColorAdjustment> adjustments) {
    PassPlan plan;
    plan.ordered.resize(adjustments.size());
    std::size_t rising = 0, falling = adjustments.size();
    for (const ColorAdjustment& a : adjustments) {
        plan.ordered[a.usesHSB() ? --falling : rising++] = fastAdjustment(a);
    }
    plan.needsHSB = !plan.ordered.empty() && plan.ordered.back().usesHSB;
    plan.startsWithRGB = plan.ordered.empty() || !plan.ordered.front().usesHSB;
    return plan;
}

bool hasFastPath(const Bitmap& source, const Bitmap& destination) {
    return isMeshedWithoutPadding(source) && isMeshedWithoutPadding(destination) &&
           source.pixelsWide() == destination.pixelsWide() &&
           source.pixelsHigh() == destination.pixelsHigh();
}

void calcRangeFast(LineRange range, const Bitmap* source, Bitmap* destination,
                   std::span<const ColorAdjustment> adjustments) {
    if (!source || !destination) {
        return;
    }
    if (!hasFastPath(*source, *destination)) {
        calcRange(range, source, destination, adjustments);
        return;
    }
    PassPlan plan = makePassPlan(adjustments);
    std::vector<float> scratch(std::max<std::size_t>(plan.ordered.size(), 1) * kernelLanes());
    auto in = std::make_unique<Block>();
    auto out = std::make_unique<Block>();
    auto bytes = std::make_unique<ByteBlock>();
    const int height = source->pixelsHigh();
    const int width = source->pixelsWide();
    const int inSamples = source->samplesPerPixel();
    const int outSamples = destination->samplesPerPixel();
    const bool premultiply = destination->hasAlpha();
    std::uint64_t end = std::min<std::uint64_t>(static_cast<std::uint64_t>(height), range.end());
    for (std::uint64_t line = range.location; line < end; ++line) {
        std::size_t row = static_cast<std::size_t>(height - 1 - static_cast<int>(line));
        const std::uint8_t* from = source->plane(0) + row * source->bytesPerRow();
        std::uint8_t* to = destination->plane(0) + row * destination->bytesPerRow();
        for (int x = 0; x < width; x += static_cast<int>(kBlock)) {
            std::size_t n = std::min<std::size_t>(kBlock, static_cast<std::size_t>(width - x));
            readPixels(from + static_cast<std::size_t>(x) * inSamples, inSamples, n, *in);
            adjustPixels(plan, in->arrays(), out->arrays(), kBlock, scratch.data());
            pixelsToBytes(out->arrays(), premultiply, bytes->r, bytes->g, bytes->b, bytes->a,
                          kBlock);
            writePixels(*bytes, outSamples, n, to + static_cast<std::size_t>(x) * outSamples);
        }
    }
}

} // namespace velo
