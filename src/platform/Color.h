#pragma once

#include "platform/ColorSpaces.h"

#include <memory>
#include <string>
#include <vector>

namespace velo {

class Color;
// Colours are shared immutable values; a null pointer is "no colour".
using ColorRef = std::shared_ptr<const Color>;

// A colour in a named colour space with float components (alpha last).
// Colours in a space Velo does not know (read from a file) are kept as they
// are but have no calibrated RGB form.
class Color : public std::enable_shared_from_this<Color> {
  public:
    static ColorRef colorWithCalibratedRed(float red, float green, float blue, float alpha);
    static ColorRef colorWithDeviceRed(float red, float green, float blue, float alpha);
    static ColorRef colorWithCalibratedWhite(float white, float alpha);
    static ColorRef colorWithColorSpace(std::string spaceName, std::vector<float> components);

    static ColorRef blackColor();
    static ColorRef whiteColor();
    static ColorRef redColor();
    static ColorRef greenColor();
    static ColorRef blueColor();
    static ColorRef clearColor();

    // The number of components a known space takes, or -1 for an unknown one.
    static int componentCountOf(const std::string& spaceName);

    const std::string& colorSpaceName() const { return spaceName_; }
    const std::vector<float>& components() const { return components_; }

    // The same colour in another space: only calibrated RGB is offered, and
    // null when the colour cannot be expressed in it.
    ColorRef colorUsingColorSpaceName(const std::string& spaceName) const;

    // Components of the calibrated RGB form; call on such a colour only.
    void getRed(float* red, float* green, float* blue, float* alpha) const;

    // The same space and bit-identical components.
    bool isEqual(const Color& other) const;

    // Use the factories; public only for make_shared.
    Color(std::string spaceName, std::vector<float> components);

  private:
    std::string spaceName_;
    std::vector<float> components_;
};

// isEqual for possibly absent colours: none is never equal to anything.
bool colorsEqual(const ColorRef& a, const ColorRef& b);

} // namespace velo
