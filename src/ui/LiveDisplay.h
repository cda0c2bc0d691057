#pragma once

#include "document/VeloDocument.h"
#include "ui/DisplayColorTransform.h"
#include "ui/PreviewSourceAhead.h"

#include <QImage>
#include <QRect>
#include <chrono>
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
// Main thread only.
class LiveDisplay {
  public:
    explicit LiveDisplay(VeloDocument& document) : document_(document) {}

    // The two images workers compute.
    enum class Sweep { Result, Influence };

    // The bitmap to show (the document's source, result or influence map,
    // or none).
    void show(std::shared_ptr<Bitmap> bitmap);
    const std::shared_ptr<Bitmap>& bitmap() const { return shown_; }
    // The size in device pixels the bitmap is drawn at; the display keeps
    // no more pixels than the bitmap has.
    void setDrawnSize(QSize size);
    // Whether the image is converted from the bitmap's ICC profile to the
    // screen's (null: sRGB), or shows the bitmap's values as they are.
    void matchColors(bool on, std::shared_ptr<const IccProfile> screenProfile);

    // The result or the influence map is being computed anew.
    void restarted(Sweep sweep);
    // Takes the stripes finished since last asked into the image; answers
    // the part of the image that changed. While edits keep coming and the
    // preview shows, finished rows wait: they would be stale within a frame.
    QRect takeFinishedStripes();
    // Draws the rows that waited; for once the edits have paused.
    QRect drawWaitingRows();
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
};

} // namespace velo
