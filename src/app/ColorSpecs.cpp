#include "app/ColorSpecs.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace velo {

namespace {

std::optional<int> hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return std::nullopt;
}

ParsedColor hexColor(const std::string& text) {
    std::string digits = text.substr(1);
    if (digits.size() != 6 && digits.size() != 8) {
        return {nullptr, "'" + text + "' is not #RRGGBB or #RRGGBBAA"};
    }
    float components[4] = {0, 0, 0, 1};
    for (std::size_t i = 0; i < digits.size() / 2; ++i) {
        auto high = hexDigit(digits[2 * i]);
        auto low = hexDigit(digits[2 * i + 1]);
        if (!high || !low) {
            return {nullptr, "'" + text + "' holds a character that is not hexadecimal"};
        }
        components[i] = static_cast<float>((*high * 16 + *low) / 255.0);
    }
    return {
        Color::colorWithCalibratedRed(components[0], components[1], components[2], components[3]),
        {}};
}

// The parts between separators, empty ones too: "a,,b" is a, "" and b.
std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1) {
        parts.push_back(text.substr(start, at - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

ParsedColor decimalColor(const std::string& text) {
    std::vector<float> components;
    for (const std::string& part : splitAt(text, ',')) {
        char* end = nullptr;
        errno = 0;
        float value = std::strtof(part.c_str(), &end);
        if (part.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value)) {
            return {nullptr, "'" + text + "' is not a colour: '" + part + "' is not a number"};
        }
        components.push_back(value);
    }
    if (components.size() != 3 && components.size() != 4) {
        return {nullptr, "'" + text + "' needs 3 or 4 components"};
    }
    components.resize(4, 1.0f);
    return {
        Color::colorWithCalibratedRed(components[0], components[1], components[2], components[3]),
        {}};
}

// The mask bits of the letters: h s b a in HSB; l c h a (lightness,
// chroma, hue, alpha) in OKLab, where lightness and chroma take the
// brightness and saturation bits.
std::optional<int> maskOf(const std::string& letters, bool oklab) {
    const std::string order = oklab ? "hcla" : "hsba";
    int mask = 0;
    for (char c : letters) {
        std::size_t bit = order.find(c);
        if (bit == std::string::npos) {
            return std::nullopt;
        }
        mask |= 1 << bit;
    }
    return letters.empty() ? std::nullopt : std::optional<int>(mask);
}

std::optional<ColorModel> modelOf(const std::string& name) {
    if (name == "rgb") {
        return ColorModel::RGB;
    }
    if (name == "hsb") {
        return ColorModel::HSB;
    }
    return name == "oklab" ? std::optional(ColorModel::OKLab) : std::nullopt;
}

// A positive, finite number, brought within the reach's bounds.
std::optional<float> extentOf(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value) || value <= 0) {
        return std::nullopt;
    }
    return boundedReach(value);
}

// "L0.3,C0.08,H0.12": each of lightness, chroma and hue once, its letter in
// either case, in any order.
std::optional<Reach> rangeOf(const std::string& text) {
    const std::string letters = "lch";
    std::optional<float> extents[3];
    for (const std::string& part : splitAt(text, ',')) {
        std::size_t slot = part.empty() ? std::string::npos
                                        : letters.find(static_cast<char>(
                                              std::tolower(static_cast<unsigned char>(part[0]))));
        if (slot == std::string::npos || extents[slot]) {
            return std::nullopt;
        }
        extents[slot] = extentOf(part.substr(1));
        if (!extents[slot]) {
            return std::nullopt;
        }
    }
    if (!extents[0] || !extents[1] || !extents[2]) {
        return std::nullopt;
    }
    return Reach::range(*extents[0], *extents[1], *extents[2]);
}

// A ball's radius, or a range when the text starts with an extent's letter.
std::optional<Reach> reachOf(const std::string& text) {
    if (!text.empty() && std::string("lchLCH").find(text[0]) != std::string::npos) {
        return rangeOf(text);
    }
    std::optional<float> radius = extentOf(text);
    return radius ? std::optional(Reach::ball(*radius)) : std::nullopt;
}

// Takes a trailing @REACH off the text: false when one is there but malformed.
bool takeReach(std::string& text, std::optional<Reach>& reach) {
    std::size_t at = text.rfind('@');
    if (at == std::string::npos) {
        return true;
    }
    reach = reachOf(text.substr(at + 1));
    text.resize(at);
    return reach.has_value();
}

std::string badReach(const std::string& text) {
    return "'" + text +
           "': the reach after @ is a positive number, such as 0.12, or a range of lightness, "
           "chroma and hue extents, such as L0.3,C0.08,H0.12";
}

// Decimal digits alone: no sign, no space.
std::optional<int> wholeNumberOf(const std::string& text) {
    constexpr std::size_t kMostDigits = 9; // within int
    if (text.empty() || text.size() > kMostDigits ||
        !std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        return std::nullopt;
    }
    return std::stoi(text);
}

// "X,Y;X,Y...": pixels by column and row.
std::optional<std::vector<PixelIndex>> pointsOf(const std::string& text) {
    std::vector<PixelIndex> points;
    for (const std::string& point : splitAt(text, ';')) {
        std::vector<std::string> xy = splitAt(point, ',');
        std::optional<int> x = xy.size() == 2 ? wholeNumberOf(xy[0]) : std::nullopt;
        std::optional<int> y = xy.size() == 2 ? wholeNumberOf(xy[1]) : std::nullopt;
        if (!x || !y) {
            return std::nullopt;
        }
        points.push_back({*x, *y});
    }
    return points;
}

// pick:X,Y[;X,Y]...>TARGET[@REACH], the text after "pick:" being body.
ParsedMap pickMap(const std::string& text, std::string body) {
    std::optional<Reach> reach;
    if (!takeReach(body, reach)) {
        return {nullptr, std::nullopt, badReach(text)};
    }
    std::size_t arrow = body.find('>');
    if (arrow == std::string::npos || body.find('>', arrow + 1) != std::string::npos) {
        return {nullptr, std::nullopt, "'" + text + "' is not pick:X,Y[;X,Y]...>TARGET"};
    }
    std::optional<std::vector<PixelIndex>> points = pointsOf(body.substr(0, arrow));
    if (!points) {
        return {nullptr, std::nullopt,
                "'" + text +
                    "': a point is X,Y, the column and row from the top-left pixel in whole "
                    "numbers, and points are joined by ;"};
    }
    ParsedColor target = parseColor(body.substr(arrow + 1));
    if (!target.color) {
        return {nullptr, std::nullopt, target.error};
    }
    return {nullptr, PickMap{text, *points, target.color, reach}, {}};
}

} // namespace

ParsedColor parseColor(const std::string& text) {
    if (text.empty()) {
        return {nullptr, "empty colour"};
    }
    return text[0] == '#' ? hexColor(text) : decimalColor(text);
}

ParsedMap parseMap(const std::string& text) {
    std::string model = "rgb";
    std::optional<std::string> components; // all four when none
    std::string colors = text;
    if (std::size_t colon = text.find(':'); colon != std::string::npos) {
        std::string head = text.substr(0, colon);
        colors = text.substr(colon + 1);
        std::size_t slash = head.find('/');
        model = head.substr(0, slash);
        if (slash != std::string::npos) {
            components = head.substr(slash + 1);
        }
    }
    if (model == "pick") {
        return components ? ParsedMap{nullptr, std::nullopt,
                                      "'" + text + "': a pick map matches on every component"}
                          : pickMap(text, colors);
    }
    std::optional<ColorModel> colorModel = modelOf(model);
    if (!colorModel) {
        return {nullptr, std::nullopt,
                "'" + text + "': the model is rgb, hsb, oklab or pick, not '" + model + "'"};
    }
    bool oklab = colorModel == ColorModel::OKLab;
    std::optional<int> mask = components ? maskOf(*components, oklab) : kAllComponents;
    if (!mask) {
        return {nullptr, std::nullopt,
                "'" + text + "': components are letters of " +
                    (oklab ? "l, c, h, a" : "h, s, b, a")};
    }
    std::optional<Reach> reach;
    if (!takeReach(colors, reach)) {
        return {nullptr, std::nullopt, badReach(text)};
    }
    std::size_t arrow = colors.find('>');
    if (arrow == std::string::npos || colors.find('>', arrow + 1) != std::string::npos) {
        return {nullptr, std::nullopt, "'" + text + "' is not SOURCE>TARGET"};
    }
    ParsedColor source = parseColor(colors.substr(0, arrow));
    ParsedColor target = parseColor(colors.substr(arrow + 1));
    if (!source.color || !target.color) {
        return {nullptr, std::nullopt, source.color ? target.error : source.error};
    }
    auto adjustment = std::make_shared<ColorAdjustment>();
    adjustment->setSourceColor(source.color);
    adjustment->setTargetColor(target.color);
    adjustment->setComponentsMask(*mask);
    adjustment->setColorModel(*colorModel);
    adjustment->setReach(reach);
    return {adjustment, std::nullopt, {}};
}

std::string describeColor(const ColorRef& color) {
    if (!color) {
        return "none";
    }
    std::string out;
    for (float component : color->components()) {
        char number[32];
        std::snprintf(number, sizeof number, "%.9g", component);
        out += (out.empty() ? "" : ",") + std::string(number);
    }
    if (color->colorSpaceName() != kCalibratedRGBColorSpace) {
        out += " (" + color->colorSpaceName() + ")";
    }
    return out;
}

} // namespace velo
