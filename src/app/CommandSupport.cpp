#include "app/CommandSupport.h"

#include "document/AreaSample.h"

#include <algorithm>
#include <ostream>

namespace velo {

namespace {

constexpr std::size_t kBarFromPixels = 4'000'000;
constexpr int kMaxThreads = 256;

// "1, 3, 5 or 11".
std::string sampleSizesInWords() {
    std::string words;
    for (std::size_t i = 0; i < kSampleSizes.size(); ++i) {
        if (i > 0) {
            words += i + 1 == kSampleSizes.size() ? " or " : ", ";
        }
        words += std::to_string(kSampleSizes[i]);
    }
    return words;
}

} // namespace

std::optional<std::string> readDocumentSettings(const Arguments& arguments,
                                                DocumentSettings& settings) {
    if (arguments.values.count("--map")) {
        for (const std::string& text : arguments.values.at("--map")) {
            ParsedMap map = parseMap(text);
            if (!map.error.empty()) {
                return "--map " + map.error;
            }
            settings.maps.push_back(map);
        }
    }
    if (arguments.hasValue("--sample-size")) {
        std::string text = arguments.value("--sample-size");
        auto size = std::find_if(kSampleSizes.begin(), kSampleSizes.end(),
                                 [&](int n) { return std::to_string(n) == text; });
        if (size == kSampleSizes.end()) {
            return "--sample-size is " + sampleSizesInWords() + " pixels a side, not '" + text +
                   "'";
        }
        settings.sampleSize = *size;
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

ImageMaps mapsForImage(const DocumentSettings& settings, const PickedPixels* image) {
    ImageMaps made;
    for (const ParsedMap& map : settings.maps) {
        if (map.adjustment) {
            made.adjustments.push_back(map.adjustment->copy());
            continue;
        }
        const PickMap& pick = *map.pick;
        if (!image) {
            return {{}, pick.text + ": a pick map takes its colours from an image"};
        }
        if (auto outside = pointOutside(pick, image->pixelsWide(), image->pixelsHigh())) {
            return {{}, *outside};
        }
        auto row = pickedAdjustment(pick, image->shadesAround(pick.points, settings.sampleSize));
        if (!row) {
            return {{}, pick.text + ": every pixel around its points is transparent"};
        }
        made.adjustments.push_back(row);
    }
    return made;
}

ImageMaps mapsForDocument(const DocumentSettings& settings, const VeloDocument& document) {
    if (!document.sourceBitmap()) {
        return mapsForImage(settings, nullptr);
    }
    PickedPixels pixels(document.sourceBitmap());
    return mapsForImage(settings, &pixels);
}

std::vector<PixelIndex> pickedPoints(const DocumentSettings& settings) {
    std::vector<PixelIndex> points;
    for (const ParsedMap& map : settings.maps) {
        if (map.pick) {
            points.insert(points.end(), map.pick->points.begin(), map.pick->points.end());
        }
    }
    return points;
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
