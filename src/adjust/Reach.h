#pragma once

#include <optional>

namespace velo {

// The reach's bounds, in OKLab distance: a stored reach (or extent) outside
// them is brought to the nearer one.
inline constexpr float kSmallestReach = 0.001f;
inline constexpr float kLargestReach = 2.0f;

// How far from its source colour an adjustment reaches: a ball in OKLab of
// one radius, or a range with an extent of its own for lightness, chroma
// and hue (an object's shades spread far in lightness and little in hue).
struct Reach {
    // Declared so that no number converts to a reach by itself.
    Reach() = default;

    bool isRange = false;
    float lightness = 0; // a ball's radius is all three
    float chroma = 0;
    float hue = 0;

    static Reach ball(float radius) { return Reach(false, radius, radius, radius); }
    static Reach range(float lightness, float chroma, float hue) {
        return Reach(true, lightness, chroma, hue);
    }
    float radius() const { return lightness; }
    // Every extent times factor (a ball stays a ball).
    Reach scaled(float factor) const;
    bool operator==(const Reach&) const = default;

  private:
    Reach(bool isRange, float lightness, float chroma, float hue)
        : isRange(isRange), lightness(lightness), chroma(chroma), hue(hue) {}
};

// A reach brought within bounds; none for a value that is not finite.
std::optional<float> boundedReach(double reach);
// Each extent brought within bounds; none when one is not finite.
std::optional<Reach> boundedReach(const Reach& reach);

} // namespace velo
