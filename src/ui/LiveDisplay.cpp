#include "ui/LiveDisplay.h"

#include "color/WorkingBitmap.h"
#include "engine/FastPass.h"
#include "ui/BitmapDisplay.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

namespace velo {

void LiveDisplay::show(std::shared_ptr<Bitmap> bitmap) {
    if (bitmap == shown_) {
        return;
    }
    shown_ = std::move(bitmap);
    rebuild();
}

void LiveDisplay::setDrawnSize(QSize size) {
    if (size == wanted_) {
        return;
    }
    wanted_ = size;
    rebuild();
}

bool LiveDisplay::showsResult() const {
    return shown_ && shown_ == document_.destinationBitmap();
}

bool LiveDisplay::allRowsDone() const {
    return std::all_of(rowDone_.begin(), rowDone_.end(), [](bool done) { return done; });
}

bool LiveDisplay::isExact() const {
    return !showsResult() || (tracked_ == shown_.get() && allRowsDone());
}

// Finished rows belong to the document's current result; a new one starts
// with none.
void LiveDisplay::trackResult() {
    const Bitmap* result = document_.destinationBitmap().get();
    if (result != tracked_) {
        tracked_ = result;
        rowDone_.assign(result ? result->pixelsHigh() : 0, false);
    }
}

void LiveDisplay::rebuild() {
    trackResult();
    QSize size;
    if (shown_ && !wanted_.isEmpty()) {
        size = wanted_.boundedTo(QSize(shown_->pixelsWide(), shown_->pixelsHigh()));
    }
    if (size.isEmpty()) {
        image_ = QImage();
        return;
    }
    image_ = newDisplayImage(size);
    previewSource_.reset();
    previewShown_ = false;
    if (!showsResult()) {
        // The source never changes once made: read it whole.
        drawRowsInto(image_, *shown_, 0, image_.height());
        return;
    }
    takeFinishedStripes();
    if (!allRowsDone()) {
        drawPreview();
    }
    drawFinishedRows(0, static_cast<int>(rowDone_.size()));
}

void LiveDisplay::drawPreview() {
    const std::shared_ptr<Bitmap>& source = document_.sourceBitmap();
    const std::shared_ptr<Bitmap>& result = document_.destinationBitmap();
    if (!source || !result || image_.isNull()) {
        return;
    }
    // Small enough to be recomputed within a frame, then enlarged to the display.
    QSize size = image_.size();
    double pixels = static_cast<double>(size.width()) * size.height();
    if (pixels > kPreviewPixels) {
        size = (QSizeF(size) * std::sqrt(kPreviewPixels / pixels)).toSize().expandedTo({1, 1});
    }
    if (!previewSource_ || previewSource_->pixelsWide() != size.width() ||
        previewSource_->pixelsHigh() != size.height()) {
        previewSource_ = reducedCopy(*source, size);
    }
    std::shared_ptr<Bitmap> preview = alphaAdjustedCopy(*previewSource_, result->hasAlpha());
    auto adjustments = document_.activeAdjustmentCopies();
    calcRangeFast({0, static_cast<std::uint32_t>(preview->pixelsHigh())}, previewSource_.get(),
                  preview.get(), *adjustments);
    if (size == image_.size()) {
        drawRowsInto(image_, *preview, 0, image_.height());
    } else {
        QImage small = newDisplayImage(size);
        drawRowsInto(small, *preview, 0, small.height());
        QPainter painter(&image_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), image_.size()), small);
    }
    previewShown_ = true;
}

void LiveDisplay::resultRestarted() {
    trackResult();
    bool previousSweepFinished = allRowsDone();
    std::fill(rowDone_.begin(), rowDone_.end(), false);
    lastRestart_ = std::chrono::steady_clock::now();
    rowsWaiting_ = false;
    // Edits faster than sweeps: show the whole image at once, approximately.
    if (showsResult() && !previousSweepFinished) {
        drawPreview();
    }
}

QRect LiveDisplay::takeFinishedStripes() {
    trackResult();
    AdjustmentEngine::FinishedStripes finished = document_.takeFinishedStripes();
    if (finished.destination != tracked_) {
        return {}; // of a result being replaced right now
    }
    int high = static_cast<int>(rowDone_.size());
    bool editing = previewShown_ && std::chrono::steady_clock::now() - lastRestart_ <
                                        std::chrono::milliseconds(kEditPauseMs);
    QRect changed;
    for (LineRange stripe : finished.stripes) {
        // Lines count from the bottom, rows from the top.
        int lastRow = high - static_cast<int>(stripe.location);
        int firstRow = std::max(0, lastRow - static_cast<int>(stripe.length));
        std::fill(rowDone_.begin() + firstRow, rowDone_.begin() + lastRow, true);
        if (editing) {
            rowsWaiting_ = true;
        } else if (showsResult()) {
            changed |= drawFinishedRows(firstRow, lastRow);
        }
    }
    return changed;
}

QRect LiveDisplay::drawWaitingRows() {
    QRect changed = takeFinishedStripes();
    if (std::exchange(rowsWaiting_, false)) {
        changed |= drawFinishedRows(0, static_cast<int>(rowDone_.size()));
    }
    return changed;
}

// Draws the display rows whose blocks lie wholly in finished result rows
// and touch [firstRow, lastRow).
QRect LiveDisplay::drawFinishedRows(int firstRow, int lastRow) {
    if (image_.isNull() || !showsResult() || rowDone_.empty()) {
        return {};
    }
    int displayHigh = image_.height();
    int high = static_cast<int>(rowDone_.size());
    int from = static_cast<int>(static_cast<std::int64_t>(firstRow) * displayHigh / high);
    int top = displayHigh, bottom = -1;
    for (int row = std::max(0, from - 1); row < displayHigh; ++row) {
        RowBlock block = bitmapRowsOf(row, displayHigh, high);
        if (block.first >= lastRow) {
            break;
        }
        if (block.last <= firstRow ||
            !std::all_of(rowDone_.begin() + block.first, rowDone_.begin() + block.last,
                         [](bool done) { return done; })) {
            continue;
        }
        drawRowsInto(image_, *shown_, row, row + 1);
        top = std::min(top, row);
        bottom = std::max(bottom, row);
    }
    return bottom < top ? QRect() : QRect(0, top, image_.width(), bottom - top + 1);
}

} // namespace velo
