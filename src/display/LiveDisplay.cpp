#include "display/LiveDisplay.h"

#include "display/BitmapDisplay.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

namespace velo {

namespace {

constexpr LiveDisplay::Sweep kSweeps[] = {LiveDisplay::Sweep::Result,
                                          LiveDisplay::Sweep::Influence};

} // namespace

LiveDisplay::LiveDisplay(VeloDocument& document)
    : document_(document), mailbox_(std::make_unique<StripeMailbox>()) {
    editsPaused_.setSingleShot(true);
    editsPaused_.setInterval(kEditPauseMs + 10);
    QObject::connect(&editsPaused_, &QTimer::timeout, [this] { report(drawWaitingRows()); });
    QObject::connect(mailbox_.get(), &StripeMailbox::stripesFinished,
                     [this] { report(takeFinishedStripes()); });
    document_.setStripeObserver(mailbox_->sender());
    document_.addObserver(this);
    show(document_.shownBitmap());
}

LiveDisplay::~LiveDisplay() {
    document_.removeObserver(this);
    document_.setStripeObserver({});
}

void LiveDisplay::report(QRect changed) const {
    if (changeHandler_ && !changed.isEmpty()) {
        changeHandler_(changed);
    }
}

std::vector<LiveDisplay::Sweep> LiveDisplay::restartedSweeps(DocumentChange changes) const {
    std::vector<Sweep> sweeps;
    if (hasAny(changes, DocumentChange::ResultRestarted)) {
        sweeps.push_back(Sweep::Result);
    }
    if (hasAny(changes, DocumentChange::InfluenceRestarted)) {
        sweeps.push_back(Sweep::Influence);
    }
    return sweeps;
}

// One command's changes at once: the restarts are known before a new bitmap
// is drawn, so that it is drawn as a preview rather than from rows of the
// sweep before.
void LiveDisplay::documentChanged(DocumentChange changes) {
    using enum DocumentChange;
    std::vector<Sweep> restarts = restartedSweeps(changes);
    bool newBitmap = hasAny(changes, Image | ShownImage) && document_.shownBitmap() != shown_;
    if (newBitmap) {
        for (Sweep sweep : restarts) {
            resetProgress(sweep);
        }
        show(document_.shownBitmap());
    }
    restarted(restarts, newBitmap);
    QRect changed = newBitmap ? wholeImage() : QRect();
    if (hasAny(changes, Progress)) {
        // The once-a-second tick: whatever finished, and the whole view
        // again, as the workers' notices may have been held back.
        takeFinishedStripes();
        changed = wholeImage();
    }
    report(changed);
}

bool LiveDisplay::Progress::allDone() const {
    return std::all_of(rowDone.begin(), rowDone.end(), [](bool done) { return done; });
}

void LiveDisplay::show(std::shared_ptr<Bitmap> bitmap) {
    if (bitmap == shown_) {
        return;
    }
    shown_ = std::move(bitmap);
    rebuild();
}

void LiveDisplay::matchColors(bool on, std::shared_ptr<const IccProfile> screenProfile) {
    bool sameScreen = screenProfile == screenProfile_ ||
                      (screenProfile && screenProfile_ && *screenProfile == *screenProfile_);
    if (on == matchColors_ && sameScreen) {
        return;
    }
    matchColors_ = on;
    screenProfile_ = std::move(screenProfile);
    rebuild();
    report(wholeImage());
}

// The source's profile governs whatever is shown: the result and its preview
// keep the source's encoding (export gives them its profile), and the
// influence map's colours are the rows' targets in the same values.
void LiveDisplay::chooseColorTransform() {
    colorTransform_.reset();
    const std::shared_ptr<Bitmap>& source = document_.sourceBitmap();
    if (matchColors_ && shown_ && source) {
        colorTransform_ =
            DisplayColorTransform::between(source->iccProfile().get(), screenProfile_.get());
    }
}

void LiveDisplay::draw(QImage& into, const Bitmap& bitmap, int rowBegin, int rowEnd) const {
    drawRowsInto(into, bitmap, rowBegin, rowEnd);
    if (colorTransform_) {
        colorTransform_->apply(into, rowBegin, rowEnd);
    }
}

void LiveDisplay::setDrawnSize(QSize size) {
    if (size == wanted_) {
        return;
    }
    wanted_ = size;
    rebuild();
    report(wholeImage());
}

const Bitmap* LiveDisplay::sweptBitmap(Sweep sweep) const {
    return sweep == Sweep::Result ? document_.destinationBitmap().get()
                                  : document_.influenceBitmap().get();
}

std::optional<LiveDisplay::Sweep> LiveDisplay::shownSweep() const {
    for (Sweep sweep : kSweeps) {
        if (shown_ && shown_.get() == sweptBitmap(sweep)) {
            return sweep;
        }
    }
    return std::nullopt;
}

const LiveDisplay::Progress* LiveDisplay::shownProgress() const {
    std::optional<Sweep> sweep = shownSweep();
    return sweep ? &progress_[static_cast<int>(*sweep)] : nullptr;
}

bool LiveDisplay::isExact() const {
    const Progress* shown = shownProgress();

    return !shown || (shown->tracked == shown_.get() && shown->allDone() && !rowsWaiting_);
}

// Finished rows belong to the document's current bitmap; a new one starts
// with none.
void LiveDisplay::track(Sweep sweep) {
    const Bitmap* current = sweptBitmap(sweep);
    Progress& p = progress(sweep);
    if (current != p.tracked) {
        p.tracked = current;
        p.rowDone.assign(current ? current->pixelsHigh() : 0, false);
    }
}

void LiveDisplay::trackBoth() {
    for (Sweep sweep : kSweeps) {
        track(sweep);
    }
}

void LiveDisplay::rebuild() {
    trackBoth();
    chooseColorTransform();
    QSize size;
    if (shown_ && !wanted_.isEmpty()) {
        size = wanted_.boundedTo(QSize(shown_->pixelsWide(), shown_->pixelsHigh()));
    }
    if (size.isEmpty()) {
        image_ = QImage();
        unsettledPreview_ = QImage();
        return;
    }
    image_ = newDisplayImage(size);
    unsettledPreview_ = QImage();
    previewSource_.reset();
    if (document_.sourceBitmap()) {
        previewSourceAhead_.request(document_.sourceBitmap(), previewSize());
    }
    previewShown_ = false;
    const Progress* shown = shownProgress();
    if (!shown) {
        // The source never changes once made: read it whole.
        draw(image_, *shown_, 0, image_.height());
        return;
    }
    takeFinishedStripes();
    if (!shown->allDone()) {
        drawPreview();
    }
    drawFinishedRows(0, static_cast<int>(shown->rowDone.size()));
}

std::shared_ptr<Bitmap> LiveDisplay::preview(Sweep sweep) const {
    return sweep == Sweep::Influence ? document_.influencePreview(*previewSource_)
                                     : document_.resultPreview(*previewSource_);
}

// Small enough to be recomputed within a frame, then enlarged to the display.
QSize LiveDisplay::previewSize() const {
    QSize size = image_.size();
    double pixels = static_cast<double>(size.width()) * size.height();
    if (pixels > kPreviewPixels) {
        size = (QSizeF(size) * std::sqrt(kPreviewPixels / pixels)).toSize().expandedTo({1, 1});
    }
    return size;
}

void LiveDisplay::drawPreview() {
    const std::shared_ptr<Bitmap>& source = document_.sourceBitmap();
    std::optional<Sweep> sweep = shownSweep();
    if (!source || !sweep || image_.isNull()) {
        return;
    }
    QSize size = previewSize();
    if (!previewSource_ || previewSource_->pixelsWide() != size.width() ||
        previewSource_->pixelsHigh() != size.height()) {
        previewSource_ = previewSourceAhead_.take(*source, size);
        if (!previewSource_) {
            previewSource_ = reducedCopy(*source, size);
        }
    }
    std::shared_ptr<Bitmap> computed = preview(*sweep);
    if (size == image_.size()) {
        unsettledPreview_ = QImage();
        draw(image_, *computed, 0, image_.height());
    } else {
        if (unsettledPreview_.size() != size) {
            unsettledPreview_ = newDisplayImage(size);
        }
        draw(unsettledPreview_, *computed, 0, unsettledPreview_.height());
    }
    previewShown_ = true;
}

void LiveDisplay::settlePreview() {
    if (unsettledPreview_.isNull()) {
        return;
    }
    QPainter painter(&image_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), image_.size()), unsettledPreview_);
    unsettledPreview_ = QImage();
}

void LiveDisplay::resetProgress(Sweep sweep) {
    track(sweep);
    Progress& p = progress(sweep);
    std::fill(p.rowDone.begin(), p.rowDone.end(), false);
}

// With a new bitmap the restarted sweeps were reset before it was drawn (as
// a preview where unfinished) just now, and the rows it found finished then
// stand. Otherwise the shown sweep's image stays until rows of the new sweep
// come, or, when edits come faster than sweeps finish, a preview stands in
// at once.
void LiveDisplay::restarted(const std::vector<Sweep>& sweeps, bool newBitmap) {
    for (Sweep sweep : sweeps) {
        track(sweep);
        bool previousSweepFinished = progress(sweep).allDone();
        if (!newBitmap) {
            resetProgress(sweep);
        }
        if (shownSweep() != sweep) {
            continue;
        }
        lastRestart_ = std::chrono::steady_clock::now();
        rowsWaiting_ = false;
        editsPaused_.start();
        if (!previousSweepFinished && !newBitmap) {
            drawPreview();
            report(wholeImage());
        }
    }
}

QRect LiveDisplay::takeFinishedStripes() {
    bool editing = previewShown_ && std::chrono::steady_clock::now() - lastRestart_ <
                                        std::chrono::milliseconds(kEditPauseMs);
    QRect changed;
    for (Sweep sweep : kSweeps) {
        changed |= takeFinishedStripes(sweep, editing);
    }
    return changed;
}

// Marks the finished rows of one sweep, and draws them if it is shown.
QRect LiveDisplay::takeFinishedStripes(Sweep sweep, bool editing) {
    track(sweep);
    Progress& p = progress(sweep);
    AdjustmentEngine::FinishedStripes finished = sweep == Sweep::Result
                                                     ? document_.takeFinishedStripes()
                                                     : document_.takeFinishedInfluenceStripes();
    if (finished.destination != p.tracked) {
        return {}; // of a bitmap being replaced right now
    }
    bool shown = shownSweep() == sweep;
    int high = static_cast<int>(p.rowDone.size());
    QRect changed;
    for (LineRange stripe : finished.stripes) {
        // Lines count from the bottom, rows from the top.
        int lastRow = high - static_cast<int>(stripe.location);
        int firstRow = std::max(0, lastRow - static_cast<int>(stripe.length));
        std::fill(p.rowDone.begin() + firstRow, p.rowDone.begin() + lastRow, true);
        if (!shown) {
            continue;
        }
        if (editing) {
            rowsWaiting_ = true;
        } else {
            changed |= drawFinishedRows(firstRow, lastRow);
        }
    }
    return changed;
}

QRect LiveDisplay::drawWaitingRows() {
    QRect changed = takeFinishedStripes();
    const Progress* shown = shownProgress();
    if (std::exchange(rowsWaiting_, false) && shown) {
        changed |= drawFinishedRows(0, static_cast<int>(shown->rowDone.size()));
    }
    return changed;
}

// Draws the display rows whose blocks lie wholly in finished rows of the
// shown bitmap and touch [firstRow, lastRow).
QRect LiveDisplay::drawFinishedRows(int firstRow, int lastRow) {
    const Progress* shown = shownProgress();
    if (image_.isNull() || !shown || shown->rowDone.empty()) {
        return {};
    }
    const std::vector<bool>& rowDone = shown->rowDone;
    int displayHigh = image_.height();
    int high = static_cast<int>(rowDone.size());
    int from = static_cast<int>(static_cast<std::int64_t>(firstRow) * displayHigh / high);
    int top = displayHigh, bottom = -1;
    for (int row = std::max(0, from - 1); row < displayHigh; ++row) {
        RowBlock block = bitmapRowsOf(row, displayHigh, high);
        if (block.first >= lastRow) {
            break;
        }
        if (block.last <= firstRow ||
            !std::all_of(rowDone.begin() + block.first, rowDone.begin() + block.last,
                         [](bool done) { return done; })) {
            continue;
        }
        settlePreview();
        draw(image_, *shown_, row, row + 1);
        top = std::min(top, row);
        bottom = std::max(bottom, row);
    }
    return bottom < top ? QRect() : QRect(0, top, image_.width(), bottom - top + 1);
}

} // namespace velo
