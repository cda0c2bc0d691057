#include "app/CommandSupport.h"

#include "app/ColorSpecs.h"

#include <ostream>

namespace velo {

namespace {

constexpr std::size_t kBarFromPixels = 4'000'000;
constexpr int kMaxThreads = 256;

} // namespace

std::optional<std::string> readDocumentSettings(const Arguments& arguments,
                                                DocumentSettings& settings) {
    if (arguments.values.count("--map")) {
        for (const std::string& text : arguments.values.at("--map")) {
            ParsedMap map = parseMap(text);
            if (!map.adjustment) {
                return "--map " + map.error;
            }
            settings.maps.push_back(map.adjustment);
        }
    }
    if (arguments.hasValue("--alpha")) {
        std::string alpha = arguments.value("--alpha");
        if (alpha != "on" && alpha != "off") {
            return "--alpha is on or off, not '" + alpha + "'";
        }
        settings.alpha = alpha == "on";
    }
    if (arguments.hasValue("--background")) {
        ParsedColor color = parseColor(arguments.value("--background"));
        if (!color.color) {
            return "--background " + color.error;
        }
        settings.background = color.color;
    }
    if (arguments.hasValue("--threads")) {
        std::string text = arguments.value("--threads");
        std::size_t used = 0;
        int threads = 0;
        try {
            threads = std::stoi(text, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != text.size() || threads < 1 || threads > kMaxThreads) {
            return "--threads is a number from 1 to " + std::to_string(kMaxThreads);
        }
        settings.threads = threads;
    }
    return std::nullopt;
}

void setResultAlpha(VeloDocument& document, bool alpha) {
    if (document.destinationBitmap() && document.destinationBitmap()->hasAlpha() != alpha) {
        document.toggleImageAlpha();
    }
}

VeloDocument::Adjustments copiesOf(const VeloDocument::Adjustments& adjustments) {
    VeloDocument::Adjustments copies;
    for (const auto& adjustment : adjustments) {
        copies.push_back(adjustment->copy());
    }
    return copies;
}

void ProgressReporter::file(std::size_t index, std::size_t count, const std::string& what) {
    if (enabled_) {
        err_ << "velo: [" << index + 1 << "/" << count << "] " << what << "\n" << std::flush;
    }
}

std::function<void(float)> ProgressReporter::bar(std::size_t pixels) {
    if (!enabled_ || pixels < kBarFromPixels) {
        return {};
    }
    return [this](float share) {
        int percent = static_cast<int>(share * 100);
        int filled = percent / 5;
        err_ << "\r  [" << std::string(filled, '#') << std::string(20 - filled, ' ') << "] "
             << percent << "%" << std::flush;
        barShown_ = true;
    };
}

void ProgressReporter::done() {
    if (barShown_) {
        err_ << "\n" << std::flush;
        barShown_ = false;
    }
}

} // namespace velo
