#pragma once

#include "adjust/ColorAdjustment.h"
#include "document/DocumentWindow.h"
#include "engine/AdjustmentEngine.h"
#include "platform/Image.h"
#include "platform/UndoManager.h"
#include "platform/UserDefaults.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velo {

// One opened image, its working bitmaps, its adjustments and the engine that
// keeps the adjusted image current, with the user's commands and their undo.
// Main thread only.
class VeloDocument {
  public:
    using Adjustments = AdjustmentEngine::Adjustments;

    // Which table column's colour the colour panel edits.
    enum class ColorColumn { None, Source, Target };

    // defaults may be null (no stored defaults); numberOfThreads 0 means one
    // worker per processor.
    explicit VeloDocument(const UserDefaults* defaults = nullptr, int numberOfThreads = 0);
    ~VeloDocument();
    VeloDocument(const VeloDocument&) = delete;
    VeloDocument& operator=(const VeloDocument&) = delete;

    // The window, or null; the document never owns it.
    void setWindow(DocumentWindow* window);

    // After creating or opening: restart, mark unchanged, forget undo.
    void finishSetUp();

    void setSourceImage(std::shared_ptr<const Image> image);
    const std::shared_ptr<const Image>& sourceImage() const { return sourceImage_; }
    const std::shared_ptr<Bitmap>& sourceBitmap() const { return sourceBitmap_; }
    const std::shared_ptr<Bitmap>& destinationBitmap() const { return destinationBitmap_; }

    const Adjustments& colorAdjustments() const { return colorAdjustments_; }
    const Adjustments& activeColorAdjustments() const { return activeColorAdjustments_; }
    const ColorRef& backgroundColor() const { return backgroundColor_; }
    const std::shared_ptr<UndoManager>& undoManager() const { return undoManager_; }

    int clickedColorTableRow() const { return clickedColorTableRow_; }
    ColorColumn clickedColorTableColumn() const { return clickedColorTableColumn_; }

    // The user's commands.
    void newColorAdjustment(std::shared_ptr<ColorAdjustment> colorAdjustment = nullptr);
    void deleteColorAdjustment(const std::shared_ptr<ColorAdjustment>& colorAdjustment);
    void deleteSelectedAdjustents();
    void clear() { deleteSelectedAdjustents(); }
    void deleteForward() { deleteSelectedAdjustents(); }
    void deleteBackward() { deleteSelectedAdjustents(); }
    void mouseDownInBitmapView(const BitmapViewClick& click);
    void toggleSourceOrDestinationImage();
    void setBackgroundColor(ColorRef color);
    void takeBackgroundColorFrom(ColorRef wellColor);
    void toggleImageAlpha();
    void imageWasDroppedOnBitmapview(std::shared_ptr<const Image> image);

    // Brings the window in line with the result's alpha and recomputes.
    void settingsChanged();

    // The once-a-second tick from the front end.
    void displayTimerFired();
    // The window is closing: stop the workers and let go of the window.
    bool windowShouldClose();

    // Blocks until the adjusted image is complete.
    void waitUntilComplete(const std::function<void(float)>& progress = {});

    bool isDocumentEdited() const;
    void setFileName(std::string fileName) { fileName_ = std::move(fileName); }
    const std::string& fileName() const { return fileName_; }

  private:
    void fillDefaultAdjustments(const UserDefaults* defaults);
    void addBuiltInAdjustment(ColorRef color, int mask);
    void updateAlphaColumn(bool destinationHasAlpha);
    bool windowShowsDestination() const;

    std::shared_ptr<UndoManager> undoManager_ = std::make_shared<UndoManager>();
    DocumentWindow* window_ = nullptr;
    std::shared_ptr<const Image> sourceImage_;
    std::shared_ptr<Bitmap> sourceBitmap_;
    std::shared_ptr<Bitmap> destinationBitmap_;
    Adjustments colorAdjustments_;
    Adjustments activeColorAdjustments_;
    int clickedColorTableRow_ = -1;
    ColorColumn clickedColorTableColumn_ = ColorColumn::None;
    ColorRef backgroundColor_ = Color::clearColor();
    long savedChangeCount_ = 0;
    std::string fileName_;
    AdjustmentEngine engine_;
};

} // namespace velo
