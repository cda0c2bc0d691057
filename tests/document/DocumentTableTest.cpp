#include "document/DocumentSupport.h"
#include "document/RecordingObserver.h"

#include <gtest/gtest.h>

namespace velo {
namespace {

using Column = TableColumn;

class DocumentTable : public test::ObservedDocumentTest {
  protected:
    ColorAdjustment& row(int i) { return *document.colorAdjustments()[i]; }
    // Clicks a swatch of a row that the click has selected.
    ColorRef clickSwatch(Column column, int r) {
        document.setSelectedRows({r});
        return document.tableClicked(column, r);
    }
    long restarts() const { return observer.count(DocumentChange::ResultRestarted); }
};

TEST_F(DocumentTable, RowsOutsideTheListAndUnknownColumnsAnswerText) {
    EXPECT_EQ(document.objectValue(Column::Active, 5), TableValue(std::string("Internal error")));
    EXPECT_EQ(document.objectValue(Column::Hue, -1), TableValue(std::string("Internal error")));
    EXPECT_EQ(document.objectValue(Column::Unknown, 0), TableValue(std::string("?")));

    long before = restarts();
    document.setObjectValue(false, Column::Active, 5);
    EXPECT_EQ(restarts(), before);
    EXPECT_EQ(document.activeColorAdjustments().size(), 5u);
    // An unknown column still recomputes.
    document.setObjectValue(true, Column::Unknown, 0);
    EXPECT_EQ(restarts(), before + 1);

    document.selectAll();
    document.deleteSelectedAdjustents();
    EXPECT_EQ(document.numberOfRowsInTableView(), 0);
    EXPECT_EQ(document.objectValue(Column::Source, 0), TableValue(std::string("Internal error")));
}

TEST_F(DocumentTable, AnRGBRecordShowsAMixedDisabledHueUntilHSBIsChosen) {
    // Red: hue, saturation and alpha on, in RGB.
    EXPECT_EQ(document.objectValue(Column::Hue, 2), TableValue(kMixedState));
    EXPECT_EQ(document.objectValue(Column::Saturation, 2), TableValue(true));
    EXPECT_EQ(document.objectValue(Column::Brightness, 2), TableValue(false));
    EXPECT_EQ(document.objectValue(Column::ColorSpace, 2), TableValue(0));
    for (Column c : {Column::Hue, Column::Saturation, Column::Brightness, Column::Alpha}) {
        EXPECT_FALSE(document.isCellEnabled(c, 2));
    }
    EXPECT_TRUE(document.isCellEnabled(Column::Active, 2));
    EXPECT_TRUE(document.isCellEnabled(Column::ColorSpace, 2));

    long rowChanges = observer.count(DocumentChange::Rows);
    document.setObjectValue(1, Column::ColorSpace, 2);
    event();
    EXPECT_TRUE(row(2).usesHSB());
    EXPECT_GT(observer.count(DocumentChange::Rows), rowChanges);
    EXPECT_EQ(document.objectValue(Column::Hue, 2), TableValue(true));
    EXPECT_EQ(document.objectValue(Column::ColorSpace, 2), TableValue(1));
    for (Column c : {Column::Hue, Column::Saturation, Column::Brightness, Column::Alpha}) {
        EXPECT_TRUE(document.isCellEnabled(c, 2));
    }
    EXPECT_FALSE(document.isCellEnabled(Column::Hue, 3));
    EXPECT_EQ(undo().undoActionName(), "Change color space");
    undo().undo();
    EXPECT_FALSE(row(2).usesHSB());
}

TEST_F(DocumentTable, ToggledComponentsKeepTheOtherBitsAndUndo) {
    ASSERT_EQ(row(2).componentsMask(), kHueBit | kSaturationBit | kAlphaBit);
    document.setObjectValue(true, Column::Brightness, 2);
    event();
    EXPECT_EQ(row(2).componentsMask(), 15);
    document.setObjectValue(false, Column::Hue, 2);
    event();
    EXPECT_EQ(row(2).componentsMask(), kSaturationBit | kBrightnessBit | kAlphaBit);
    document.setObjectValue(false, Column::Alpha, 2);
    event();
    EXPECT_EQ(row(2).componentsMask(), kSaturationBit | kBrightnessBit);
    EXPECT_EQ(undo().undoActionName(), "Component on/off");

    undo().undo();
    undo().undo();
    undo().undo();
    EXPECT_EQ(row(2).componentsMask(), kHueBit | kSaturationBit | kAlphaBit);
    EXPECT_FALSE(undo().canUndo());
}

TEST_F(DocumentTable, SwitchingRowsOnAndOffRestartsWithoutUndo) {
    auto third = document.colorAdjustments()[2];
    long before = restarts();
    document.setObjectValue(true, Column::Active, 2);
    EXPECT_EQ(document.activeColorAdjustments().size(), 5u);
    EXPECT_EQ(restarts(), before + 1);
    EXPECT_FALSE(document.isDocumentEdited());

    document.setObjectValue(false, Column::Active, 2);
    EXPECT_EQ(document.objectValue(Column::Active, 2), TableValue(false));
    EXPECT_EQ(document.activeColorAdjustments().size(), 4u);
    document.setObjectValue(false, Column::Active, 2);
    EXPECT_EQ(document.activeColorAdjustments().size(), 4u);
    EXPECT_EQ(restarts(), before + 3);

    document.setObjectValue(true, Column::Active, 2);
    EXPECT_EQ(document.activeColorAdjustments().back(), third);
    EXPECT_FALSE(undo().canUndo());
    // Yet the file keeps which rows are on: the document is edited, and says
    // so once; only saving makes it unedited again, whatever undo does.
    EXPECT_TRUE(document.isDocumentEdited());
    EXPECT_EQ(observer.count(DocumentChange::Edited), 1);
    document.newColorAdjustment();
    event();
    undo().undo();
    EXPECT_TRUE(document.isDocumentEdited());
    document.markUnchanged();
    EXPECT_FALSE(document.isDocumentEdited());
    EXPECT_EQ(observer.count(DocumentChange::Edited), 2);
}

TEST_F(DocumentTable, AClickOnASelectedSwatchOpensThePanelAndOtherClicksClearIt) {
    // Not selected: nothing opens.
    EXPECT_FALSE(document.tableClicked(Column::Target, 1));
    EXPECT_EQ(document.clickedColorTableColumn(), VeloDocument::ColorColumn::None);

    ColorRef panelColor = clickSwatch(Column::Target, 1);
    ASSERT_TRUE(panelColor);
    EXPECT_TRUE(panelColor->isEqual(*Color::whiteColor()));
    EXPECT_TRUE(document.isClickedColorCell(Column::Target, 1));
    EXPECT_FALSE(document.isClickedColorCell(Column::Source, 1));
    EXPECT_FALSE(document.isClickedColorCell(Column::Target, 0));

    // A check box click clears it.
    document.tableClicked(Column::Active, 1);
    EXPECT_FALSE(document.isClickedColorCell(Column::Target, 1));

    // So does a selection that leaves its row.
    clickSwatch(Column::Source, 3);
    EXPECT_TRUE(document.isClickedColorCell(Column::Source, 3));
    document.setSelectedRows({3, 4});
    EXPECT_TRUE(document.isClickedColorCell(Column::Source, 3));
    document.setSelectedRows({4});
    EXPECT_EQ(document.clickedColorTableColumn(), VeloDocument::ColorColumn::None);
    EXPECT_FALSE(document.changeColor(Color::redColor(), true));

    // A click that hit no cell.
    clickSwatch(Column::Source, 3);
    document.tableClicked(Column::Unknown, -1);
    EXPECT_EQ(document.clickedColorTableColumn(), VeloDocument::ColorColumn::None);
}

TEST_F(DocumentTable, PanelColoursReachOnlyTheConcernedDocumentsLiveClickedCell) {
    document.setSourceImage(test::randomImage(16, 12, 3, 7));
    document.finishSetUp();
    std::vector<std::uint8_t> before = test::resultOf(document);
    ColorRef orange = Color::colorWithCalibratedRed(1.0f, 0.5f, 0.0f, 1.0f);

    clickSwatch(Column::Target, 4);
    EXPECT_FALSE(document.changeColor(orange, false));
    EXPECT_TRUE(row(4).targetColor()->isEqual(*Color::blueColor()));

    long rowChanges = observer.count(DocumentChange::Rows);
    EXPECT_TRUE(document.changeColor(orange, true));
    event();
    EXPECT_TRUE(row(4).targetColor()->isEqual(*orange));
    EXPECT_GT(observer.count(DocumentChange::Rows), rowChanges);
    EXPECT_EQ(undo().undoActionName(), "Change color");
    std::vector<std::uint8_t> after = test::resultOf(document);
    EXPECT_NE(after, before);
    EXPECT_EQ(after, test::referenceResult(document));

    undo().undo();
    EXPECT_TRUE(row(4).targetColor()->isEqual(*Color::blueColor()));
    EXPECT_EQ(test::resultOf(document), before);

    // After deleting the last rows the clicked row is past the end.
    document.setSelectedRows({3, 4});
    document.deleteSelectedAdjustents();
    event();
    long restartsBefore = restarts();
    EXPECT_FALSE(document.changeColor(orange, true));
    EXPECT_EQ(restarts(), restartsBefore);
    for (const auto& adjustment : document.colorAdjustments()) {
        EXPECT_FALSE(adjustment->targetColor()->isEqual(*orange));
    }
}

} // namespace
} // namespace velo

namespace velo {
namespace {

class ReachColumn : public test::ObservedDocumentTest {
  protected:
    ColorAdjustment& row(int i) { return *document.colorAdjustments()[i]; }
};

TEST_F(ReachColumn, EditsUndoAndReadsNoneAsUnlimited) {
    EXPECT_EQ(document.objectValue(Column::Reach, 1), TableValue(ReachValue()));
    EXPECT_TRUE(document.isCellEnabled(Column::Reach, 1));
    document.setObjectValue(ReachValue(Reach::ball(0.25f)), Column::Reach, 1);
    event();
    EXPECT_EQ(document.objectValue(Column::Reach, 1), TableValue(ReachValue(Reach::ball(0.25f))));
    EXPECT_EQ(undo().undoActionName(), "Change reach");
    EXPECT_TRUE(document.isDocumentEdited());
    document.setObjectValue(ReachValue(), Column::Reach, 1);
    event();
    EXPECT_FALSE(row(1).reach());
    undo().undo();
    EXPECT_EQ(row(1).reach(), std::optional<Reach>(Reach::ball(0.25f)));
    undo().undo();
    EXPECT_FALSE(row(1).reach());
    EXPECT_FALSE(document.isDocumentEdited());
}

TEST_F(ReachColumn, TheModelPopUpOffersOKLabWhoseComponentsCount) {
    document.setObjectValue(2, Column::ColorSpace, 2);
    event();
    EXPECT_EQ(row(2).colorModel(), ColorModel::OKLab);
    EXPECT_EQ(document.objectValue(Column::ColorSpace, 2), TableValue(2));
    EXPECT_EQ(document.objectValue(Column::Hue, 2), TableValue(true));
    for (Column c : {Column::Hue, Column::Saturation, Column::Brightness, Column::Alpha}) {
        EXPECT_TRUE(document.isCellEnabled(c, 2));
    }
    // An index past the pop-up's keeps the model.
    document.setObjectValue(7, Column::ColorSpace, 2);
    EXPECT_EQ(row(2).colorModel(), ColorModel::OKLab);
    undo().undo();
    EXPECT_EQ(row(2).colorModel(), ColorModel::RGB);
}

// While a row's reach is dragged the view shows that row's share; then
// what was shown before, the selection's map included.
TEST_F(ReachColumn, ADragShowsTheRowsShareThenWhatWasShown) {
    document.setSourceImage(test::randomImage(40, 30, 3));
    auto mapPixels = [this] {
        document.waitUntilInfluenceComplete();
        const Bitmap& map = *document.influenceBitmap();
        return std::vector<std::uint8_t>(map.plane(0), map.plane(0) + map.bytesPerPlane());
    };
    document.setSelectedRows({0, 1});
    document.beginSharePreview(3);
    EXPECT_TRUE(document.showsInfluence());
    EXPECT_EQ(document.sharePreviewRow(), std::optional<int>(3));
    document.endSharePreview();
    EXPECT_EQ(document.shownImage(), VeloDocument::ShownImage::Adjusted);

    document.toggleInfluence();
    std::vector<std::uint8_t> selectionMap = mapPixels();
    document.beginSharePreview(3);
    EXPECT_NE(mapPixels(), selectionMap);
    document.endSharePreview();
    EXPECT_TRUE(document.showsInfluence());
    EXPECT_EQ(mapPixels(), selectionMap);

    document.beginSharePreview(99); // no such row
    EXPECT_FALSE(document.sharePreviewRow());
}

} // namespace
} // namespace velo
