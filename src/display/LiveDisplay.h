#pragma once

#include "display/DisplayColorTransform.h"
#include "display/PreviewSourceAhead.h"
#include "display/StripeMailbox.h"
#include "document/DocumentObserver.h"
#include "document/VeloDocument.h"

#include <QImage>
#include <QRect>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace velo {

// What the image view draws: its bitmap at the size it is shown, kept up to
// date with the result or the influence map as workers compute it, without
// ever reading a line a worker may be writing. Lines of either are read only
// once reported finished in the current sweep (they stay put until the next
// restart, which only this thread makes). Until then the view shows what it
// had, or, when edits come faster than sweeps finish, a preview: the whole
// image computed at the display's size from a reduced copy of the source.
// It follows the document by itself (what it shows, its restarts, its
// progress, the stripes its workers finish) and tells its view which part
// of the image changed. Main thread only.
class LiveDisplay : public DocumentObserver {
  public:
    // Follows the document from now on; the document outlives the display.
    explicit LiveDisplay(VeloDocument& document);
    ~LiveDisplay() override;
    LiveDisplay(const LiveDisplay&) = delete;
    LiveDisplay& operator=(const LiveDisplay&) = delete;

    // The two images workers compute.
    enum class Sweep { Result, Influence };

    // Called with the part of image() that changed; a new bitmap shown, or
    // a new size, changes it all.
    void setChangeHandler(std::function<void(QRect)> handler) {
        changeHandler_ = std::move(handler);
    }
    void documentChanged(DocumentChange changes) override;

    // The bitmap shown: the document's source, result or influence map, or
    // none.
    const std::shared_ptr<Bitmap>& bitmap() const { return shown_; }
    // The size in device pixels the bitmap is drawn at; the display keeps
    // no more pixels than the bitmap has.
    void setDrawnSize(QSize size);
    // Whether the image is converted from the bitmap's ICC profile to the
    // screen's (null: sRGB), or shows the bitmap's values as they are.
    void matchColors(bool on, std::shared_ptr<const IccProfile> screenProfile);

    // Takes the stripes finished since last asked into the image; answers
    // the part of the image that changed. While edits keep coming and the
    // preview shows, finished rows wait: they would be stale within a frame.
    // The display takes them itself as workers report them; a caller that
    // waited for the workers takes them at once.
    QRect takeFinishedStripes();
    // The rows that waited are drawn once edits have paused this long.
    static constexpr int kEditPauseMs = 100;
    // The most pixels a preview computes, of the result or the influence map
    // alike (both are computed a vector of pixels at a time).
    static constexpr double kPreviewPixels = 400000;

    const QImage& image() const { return image_; }
    // While edits stream in, the latest preview at the size it was computed
    // at: the view enlarges it as it paints, in one pass over the view's
    // pixels. Null once it has been enlarged into image(), which happens
    // before finished rows are drawn over it.
    const QImage& unsettledPreview() const { return unsettledPreview_; }
    // Whether the image shows the exact, complete result or map (or the
    // source).
    bool isExact() const;

  private:
    // Rows (top first) of a bitmap finished in its current sweep.
    struct Progress {
        const Bitmap* tracked = nullptr;
        std::vector<bool> rowDone;
        bool allDone() const;
    };

    void show(std::shared_ptr<Bitmap> bitmap);
    // The sweeps restarted by the change the document told.
    std::vector<Sweep> restartedSweeps(DocumentChange changes) const;
    void restarted(const std::vector<Sweep>& sweeps, bool newBitmap);
    void resetProgress(Sweep sweep);
    QRect drawWaitingRows();
    void report(QRect changed) const;
    QRect wholeImage() const { return {QPoint(0, 0), image_.size()}; }
    const Bitmap* sweptBitmap(Sweep sweep) const;
    std::optional<Sweep> shownSweep() const;
    Progress& progress(Sweep sweep) { return progress_[static_cast<int>(sweep)]; }
    const Progress* shownProgress() const;
    void track(Sweep sweep);
    void trackBoth();
    void chooseColorTransform();
    void draw(QImage& into, const Bitmap& bitmap, int rowBegin, int rowEnd) const;
    void rebuild();
    QSize previewSize() const;
    void drawPreview();
    void settlePreview();
    std::shared_ptr<Bitmap> preview(Sweep sweep) const;
    QRect takeFinishedStripes(Sweep sweep, bool editing);
    QRect drawFinishedRows(int firstRow, int lastRow);

    VeloDocument& document_;
    std::function<void(QRect)> changeHandler_;
    std::shared_ptr<Bitmap> shown_;
    QSize wanted_;
    QImage image_;
    QImage unsettledPreview_;
    bool matchColors_ = true;
    std::shared_ptr<const IccProfile> screenProfile_;
    std::shared_ptr<const DisplayColorTransform> colorTransform_;
    Progress progress_[2];
    std::shared_ptr<const Bitmap> previewSource_;
    PreviewSourceAhead previewSourceAhead_;
    bool previewShown_ = false;
    bool rowsWaiting_ = false;
    std::chrono::steady_clock::time_point lastRestart_;
    QTimer editsPaused_;
    // Carries the workers' "stripes finished" to this thread.
    std::unique_ptr<StripeMailbox> mailbox_;
};

} // namespace velo
