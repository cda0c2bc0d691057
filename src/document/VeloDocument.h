#pragma once

#include "adjust/ColorAdjustment.h"
#include "color/PixelAccess.h"
#include "document/BitmapViewClick.h"
#include "document/CommandValidation.h"
#include "document/DocumentObserver.h"
#include "document/InfluenceEngine.h"
#include "document/TableColumns.h"
#include "engine/AdjustmentEngine.h"
#include "imageio/Coded.h"
#include "platform/Files.h"
#include "platform/Image.h"
#include "platform/UndoManager.h"
#include "platform/UserDefaults.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velo {

// One opened image, its working bitmaps, its adjustments and the engine that
// keeps the adjusted image current, with the user's commands and their undo.
// It tells its observers (the window, the display, the drawer, the recovery
// keeper) what changed, once per command however much the command changed,
// and needs none of them: every command works the same without.
// Main thread only.
class VeloDocument {
  public:
    using Adjustments = AdjustmentEngine::Adjustments;

    // Which table column's colour the colour panel edits.
    enum class ColorColumn { None, Source, Target };
    // What the image view shows.
    enum class ShownImage { Source, Adjusted, Influence };

    // defaults may be null (no stored defaults); numberOfThreads 0 means one
    // worker per processor.
    explicit VeloDocument(const UserDefaults* defaults = nullptr, int numberOfThreads = 0);
    ~VeloDocument();
    VeloDocument(const VeloDocument&) = delete;
    VeloDocument& operator=(const VeloDocument&) = delete;

    // Observers are told of every change until removed; the document never
    // owns them.
    void addObserver(DocumentObserver* observer);
    void removeObserver(DocumentObserver* observer);

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

    // Undo and redo, each ending the step in progress first.
    void undo();
    void redo();
    // Ends the undo step in progress: what comes next is a step of its own.
    // A drag's events, or several rows deleted at once, go in one step
    // because nothing ends it between them.
    void endUndoStep();

    // Replaces both lists at once (active ones first, then the others),
    // without undo; every adjustment gets the document's undo manager.
    void replaceAdjustments(Adjustments active, const Adjustments& inactive);

    int clickedColorTableRow() const { return clickedColorTableRow_; }
    ColorColumn clickedColorTableColumn() const { return clickedColorTableColumn_; }

    // The user's commands.
    void newColorAdjustment(std::shared_ptr<ColorAdjustment> colorAdjustment = nullptr);
    void deleteColorAdjustment(const std::shared_ptr<ColorAdjustment>& colorAdjustment);
    // "Adjustents" is the command's long-standing name: keep the spelling.
    void deleteSelectedAdjustents();
    // Sets each selected row's target to its source, as one undoable step.
    void protectSelectedAdjustments();
    void mouseDownInBitmapView(const BitmapViewClick& click);
    // A left-button drag across the image: the shades under it (a brush as
    // wide as the pick's sample size, on the source image) make one new oklab
    // row fitted to them, or, widening, grow the selected row's range just
    // enough to take them. The row is refitted as the stroke goes on and its
    // share shown alone until it ends; the whole stroke is one undo step.
    // Points are pixels of the source, counted from its top-left one.
    void beginStroke(PixelIndex at, bool widenSelected);
    void extendStroke(PixelIndex to);
    void endStroke();
    bool isStroking() const { return stroke_ != nullptr; }
    // Pixels a side of the square a pick averages (1, 3, 5 or 11; others
    // are ignored).
    void setPickSampleSize(int sampleSize);
    int pickSampleSize() const { return pickSampleSize_; }
    // Shows the source image if the adjusted one is shown, else the adjusted.
    void toggleSourceOrDestinationImage();
    // Shows the influence map instead of the image, or the image shown
    // before it again.
    void toggleInfluence();
    bool showsInfluence() const { return shownImage_ == ShownImage::Influence; }
    ShownImage shownImage() const { return shownImage_; }
    // While a row's reach or colour is dragged the view shows that row's
    // share alone (the influence map of that row); the end of the drag
    // brings back what was shown before.
    void beginSharePreview(int row);
    void endSharePreview();
    std::optional<int> sharePreviewRow() const { return sharePreviewRow_; }
    // The bitmap the view shows: the source, the adjusted image or the map.
    std::shared_ptr<Bitmap> shownBitmap() const;
    void setBackgroundColor(ColorRef color);
    void takeBackgroundColorFrom(ColorRef wellColor);
    void toggleImageAlpha();
    bool resultHasAlpha() const { return destinationBitmap_ && destinationBitmap_->hasAlpha(); }
    // What the opened image file's data did not hold (it ends early or is
    // corrupt): the image is usable, the user decides. Empty when whole;
    // another image clears it.
    const std::string& sourceDamage() const { return sourceDamage_; }
    // "Bitmapview" is the drop's long-standing name: keep the spelling.
    void imageWasDroppedOnBitmapview(std::shared_ptr<const Image> image);

    // The rows selected in the table, ascending. The table's own selection
    // follows this one; deleting, protecting and the influence map act on it.
    const std::vector<int>& selectedRows() const { return selectedRows_; }
    bool isRowSelected(int row) const;
    // Rows outside the table are dropped.
    void setSelectedRows(std::vector<int> rows);
    void selectRowAlone(int row);
    void selectAll();

    // The adjustments table: one row per adjustment. Every edit recomputes;
    // edits of colours, model and mask are undoable, switching a row on or
    // off is not.
    int numberOfRowsInTableView() const;
    TableValue objectValue(TableColumn column, int row) const;
    void setObjectValue(const TableValue& value, TableColumn column, int row);
    // Whether a cell takes edits now (components count only in HSB).
    bool isCellEnabled(TableColumn column, int row) const;
    // An active HSB row with hue, saturation and brightness off on an opaque
    // result: it matches on alpha alone, which every pixel shares, so every
    // pixel takes its target and nothing the user sees tells why.
    bool rowMatchesNothingShown(int row) const;
    // The colour cell the colour panel edits, drawn active.
    bool isClickedColorCell(TableColumn column, int row) const;
    // A click in the table; column Unknown or row -1 where it hit no cell.
    // The colour to give the colour panel when the click chose a colour cell
    // for it to edit, else null.
    ColorRef tableClicked(TableColumn column, int row);
    // A colour from the shared colour panel; concerned: this document's
    // window was the last active document window. True when it was applied.
    bool changeColor(ColorRef color, bool concerned);

    // Tells that the result's alpha may have changed, and recomputes.
    void settingsChanged();

    // The once-a-second tick from the front end: tells Progress when there
    // are finished lines to show.
    void displayTimerFired();
    // The share of the adjusted image's lines handed out (0..1) at the last
    // tick, or nothing once every line was.
    std::optional<float> resultProgress() const { return resultProgress_; }
    // The window is closing: stop the workers and forget the observers.
    bool windowShouldClose();

    // Blocks until the adjusted image is complete (and current).
    void waitUntilComplete(const std::function<void(float)>& progress = {});
    // The adjusted image as it is being computed: the stripes finished
    // since last asked (safe to read until the next restart), and a
    // worker-thread call after each finished stripe (of it or of the
    // influence map).
    AdjustmentEngine::FinishedStripes takeFinishedStripes() {
        return engine_.takeFinishedStripes();
    }
    void setStripeObserver(std::function<void()> observer) {
        engine_.setStripeObserver(observer);
        influence_.setStripeObserver(std::move(observer));
    }
    // The same for the influence map, while it is shown.
    AdjustmentEngine::FinishedStripes takeFinishedInfluenceStripes() {
        return influence_.takeFinishedStripes();
    }
    const std::shared_ptr<Bitmap>& influenceBitmap() const { return influence_.bitmap(); }
    void waitUntilInfluenceComplete() { influence_.waitUntilComplete(); }
    // Positions in the active list of the rows selected in the table (past
    // its end for a selected row that is off); the influence map shows
    // their summed share.
    AdjustmentEngine::Selection selectedPositions() const;
    // The whole map, or the whole result, computed at once from a (reduced)
    // copy of the source, for a preview.
    std::shared_ptr<Bitmap> influencePreview(const Bitmap& source) const;
    std::shared_ptr<Bitmap> resultPreview(const Bitmap& source) const;
    // Writes the influence map, complete, as PNG, atomically.
    std::optional<std::string> writeInfluenceTo(const std::filesystem::path& path);
    // Copies of the active adjustments, as the workers compute with them.
    std::shared_ptr<const std::vector<ColorAdjustment>> activeAdjustmentCopies() const {
        return AdjustmentEngine::copies(activeColorAdjustments_);
    }

    // The document as a file of the given type: the document archive, or the
    // adjusted image (complete) in a raster type. Nothing, with the reason,
    // for an unknown type or a failed encoding.
    EncodedData dataRepresentationOfType(const std::string& typeName);
    // Reads a file's bytes into the document. A document archive that is
    // malformed in any way, or an image that cannot be decoded, fails with a
    // reason and leaves the document as it was.
    struct LoadResult {
        bool ok = false;
        std::string error;
    };
    LoadResult loadDataRepresentation(std::span<const std::uint8_t> data,
                                      const std::string& typeName);
    // The document archive as the document is now, made when called, on any
    // thread: it holds copies, never the document.
    std::function<EncodedData()> archiveSnapshot() const;
    // Whether exports carry the source's colour profile, EXIF, XMP and IPTC;
    // they do unless told otherwise.
    void setKeepsMetadata(bool keeps) { keepsMetadata_ = keeps; }
    bool keepsMetadata() const { return keepsMetadata_; }
    // The depth exports are written at where their type holds it: 8 or 16,
    // or 0 for the result's own.
    void setExportBitsPerSample(int bits) { exportBitsPerSample_ = bits; }
    // The same through a file, written atomically.
    std::optional<std::string> writeToFile(const std::filesystem::path& path,
                                           const std::string& typeName);
    LoadResult readFromFile(const std::filesystem::path& path, const std::string& typeName);

    // Whether a command is enabled now, and the title it takes.
    Validation validateMenuItem(Command command) const;
    bool validateUserInterfaceItem(Command command) const;

    // The JPEG quality exports take: the stored one, else Velo's own.
    static float jpegCompressionFactor(const UserDefaults* defaults);

    // Stores the active adjustments as the defaults for new documents.
    void saveColorAdjustmentsAsDefault(UserDefaults& defaults) const;

    // Whether anything the document saves changed since it was last saved
    // or opened, by a step still done or by one that cannot be undone.
    bool isDocumentEdited() const;
    // The document is as its file now holds it (and the file as it is now).
    void markUnchanged();
    // Edited whatever its history: its file is gone, or it was recovered.
    void markEdited();
    // Whether another program changed, replaced or removed the file since
    // the document was last read from it or saved to it.
    bool fileChangedOnDisk() const;
    // The "version" of the document file last read ("" when it had none);
    // reading does not depend on it.
    const std::string& fileVersion() const { return fileVersion_; }
    void setFileName(std::string fileName) { fileName_ = std::move(fileName); }
    const std::string& fileName() const { return fileName_; }
    // The name a document without a file shows instead of "Untitled".
    void setUntitledName(std::string name) { untitledName_ = std::move(name); }
    // The title at rest: the file's name, the untitled name, or "Untitled".
    std::string displayName() const;

  private:
    struct ParsedDocument;
    EncodedData documentArchive() const;
    EncodedData exportImage(const std::string& typeName, ImageFileType type);
    void writeSourceMetadata(PropertyValue::Data& encoded) const;
    void apply(ParsedDocument& parsed);
    void fillDefaultAdjustments(const UserDefaults* defaults);
    void addBuiltInAdjustment(ColorRef color, int mask);
    void restart();
    void restartInfluence();
    void show(ShownImage shown);
    // Drops selected rows past the end of the table.
    void keepSelectionInTable();
    struct Stroke;
    void fitStrokeRow();
    // A change that no undo step records, of what the document saves.
    void editedOutsideUndo();
    // Notes a change; told at once outside a command, else when the
    // outermost command ends.
    void changed(DocumentChange changes);
    // Tells every observer what changed, adding Edited when the edited state
    // flipped.
    void tellObservers();
    // Gathers the changes of one command, the commands it calls included.
    class ChangeBatch {
      public:
        explicit ChangeBatch(VeloDocument& document) : document_(document) {
            ++document.batchDepth_;
        }
        ~ChangeBatch();
        ChangeBatch(const ChangeBatch&) = delete;
        ChangeBatch& operator=(const ChangeBatch&) = delete;

      private:
        VeloDocument& document_;
    };
    // The result waits while a row's share is shown alone: it is not seen,
    // and the drag that shows the share changes it with every event.
    void restartResult();
    void bringResultUpToDate();

    const UserDefaults* defaults_;
    std::shared_ptr<UndoManager> undoManager_ = std::make_shared<UndoManager>();
    std::vector<DocumentObserver*> observers_;
    int batchDepth_ = 0;
    bool changesPending_ = false;
    DocumentChange pendingChanges_ = DocumentChange::None;
    bool resultStale_ = false;
    std::shared_ptr<const Image> sourceImage_;
    std::string sourceDamage_;
    std::shared_ptr<Bitmap> sourceBitmap_;
    std::shared_ptr<Bitmap> destinationBitmap_;
    Adjustments colorAdjustments_;
    Adjustments activeColorAdjustments_;
    int clickedColorTableRow_ = -1;
    ColorColumn clickedColorTableColumn_ = ColorColumn::None;
    ColorRef backgroundColor_ = Color::clearColor();
    long savedChangeCount_ = 0;
    bool editedOutsideUndo_ = false;
    bool toldEdited_ = false;
    std::string fileName_;
    std::string untitledName_;
    FileStamp fileStamp_;
    std::string fileVersion_;
    bool keepsMetadata_ = true;
    int exportBitsPerSample_ = 0;
    int pickSampleSize_ = 1;
    ShownImage shownImage_ = ShownImage::Adjusted;
    ShownImage shownBeforeInfluence_ = ShownImage::Adjusted;
    std::optional<int> sharePreviewRow_;
    std::shared_ptr<Stroke> stroke_; // while a stroke lasts
    ShownImage shownBeforePreview_ = ShownImage::Adjusted;
    std::vector<int> selectedRows_;
    std::optional<float> resultProgress_;
    AdjustmentEngine engine_;
    InfluenceEngine influence_;
};

// The source pixel a click in the view falls on; none off the image.
std::optional<PixelIndex> sourcePixelAt(const VeloDocument& document, const BitmapViewClick& click);

} // namespace velo
