#include "engine/BandPipeline.h"

#include "engine/FastPass.h"
#include "platform/BoundedQueue.h"

#include <atomic>
#include <thread>

namespace velo {

namespace {

// Two bands waiting at each hand-over keep every stage busy.
constexpr std::size_t kBandsWaiting = 2;

using Band = std::shared_ptr<Bitmap>;

void readBands(const BandStages& stages, BoundedQueue<Band>& read, std::atomic<bool>& failed) {
    while (stages.bandsLeft()) {
        Band band = stages.read();
        if (!band) {
            failed = true;
            break;
        }
        if (!read.push(std::move(band))) {
            break; // a later stage stopped
        }
    }
    read.close();
}

void recolourBands(const BandStages& stages, std::span<const ColorAdjustment> adjustments,
                   BoundedQueue<Band>& read, BoundedQueue<Band>& recoloured) {
    while (std::optional<Band> source = read.pop()) {
        Band destination = stages.destinationFor(**source);
        LineRange all{0, static_cast<std::uint32_t>((*source)->pixelsHigh())};
        calcRangeFast(all, source->get(), destination.get(), adjustments);
        if (!recoloured.push(std::move(destination))) {
            break;
        }
    }
    recoloured.close();
    read.close();
}

} // namespace

bool recolourInBands(const BandStages& stages, std::span<const ColorAdjustment> adjustments) {
    BoundedQueue<Band> read(kBandsWaiting);
    BoundedQueue<Band> recoloured(kBandsWaiting);
    std::atomic<bool> failed = false;
    std::thread reader([&] { readBands(stages, read, failed); });
    std::thread recolourer([&] { recolourBands(stages, adjustments, read, recoloured); });
    bool written = true;
    while (std::optional<Band> band = recoloured.pop()) {
        if (!stages.write(**band)) {
            written = false;
            break;
        }
    }
    // A failed write stops the others: their next hand-over fails.
    recoloured.close();
    read.close();
    recolourer.join();
    reader.join();
    return written && !failed;
}

} // namespace velo
