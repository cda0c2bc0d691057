#pragma once

#include "document/VeloDocument.h"

#include <QImage>
#include <QRect>
#include <chrono>
#include <memory>
#include <vector>

namespace velo {

// What the image view draws: its bitmap at the size it is shown, kept up to
// date with the result as it is computed, without ever reading a line a
// worker may be writing. Lines of the result are read only once the engine
// reports them finished in the current sweep (they stay put until the next
// restart, which only this thread makes). Until then the view shows what it
// had, or, when edits come faster than sweeps finish, a preview: the whole
// image recoloured at the display's size from a reduced copy of the source.
// Main thread only.
class LiveDisplay {
  public:
    explicit LiveDisplay(VeloDocument& document) : document_(document) {}

    // The bitmap to show (the document's source or result, or none).
    void show(std::shared_ptr<Bitmap> bitmap);
    const std::shared_ptr<Bitmap>& bitmap() const { return shown_; }
    // The size in device pixels the bitmap is drawn at; the display keeps
    // no more pixels than the bitmap has.
    void setDrawnSize(QSize size);

    // The result is being computed anew.
    void resultRestarted();
    // Takes the stripes finished since last asked into the image; answers
    // the part of the image that changed. While edits keep coming and the
    // preview shows, finished rows wait: they would be stale within a frame.
    QRect takeFinishedStripes();
    // Draws the rows that waited; for once the edits have paused.
    QRect drawWaitingRows();
    static constexpr int kEditPauseMs = 100;
    // The most pixels a preview computes.
    static constexpr double kPreviewPixels = 400000;

    const QImage& image() const { return image_; }
    // Whether the image shows the exact, complete result (or the source).
    bool isExact() const;

  private:
    bool showsResult() const;
    void trackResult();
    void rebuild();
    void drawPreview();
    QRect drawFinishedRows(int firstRow, int lastRow);
    bool allRowsDone() const;

    VeloDocument& document_;
    std::shared_ptr<Bitmap> shown_;
    QSize wanted_;
    QImage image_;
    // Rows (top first) of the result finished in the current sweep.
    const Bitmap* tracked_ = nullptr;
    std::vector<bool> rowDone_;
    std::shared_ptr<const Bitmap> previewSource_;
    bool previewShown_ = false;
    bool rowsWaiting_ = false;
    std::chrono::steady_clock::time_point lastRestart_;
};

} // namespace velo
