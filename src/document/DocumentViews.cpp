// What the view shows of the document: the source, the adjusted image or
// the influence map (of the selection, or of one row while it is dragged),
// and quick previews of the latter two.
#include "document/VeloDocument.h"

#include "color/WorkingBitmap.h"
#include "engine/FastInfluenceMap.h"
#include "engine/FastPass.h"
#include "engine/InfluenceMap.h"
#include "imageio/ImageEncoder.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace velo {

std::shared_ptr<Bitmap> VeloDocument::shownBitmap() const {
    switch (shownImage_) {
    case ShownImage::Source:
        return sourceBitmap_;
    case ShownImage::Influence:
        return influence_.bitmap();
    case ShownImage::Adjusted:
        break;
    }
    return destinationBitmap_;
}

void VeloDocument::show(ShownImage shown) {
    shownImage_ = shown;
    changed(DocumentChange::ShownImage);
}

void VeloDocument::toggleInfluence() {
    ChangeBatch batch(*this);
    if (showsInfluence()) {
        show(shownBeforeInfluence_);
        return;
    }
    if (!sourceBitmap_) {
        return;
    }
    shownBeforeInfluence_ = shownImage_;
    // The map's bitmap exists once restarted, before the view is given it.
    shownImage_ = ShownImage::Influence;
    restartInfluence();
    changed(DocumentChange::ShownImage);
}

void VeloDocument::beginSharePreview(int row) {
    if (!sourceBitmap_ || row < 0 || row >= numberOfRowsInTableView() || sharePreviewRow_ == row) {
        return;
    }
    ChangeBatch batch(*this);
    if (!sharePreviewRow_) {
        shownBeforePreview_ = shownImage_;
    }
    sharePreviewRow_ = row;
    shownImage_ = ShownImage::Influence;
    restartInfluence();
    changed(DocumentChange::ShownImage);
}

void VeloDocument::endSharePreview() {
    if (!std::exchange(sharePreviewRow_, std::nullopt)) {
        return;
    }
    ChangeBatch batch(*this);
    bringResultUpToDate();
    shownImage_ = shownBeforePreview_;
    if (showsInfluence()) {
        restartInfluence(); // with the selection again
    }
    changed(DocumentChange::ShownImage);
}

void VeloDocument::restartInfluence() {
    influence_.restart(sourceBitmap_, activeColorAdjustments_, selectedPositions());
    changed(DocumentChange::InfluenceRestarted);
}

AdjustmentEngine::Selection VeloDocument::selectedPositions() const {
    AdjustmentEngine::Selection positions;
    std::vector<int> rows = sharePreviewRow_ ? std::vector<int>{*sharePreviewRow_} : selectedRows_;
    for (int row : rows) {
        if (row < 0 || row >= static_cast<int>(colorAdjustments_.size())) {
            continue;
        }
        auto it = std::find(activeColorAdjustments_.begin(), activeColorAdjustments_.end(),
                            colorAdjustments_[row]);
        // A row that is off has no share, but still makes the map show the
        // selection.
        positions.push_back(it == activeColorAdjustments_.end()
                                ? std::numeric_limits<std::size_t>::max()
                                : static_cast<std::size_t>(it - activeColorAdjustments_.begin()));
    }
    return positions;
}

std::shared_ptr<Bitmap> VeloDocument::influencePreview(const Bitmap& source) const {
    std::shared_ptr<Bitmap> map = velo::influenceBitmap(source);
    auto adjustments = activeAdjustmentCopies();
    calcInfluenceRangeFast({0, static_cast<std::uint32_t>(source.pixelsHigh())}, &source, map.get(),
                           *adjustments, selectedPositions());
    return map;
}

std::shared_ptr<Bitmap> VeloDocument::resultPreview(const Bitmap& source) const {
    std::shared_ptr<Bitmap> preview = alphaAdjustedCopy(source, resultHasAlpha());
    auto adjustments = activeAdjustmentCopies();
    calcRangeFast({0, static_cast<std::uint32_t>(preview->pixelsHigh())}, &source, preview.get(),
                  *adjustments);
    return preview;
}

std::optional<std::string> VeloDocument::writeInfluenceTo(const std::filesystem::path& path) {
    if (!sourceBitmap_) {
        return "the document has no image";
    }
    ChangeBatch batch(*this);
    // While shown the map follows every edit; otherwise it may be stale.
    if (!showsInfluence()) {
        restartInfluence();
    }
    influence_.waitUntilComplete();
    EncodedData png = encodeImage(*influence_.bitmap(), ImageFileType::PNG, 1);
    if (!png.data) {
        return png.error;
    }
    return writeFileAtomically(path, *png.data);
}

} // namespace velo
