#include "color/PixelAccess.h"
#include "document/DocumentSupport.h"
#include "document/FileTypes.h"
#include "document/RecordingObserver.h"
#include "imageio/ImageCodec.h"
#include "support/Bits.h"

#include <gtest/gtest.h>

namespace velo {
namespace {

using DocumentCommands = test::ObservedDocumentTest;

TEST_F(DocumentCommands, NewAddsASelectedActiveRowThatUndoRemoves) {
    document.newColorAdjustment();
    event();
    ASSERT_EQ(document.colorAdjustments().size(), 6u);
    auto added = document.colorAdjustments().back();
    EXPECT_EQ(document.activeColorAdjustments().back(), added);
    EXPECT_EQ(added->componentsMask(), 15);
    EXPECT_EQ(document.selectedRows(), std::vector<int>{5});
    EXPECT_EQ(document.clickedColorTableRow(), 5);
    EXPECT_EQ(document.clickedColorTableColumn(), VeloDocument::ColorColumn::Source);
    EXPECT_EQ(undo().undoActionName(), "New");
    // Its own edits now register with the document.
    added->setSourceColor(Color::redColor());
    event();
    EXPECT_EQ(undo().undoActionName(), "Change color");
    undo().undo();

    undo().undo();
    EXPECT_EQ(document.colorAdjustments().size(), 5u);
    EXPECT_EQ(document.activeColorAdjustments().size(), 5u);
    undo().redo();
    EXPECT_EQ(document.colorAdjustments().back(), added);
}

TEST_F(DocumentCommands, DeletingSeveralRowsIsOneStep) {
    auto second = document.colorAdjustments()[1];
    auto fourth = document.colorAdjustments()[3];
    document.setSelectedRows({3, 1, 3});
    EXPECT_EQ(document.selectedRows(), (std::vector<int>{1, 3}));
    document.deleteSelectedAdjustents();
    event();
    ASSERT_EQ(document.colorAdjustments().size(), 3u);
    EXPECT_EQ(undo().undoActionName(), "Delete");
    // The rows that left the table leave the selection; the rest keep their place.
    EXPECT_EQ(document.selectedRows(), std::vector<int>{1});

    undo().undo();
    ASSERT_EQ(document.colorAdjustments().size(), 5u);
    EXPECT_EQ(document.colorAdjustments()[3], second);
    EXPECT_EQ(document.colorAdjustments()[4], fourth);
    EXPECT_EQ(document.activeColorAdjustments().size(), 5u);

    document.setSelectedRows({});
    document.deleteSelectedAdjustents();
    EXPECT_EQ(document.colorAdjustments().size(), 5u);
}

TEST_F(DocumentCommands, PickingReadsTheSourceOrWithShiftTheResult) {
    auto image = test::randomImage(8, 6, 3, 5);
    document.setSourceImage(image);
    document.colorAdjustments()[2]->setTargetColor(Color::blueColor());
    document.settingsChanged();
    document.waitUntilComplete();
    event();

    // The lower left corner of a view at half size: the last line, first column.
    document.mouseDownInBitmapView({{0, 0}, {4, 3}, false});
    event();
    RGBA expected = RGBAAtPoint(*document.sourceBitmap(), {0, 0});
    EXPECT_SAME_RGBA(document.colorAdjustments().back()->sourceRGBA(), expected.r, expected.g,
                     expected.b, expected.a);
    EXPECT_TRUE(document.colorAdjustments().back()->targetColor()->isEqual(
        *document.colorAdjustments().back()->sourceColor()));
    EXPECT_EQ(undo().undoActionName(), "New");

    document.waitUntilComplete();
    RGBA adjusted = RGBAAtPoint(*document.destinationBitmap(), {6.4f, 5.8f});
    document.mouseDownInBitmapView({{3.2f, 2.9f}, {4, 3}, true});
    event();
    EXPECT_SAME_RGBA(document.colorAdjustments().back()->sourceRGBA(), adjusted.r, adjusted.g,
                     adjusted.b, adjusted.a);

    // Outside the bitmap: nothing.
    std::size_t count = document.colorAdjustments().size();
    document.mouseDownInBitmapView({{4.0f, 1}, {4, 3}, false});
    document.mouseDownInBitmapView({{1, 3.5f}, {4, 3}, false});
    EXPECT_EQ(document.colorAdjustments().size(), count);
}

TEST_F(DocumentCommands, AnUnchangedBackgroundColourDoesNothing) {
    std::size_t told = observer.told.size();
    document.setBackgroundColor(Color::clearColor());
    EXPECT_FALSE(undo().canUndo());
    EXPECT_EQ(observer.told.size(), told);

    document.takeBackgroundColorFrom(Color::colorWithCalibratedRed(0.1f, 0.2f, 0.3f, 1));
    event();
    EXPECT_EQ(undo().undoActionName(), "Change Background Color");
    EXPECT_EQ(observer.count(DocumentChange::Background), 1);
    EXPECT_TRUE(document.isDocumentEdited());
    EXPECT_EQ(document.clickedColorTableColumn(), VeloDocument::ColorColumn::None);
    undo().undo();
    EXPECT_TRUE(document.backgroundColor()->isEqual(*Color::clearColor()));
}

TEST_F(DocumentCommands, TransparencyTogglesAndUndoes) {
    document.toggleImageAlpha(); // no image: nothing
    EXPECT_FALSE(undo().canUndo());

    document.setSourceImage(test::randomImage(12, 9, 3));
    event();
    auto original = document.destinationBitmap();
    long alphaChanges = observer.count(DocumentChange::Alpha);
    document.toggleImageAlpha();
    event();
    EXPECT_EQ(document.destinationBitmap()->samplesPerPixel(), 4);
    EXPECT_TRUE(document.resultHasAlpha());
    EXPECT_GT(observer.count(DocumentChange::Alpha), alphaChanges);
    EXPECT_EQ(document.shownBitmap(), document.destinationBitmap());
    EXPECT_EQ(test::resultOf(document), test::referenceResult(document));

    document.toggleImageAlpha();
    event();
    EXPECT_EQ(document.destinationBitmap()->samplesPerPixel(), 3);
    EXPECT_FALSE(document.resultHasAlpha());
    EXPECT_EQ(undo().undoActionName(), "Change transparency");

    undo().undo();
    undo().undo();
    EXPECT_EQ(document.destinationBitmap()->samplesPerPixel(), 3);
    EXPECT_EQ(test::resultOf(document), test::referenceResult(document));
}

TEST_F(DocumentCommands, SwitchingTheShownImageTouchesNeitherUndoNorResult) {
    document.setSourceImage(test::randomImage(5, 5, 3));
    document.finishSetUp();
    long shownChanges = observer.count(DocumentChange::ShownImage);
    document.toggleSourceOrDestinationImage();
    EXPECT_EQ(document.shownImage(), VeloDocument::ShownImage::Source);
    EXPECT_EQ(document.shownBitmap(), document.sourceBitmap());
    EXPECT_EQ(document.validateMenuItem(Command::ToggleSourceOrDestinationImage).title,
              "Show Adjusted");
    document.toggleSourceOrDestinationImage();
    EXPECT_EQ(document.shownBitmap(), document.destinationBitmap());
    EXPECT_EQ(observer.count(DocumentChange::ShownImage), shownChanges + 2);
    EXPECT_FALSE(undo().canUndo());
    EXPECT_FALSE(document.isDocumentEdited());
}

TEST_F(DocumentCommands, AnySequenceOfCommandsEndsAtTheReferenceResult) {
    std::mt19937 random(99);
    document.setSourceImage(test::randomImage(33, 71, 4, 3));
    for (int step = 0; step < 80; ++step) {
        const auto& all = document.colorAdjustments();
        switch (random() % 8) {
        case 0:
            document.newColorAdjustment();
            break;
        case 1:
            if (!all.empty()) {
                document.deleteColorAdjustment(all[random() % all.size()]);
            }
            break;
        case 2:
            if (!all.empty()) {
                all[random() % all.size()]->setTargetColor(Color::colorWithCalibratedRed(
                    (random() % 256) / 255.0f, (random() % 256) / 255.0f, 0.5f, 1));
                document.settingsChanged();
            }
            break;
        case 3:
            if (!all.empty()) {
                all[random() % all.size()]->setUsesHSB(random() % 2);
                document.settingsChanged();
            }
            break;
        case 4:
            document.toggleImageAlpha();
            break;
        case 5:
            document.mouseDownInBitmapView(
                {{float(random() % 33), float(random() % 71)}, {33, 71}, random() % 2 == 0});
            break;
        case 6:
            undo().undo();
            break;
        default:
            undo().redo();
        }
        event();
    }
    EXPECT_EQ(test::resultOf(document), test::referenceResult(document));
}

// The selection and the shown image are the document's own: every command
// works the same with no window or observer at all.
TEST(DocumentWithoutWindow, SelectsDeletesProtectsAndSwitchesTheView) {
    VeloDocument document(nullptr, 2);
    document.setSourceImage(test::randomImage(9, 7, 3));
    document.finishSetUp();
    UndoManager& undo = *document.undoManager();

    document.selectAll();
    EXPECT_EQ(document.selectedRows(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(document.validateUserInterfaceItem(Command::ProtectSelectedAdjustments));
    document.colorAdjustments()[1]->setTargetColor(Color::redColor());
    undo.endEvent();
    document.protectSelectedAdjustments();
    undo.endEvent();
    for (const auto& adjustment : document.colorAdjustments()) {
        EXPECT_TRUE(adjustment->targetColor()->isEqual(*adjustment->sourceColor()));
    }
    EXPECT_EQ(undo.undoActionName(), "Protect color");

    document.setSelectedRows({0, 2, 9});
    EXPECT_EQ(document.selectedRows(), (std::vector<int>{0, 2}));
    document.deleteSelectedAdjustents();
    undo.endEvent();
    EXPECT_EQ(document.colorAdjustments().size(), 3u);
    // Rows keep their place in the selection while they stay in the table.
    EXPECT_EQ(document.selectedRows(), (std::vector<int>{0, 2}));

    document.toggleSourceOrDestinationImage();
    EXPECT_EQ(document.shownBitmap(), document.sourceBitmap());
    document.toggleInfluence();
    EXPECT_TRUE(document.showsInfluence());
    EXPECT_EQ(document.shownBitmap(), document.influenceBitmap());
    document.toggleInfluence();
    EXPECT_EQ(document.shownImage(), VeloDocument::ShownImage::Source);
    document.toggleSourceOrDestinationImage();
    EXPECT_EQ(document.shownBitmap(), document.destinationBitmap());
    EXPECT_EQ(test::resultOf(document), test::referenceResult(document));
}

} // namespace
} // namespace velo

namespace velo {
namespace {

// Commands, undo and redo, saving and exporting while the workers compute,
// with few and with many workers: every export shows the complete result of
// its moment, and the end result is the reference pass.
class DocumentUnderLoad : public ::testing::TestWithParam<int> {};

TEST_P(DocumentUnderLoad, ExportsAndTheEndResultMatchTheReference) {
    std::mt19937 random(static_cast<unsigned>(GetParam()));
    VeloDocument document(nullptr, GetParam());
    test::RecordingObserver observer;
    document.addObserver(&observer);
    document.setSourceImage(test::randomImage(41, 67, 4, 2));
    document.finishSetUp();
    UndoManager& undo = *document.undoManager();
    for (int step = 0; step < 40; ++step) {
        const auto& all = document.colorAdjustments();
        switch (random() % 7) {
        case 0:
            document.newColorAdjustment();
            all.back()->setSourceColor(Color::colorWithCalibratedRed(0.2f, 0.5f, 0.7f, 1));
            all.back()->setTargetColor(Color::colorWithCalibratedRed(0.9f, 0.1f, 0.3f, 1));
            document.settingsChanged();
            break;
        case 1:
            if (!all.empty()) {
                all[random() % all.size()]->setUsesHSB(random() % 2);
                document.settingsChanged();
            }
            break;
        case 2:
            document.toggleImageAlpha();
            break;
        case 3:
            undo.undo();
            break;
        case 4:
            undo.redo();
            break;
        case 5: {
            EncodedData saved = document.dataRepresentationOfType(kVeloDocumentType);
            ASSERT_TRUE(saved.data);
            break;
        }
        default: {
            EncodedData png = document.dataRepresentationOfType("png");
            ASSERT_TRUE(png.data) << png.error;
            std::vector<std::uint8_t> expected = test::referenceResult(document);
            auto decoded = decodeImage(*png.data).image->representations[0].bitmap;
            if (document.destinationBitmap()->samplesPerPixel() == decoded->samplesPerPixel()) {
                EXPECT_TRUE(std::vector<std::uint8_t>(
                                decoded->plane(0), decoded->plane(0) + decoded->bytesPerPlane()) ==
                            expected);
            }
        }
        }
        undo.endEvent();
    }
    EXPECT_TRUE(test::resultOf(document) == test::referenceResult(document));
}

INSTANTIATE_TEST_SUITE_P(Workers, DocumentUnderLoad, ::testing::Values(1, 2, 5, 16));

} // namespace
} // namespace velo
