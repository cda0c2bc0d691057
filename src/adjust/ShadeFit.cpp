#include "adjust/ShadeFit.h"

#include "color/PixelAccess.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velo {

namespace {

// The share of shades that must move fully, and the smallest extent: a flat
// patch's shades are one, but its neighbours' noise is not.
constexpr double kKeptShare = 0.98;
constexpr double kSmallestExtent = 0.02;

// The value at rank round(share × (n − 1)) of the values in ascending
// order; n > 0.
double rankedAt(std::vector<double> values, double share) {
    auto rank =
        static_cast<std::size_t>(std::floor(share * static_cast<double>(values.size() - 1) + 0.5));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(rank),
                     values.end());
    return values[rank];
}

double wideChroma(const OKLab& c) {
    return std::sqrt(static_cast<double>(c.a) * c.a + static_cast<double>(c.b) * c.b);
}

std::vector<OKLab> okLabOf(std::span<const RGBA> shades) {
    std::vector<OKLab> labs;
    labs.reserve(shades.size());
    for (const RGBA& shade : shades) {
        labs.push_back(rgbaToOKLab(shade));
    }
    return labs;
}

// Lightness and chroma at the middle of their 2nd to 98th percentiles, hue
// the direction of the mean a and b.
OKLab centreOf(const std::vector<OKLab>& labs) {
    std::vector<double> lightness, chroma;
    double a = 0, b = 0;
    for (const OKLab& c : labs) {
        lightness.push_back(c.L);
        chroma.push_back(wideChroma(c));
        a += c.a;
        b += c.b;
    }
    double L = (rankedAt(lightness, 1 - kKeptShare) + rankedAt(lightness, kKeptShare)) / 2;
    double C = (rankedAt(chroma, 1 - kKeptShare) + rankedAt(chroma, kKeptShare)) / 2;
    double length = std::sqrt(a * a + b * b);
    if (length < 1e-9) {
        return {static_cast<float>(L), 0.0f, 0.0f};
    }
    return {static_cast<float>(L), static_cast<float>(a / length * C),
            static_cast<float>(b / length * C)};
}

RGBA onByteValues(RGBA c) {
    auto rounded = [](float v) { return byteToFloat(nearestByte(v)); };
    return {rounded(c.r), rounded(c.g), rounded(c.b), rounded(c.a)};
}

struct Differences {
    std::vector<double> lightness, chroma, hue;
};

// |ΔL|, |ΔC| and ΔH of each shade from the source, as the reach measures them.
Differences differencesFrom(OKLab source, const std::vector<OKLab>& labs) {
    double sourceChroma = wideChroma(source);
    Differences d;
    for (const OKLab& c : labs) {
        double dL = static_cast<double>(c.L) - source.L;
        double da = static_cast<double>(c.a) - source.a;
        double db = static_cast<double>(c.b) - source.b;
        double dC = wideChroma(c) - sourceChroma;
        d.lightness.push_back(std::fabs(dL));
        d.chroma.push_back(std::fabs(dC));
        d.hue.push_back(std::sqrt(std::max(0.0, (da * da + db * db) - dC * dC)));
    }
    return d;
}

// Whether 98 % of the shades already lie within half of the reach.
bool takesFully(const Reach& reach, const Differences& d) {
    std::size_t taken = 0;
    for (std::size_t i = 0; i < d.lightness.size(); ++i) {
        double l = d.lightness[i] / reach.lightness;
        double c = d.chroma[i] / reach.chroma;
        double h = d.hue[i] / reach.hue;
        taken += (l * l + c * c) + h * h <= 0.25;
    }
    return static_cast<double>(taken) >= kKeptShare * static_cast<double>(d.lightness.size());
}

} // namespace

Reach rangeTaking(OKLab source, std::span<const RGBA> shades) {
    Differences d = differencesFrom(source, okLabOf(shades));
    if (d.lightness.empty()) {
        return Reach::range(kSmallestExtent, kSmallestExtent, kSmallestExtent);
    }
    // Each extent takes its 98th percentile; then all grow together until
    // 98 % of the shades lie within half of the range.
    double extents[3] = {std::max(rankedAt(d.lightness, kKeptShare), kSmallestExtent),
                         std::max(rankedAt(d.chroma, kKeptShare), kSmallestExtent),
                         std::max(rankedAt(d.hue, kKeptShare), kSmallestExtent)};
    std::vector<double> distances;
    for (std::size_t i = 0; i < d.lightness.size(); ++i) {
        double l = d.lightness[i] / extents[0];
        double c = d.chroma[i] / extents[1];
        double h = d.hue[i] / extents[2];
        distances.push_back(std::sqrt((l * l + c * c) + h * h));
    }
    double scale = 2 * rankedAt(distances, kKeptShare);
    auto extent = [&](int i) {
        return static_cast<float>(std::max(extents[i] * scale, kSmallestExtent));
    };
    return *boundedReach(Reach::range(extent(0), extent(1), extent(2)));
}

std::optional<ShadeFit> fitShades(std::span<const RGBA> shades) {
    if (shades.empty()) {
        return std::nullopt;
    }
    double alpha = 0;
    for (const RGBA& shade : shades) {
        alpha += shade.a;
    }
    RGBA source = gamutMappedRGB(centreOf(okLabOf(shades)));
    source.a = static_cast<float>(alpha / static_cast<double>(shades.size()));
    source = onByteValues(source);
    return ShadeFit{source, rangeTaking(rgbaToOKLab(source), shades)};
}

Reach widenedToTake(OKLab source, const std::optional<Reach>& now, std::span<const RGBA> shades) {
    if (!now) {
        return rangeTaking(source, shades);
    }
    Differences d = differencesFrom(source, okLabOf(shades));
    if (d.lightness.empty() || takesFully(*now, d)) {
        return *now;
    }
    // Extent by extent, twice what 98 % of the new shades differ by: each
    // alone then lies within half of it.
    auto twice = [](const std::vector<double>& differences) {
        return static_cast<float>(2 * rankedAt(differences, kKeptShare));
    };
    Reach needed = *boundedReach(Reach::range(twice(d.lightness), twice(d.chroma), twice(d.hue)));
    Reach wider =
        Reach::range(std::max(now->lightness, needed.lightness),
                     std::max(now->chroma, needed.chroma), std::max(now->hue, needed.hue));
    if (takesFully(wider, d)) {
        return wider;
    }
    // Shades off in several components at once: all extents grow together.
    std::vector<double> distances;
    for (std::size_t i = 0; i < d.lightness.size(); ++i) {
        double l = d.lightness[i] / wider.lightness;
        double c = d.chroma[i] / wider.chroma;
        double h = d.hue[i] / wider.hue;
        distances.push_back(std::sqrt((l * l + c * c) + h * h));
    }
    return *boundedReach(wider.scaled(static_cast<float>(2 * rankedAt(distances, kKeptShare))));
}

} // namespace velo
