#pragma once

namespace velo {

// Which library converts the view's copy of an image from the image's ICC
// profile to the screen's. Qt 6.4's QColorSpace reads only matrix/TRC
// profiles (the common RGB working spaces and most display profiles) and
// converts them fastest; Little CMS reads the rest (profiles built of lookup
// tables, as from a calibration device or a camera). Anything neither reads
// as RGB, or a broken profile, is shown as it is.
enum class DisplayConverter { None, Qt, LittleCms };

// What the libraries make of one profile; an absent profile means sRGB, which
// both read. The display copy is RGB, so a grey or CMYK profile cannot
// describe it, whoever reads it.
struct ProfileReading {
    bool rgb = true;
    bool qtReads = true;
    bool littleCmsReads = true;
};

// `sameSpace`: the two profiles describe one colour space (the same bytes,
// both sRGB), so the values need no conversion.
DisplayConverter chooseDisplayConverter(bool sameSpace, ProfileReading source,
                                        ProfileReading screen);

} // namespace velo
