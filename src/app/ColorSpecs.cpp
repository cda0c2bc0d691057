#include "app/ColorSpecs.h"

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

ParsedColor decimalColor(const std::string& text) {
    std::vector<float> components;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        std::string part =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        char* end = nullptr;
        errno = 0;
        float value = std::strtof(part.c_str(), &end);
        if (part.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value)) {
            return {nullptr, "'" + text + "' is not a colour: '" + part + "' is not a number"};
        }
        components.push_back(value);
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    if (components.size() != 3 && components.size() != 4) {
        return {nullptr, "'" + text + "' needs 3 or 4 components"};
    }
    components.resize(4, 1.0f);
    return {
        Color::colorWithCalibratedRed(components[0], components[1], components[2], components[3]),
        {}};
}

std::optional<int> maskOf(const std::string& letters) {
    int mask = 0;
    for (char c : letters) {
        switch (c) {
        case 'h':
            mask |= kHueBit;
            break;
        case 's':
            mask |= kSaturationBit;
            break;
        case 'b':
            mask |= kBrightnessBit;
            break;
        case 'a':
            mask |= kAlphaBit;
            break;
        default:
            return std::nullopt;
        }
    }
    return letters.empty() ? std::nullopt : std::optional<int>(mask);
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
    std::string components = "hsba";
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
    if (model != "rgb" && model != "hsb") {
        return {nullptr, "'" + text + "': the model is rgb or hsb, not '" + model + "'"};
    }
    std::optional<int> mask = maskOf(components);
    if (!mask) {
        return {nullptr, "'" + text + "': components are letters of h, s, b, a"};
    }
    std::size_t arrow = colors.find('>');
    if (arrow == std::string::npos || colors.find('>', arrow + 1) != std::string::npos) {
        return {nullptr, "'" + text + "' is not SOURCE>TARGET"};
    }
    ParsedColor source = parseColor(colors.substr(0, arrow));
    ParsedColor target = parseColor(colors.substr(arrow + 1));
    if (!source.color || !target.color) {
        return {nullptr, source.color ? target.error : source.error};
    }
    auto adjustment = std::make_shared<ColorAdjustment>();
    adjustment->setSourceColor(source.color);
    adjustment->setTargetColor(target.color);
    adjustment->setComponentsMask(*mask);
    adjustment->setUsesHSB(model == "hsb");
    return {adjustment, {}};
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
