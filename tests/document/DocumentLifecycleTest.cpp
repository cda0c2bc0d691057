#include "document/DocumentSupport.h"
#include "document/RecordingObserver.h"
#include "platform/Archiver.h"
#include "platform/SettingsUserDefaults.h"
#include "support/Bits.h"
#include "support/TemporaryFolder.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <filesystem>

namespace velo {
namespace {

using test::TemporaryFolder;

TEST(DocumentLifecycle, ANewDocumentHoldsTheFiveBuiltInAdjustments) {
    VeloDocument document(nullptr, 2);
    document.finishSetUp();
    const auto& all = document.colorAdjustments();
    ASSERT_EQ(all.size(), 5u);
    const ColorRef colours[] = {Color::blackColor(), Color::whiteColor(), Color::redColor(),
                                Color::greenColor(), Color::blueColor()};
    const int masks[] = {14, 14, 11, 11, 11};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_TRUE(all[i]->sourceColor()->isEqual(*colours[i]));
        EXPECT_TRUE(all[i]->targetColor()->isEqual(*colours[i]));
        EXPECT_EQ(all[i]->componentsMask(), masks[i]);
        EXPECT_FALSE(all[i]->usesHSB());
    }
    EXPECT_EQ(document.activeColorAdjustments(), all);
    EXPECT_FALSE(document.undoManager()->canUndo());
    EXPECT_FALSE(document.isDocumentEdited());
    EXPECT_TRUE(document.backgroundColor()->isEqual(*Color::clearColor()));
    // Their edits are undoable.
    all[0]->setUsesHSB(true);
    EXPECT_TRUE(document.isDocumentEdited());
}

TEST(DocumentLifecycle, StoredDefaultsReplaceTheBuiltIns) {
    TemporaryFolder folder;
    SettingsUserDefaults defaults(folder.path());
    ColorAdjustment stored;
    stored.setSourceColor(Color::colorWithCalibratedRed(0.2f, 0.3f, 0.4f, 1));
    stored.setUsesHSB(true);
    defaults.setObject("activeColorAdjustments",
                       PropertyValue::Array{stored.pList(), stored.pList()});

    SettingsUserDefaults reread(folder.path());
    VeloDocument document(&reread, 1);
    document.finishSetUp();
    ASSERT_EQ(document.colorAdjustments().size(), 2u);
    EXPECT_TRUE(document.colorAdjustments()[1]->usesHSB());
    EXPECT_EQ(document.activeColorAdjustments().size(), 2u);
    EXPECT_FALSE(document.undoManager()->canUndo());

    defaults.setObject("activeColorAdjustments", PropertyValue::Array{});
    EXPECT_TRUE(VeloDocument(&defaults, 1).colorAdjustments().empty());
}

TEST(DocumentLifecycle, UnreadableStoredDefaultsCountAsNone) {
    TemporaryFolder folder;
    {
        QSettings raw(QString::fromStdString((folder.path() / "Velo.conf").string()),
                      QSettings::IniFormat);
        raw.setValue("activeColorAdjustments", QByteArray("\xd9\xd9\xf7\x9f", 4));
    }
    SettingsUserDefaults garbage(folder.path());
    EXPECT_EQ(VeloDocument(&garbage, 1).colorAdjustments().size(), 5u);
    {
        QSettings raw(QString::fromStdString((folder.path() / "Velo.conf").string()),
                      QSettings::IniFormat);
        raw.setValue("activeColorAdjustments", "not an archive");
    }
    SettingsUserDefaults text(folder.path());
    EXPECT_EQ(VeloDocument(&text, 1).colorAdjustments().size(), 5u);

    SettingsUserDefaults notAnArray(folder.path());
    notAnArray.setObject("activeColorAdjustments", "red");
    EXPECT_EQ(VeloDocument(&notAnArray, 1).colorAdjustments().size(), 5u);
}

TEST(DocumentLifecycle, SettingAnImageMakesBothBitmapsAndShowsTheRightOne) {
    VeloDocument document(nullptr, 2);
    test::RecordingObserver observer;
    document.addObserver(&observer);
    document.finishSetUp();

    auto first = test::randomImage(40, 1000, 3);
    document.setSourceImage(first);
    EXPECT_EQ(document.sourceBitmap(), first->representations[0].bitmap);
    ASSERT_TRUE(document.destinationBitmap());
    EXPECT_NE(document.destinationBitmap(), document.sourceBitmap());
    EXPECT_EQ(document.shownBitmap(), document.destinationBitmap());
    EXPECT_EQ(observer.count(DocumentChange::Image), 1);
    EXPECT_EQ(document.undoManager()->undoActionName(), "Change image");

    document.undoManager()->endEvent();
    document.toggleSourceOrDestinationImage();
    auto second = test::randomImage(30, 95, 4);
    document.imageWasDroppedOnBitmapview(second);
    EXPECT_EQ(document.shownBitmap(), document.sourceBitmap());
    document.undoManager()->endEvent();

    // The same image again changes nothing.
    document.setSourceImage(second);
    EXPECT_FALSE(document.undoManager()->canRedo());

    document.undoManager()->undo();
    EXPECT_EQ(document.sourceImage(), first);
    EXPECT_EQ(test::resultOf(document), test::referenceResult(document));
    document.undoManager()->redo();
    EXPECT_EQ(document.sourceImage(), second);
    document.undoManager()->undo();
    document.undoManager()->undo();
    EXPECT_FALSE(document.sourceImage());
    EXPECT_FALSE(document.sourceBitmap());
    EXPECT_FALSE(document.destinationBitmap());
}

TEST(DocumentLifecycle, AnImageWithABackgroundColourBringsItAlong) {
    VeloDocument document(nullptr, 1);
    auto image = std::make_shared<Image>(*test::randomImage(4, 4, 3));
    image->backgroundColor = std::array<float, 4>{0.5f, 0.25f, 1, 1};
    document.setSourceImage(image);
    EXPECT_TRUE(
        document.backgroundColor()->isEqual(*Color::colorWithCalibratedRed(0.5f, 0.25f, 1, 1)));
}

TEST(DocumentLifecycle, TheTickTellsOfFinishedLinesAndTheProgress) {
    VeloDocument document(nullptr, 2);
    test::RecordingObserver observer;
    document.addObserver(&observer);
    document.setSourceImage(test::randomImage(20, 30, 3));
    document.finishSetUp();
    document.waitUntilComplete();
    document.displayTimerFired();
    EXPECT_EQ(observer.count(DocumentChange::Progress), 1);
    EXPECT_FALSE(document.resultProgress()); // complete

    // Nothing new to show while the source is shown.
    document.toggleSourceOrDestinationImage();
    document.settingsChanged();
    document.waitUntilComplete();
    document.displayTimerFired();
    EXPECT_EQ(observer.count(DocumentChange::Progress), 1);

    EXPECT_TRUE(document.windowShouldClose());
    document.displayTimerFired(); // no observers any more: nobody is told
    EXPECT_EQ(observer.count(DocumentChange::Progress), 1);
}

TEST(DocumentLifecycle, TheTitleAtRestIsTheFileNameOrUntitled) {
    VeloDocument document(nullptr, 1);
    EXPECT_EQ(document.displayName(), "Untitled");
    document.setUntitledName("/");
    EXPECT_EQ(document.displayName(), "Untitled");
    document.setUntitledName("Recovered sunset.velo");
    EXPECT_EQ(document.displayName(), "Recovered sunset.velo");
    document.setFileName("/home/ann/leaves.velo");
    EXPECT_EQ(document.displayName(), "leaves.velo");
}

} // namespace
} // namespace velo
