#pragma once

#include "adjust/Reach.h"
#include "color/ColorRecords.h"
#include "color/OKLab.h"

#include <optional>
#include <span>

namespace velo {

// The shades of one object, as a stroke across it gathers them, made into
// the source and range of one oklab adjustment: the source at their centre,
// the range wide enough that all but the outermost 2 % move fully (within
// half of it), so a few stray pixels do not widen it. docs/oklab.md writes
// the rule down.
struct ShadeFit {
    RGBA source; // components on byte values
    Reach reach; // a range
};

// None for no shades.
std::optional<ShadeFit> fitShades(std::span<const RGBA> shades);

// The range around a source colour that takes the shades by the same rule.
Reach rangeTaking(OKLab source, std::span<const RGBA> shades);

// A reach around source grown, extent by extent, only as far as the shades
// need; the shades alone decide where there was no reach.
Reach widenedToTake(OKLab source, const std::optional<Reach>& reach, std::span<const RGBA> shades);

} // namespace velo
