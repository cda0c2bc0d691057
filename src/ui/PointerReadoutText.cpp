#include "ui/PointerReadoutText.h"

#include "ui/HexColor.h"

#include <cmath>

namespace velo {

namespace {

std::string hex(RGBA c, bool withAlpha) {
    return hexColorText(c.r, c.g, c.b, c.a, withAlpha);
}

std::string swatch(RGBA c) {
    return "<span style=\"color:" + hex(c, false) + "\">&#9632;</span>";
}

} // namespace

std::string pointerReadoutText(const PointerReadout& readout) {
    std::string text = "x " + std::to_string(readout.column) + ", y " +
                       std::to_string(readout.row) + "&nbsp;&nbsp; " +
                       hex(readout.source, readout.hasAlpha) + " &rarr; " +
                       hex(readout.adjusted, readout.hasAlpha);
    for (const PointerReadout::Share& share : readout.shares) {
        text += "&nbsp;&nbsp; " + swatch(share.source) + " " + std::to_string(share.row + 1) +
                ": " + std::to_string(std::lround(share.fraction * 100.0f)) + "%";
    }
    return text;
}

} // namespace velo
