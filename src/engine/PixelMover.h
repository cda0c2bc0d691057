#pragma once

#include "adjust/ColorAdjustment.h"
#include "color/ColorRecords.h"

#include <cstddef>
#include <span>
#include <vector>

namespace velo {

// The pass's arithmetic for one colour: every adjustment at once, each with
// its inverse-distance share (times its reach's taper, where it has a reach),
// in single precision in the order written, the result clamped to 0..1. A
// colour beyond the reach of every adjustment that moves colours is only
// clamped, as with no adjustment at all. The adjustments must outlive the mover; one mover
// per thread (it keeps its weights between calls).
class PixelMover {
  public:
    explicit PixelMover(std::span<const ColorAdjustment> adjustments);

    RGBA move(RGBA sourceRGBA);

    // The fraction each adjustment moves the colour by, exactly as move()
    // applies it, at the adjustment's position in the list the mover was
    // given. Valid until the next call on this mover.
    std::span<const float> shares(RGBA sourceRGBA);

  private:
    // Fills fractions_ in the order the adjustments are applied and gives the
    // colour in HSB when some adjustment matches in HSB; sets beyondReach_.
    HSBA computeFractions(RGBA sourceRGBA);
    // Multiplies the fractions by the tapers of the reaches.
    void taperFractions(OKLab colour);
    // The oklab adjustments' moves in OKLCh, in list order, back in sRGB;
    // the colour as read where none of them moves it.
    RGBA moveInOKLCh(RGBA sourceRGBA) const;

    std::span<const ColorAdjustment> adjustments_;
    std::vector<std::size_t> order_; // list positions, in the order applied
    std::vector<float> fractions_;
    std::vector<float> shares_;
    bool needsHSB_;
    bool startsWithRGB_;
    bool needsOKLab_;
    bool hasReach_;
    bool movesInOKLCh_;
    bool beyondReach_ = false;
    OKLab lab_; // the colour's, when some adjustment needs it
};

} // namespace velo
