// A command tells the document's observers once, whatever it changed and
// whichever commands it called; a row's share shown alone holds the result
// back until the share gives way.
#include "document/DocumentSupport.h"
#include "document/FileTypes.h"
#include "document/RecordingObserver.h"
#include "imageio/ImageEncoder.h"

#include <gtest/gtest.h>

namespace velo {
namespace {

using enum DocumentChange;

class DocumentNotification : public test::ObservedDocumentTest {
  protected:
    void SetUp() override {
        document.setSourceImage(test::randomImage(24, 16, 3));
        test::ObservedDocumentTest::SetUp();
    }
    // Tells whether `command` told the observers exactly once, and of `wanted`.
    template <typename Command> void expectToldOnce(Command command, DocumentChange wanted) {
        observer.told.clear();
        command();
        ASSERT_EQ(observer.told.size(), 1u);
        EXPECT_EQ(observer.told[0] & wanted, wanted);
    }
};

TEST_F(DocumentNotification, EachCommandTellsOnceWithEverythingItChanged) {
    expectToldOnce([&] { document.setObjectValue(Color::blueColor(), TableColumn::Target, 2); },
                   Rows | ResultRestarted);
    expectToldOnce([&] { document.newColorAdjustment(); },
                   Lists | Selection | Rows | ResultRestarted | UndoStack);
    // Three deletions inside one command.
    document.selectAll();
    event();
    expectToldOnce([&] { document.deleteSelectedAdjustents(); },
                   Lists | Selection | ResultRestarted);
    // Undo calls the inverse commands, and settingsChanged after them.
    expectToldOnce([&] { document.undo(); }, Lists | ResultRestarted | UndoStack);
    expectToldOnce([&] { document.redo(); }, Lists | ResultRestarted);
    expectToldOnce([&] { document.setSourceImage(test::randomImage(8, 8, 4, 2)); },
                   Image | ShownImage | ResultRestarted);
    expectToldOnce([&] { document.toggleInfluence(); }, ShownImage | InfluenceRestarted);
    expectToldOnce([&] { document.toggleImageAlpha(); }, ShownImage | Alpha | InfluenceRestarted);
}

// What the document's image lacks, as an observer finds it when told.
class DamageObserver : public DocumentObserver {
  public:
    explicit DamageObserver(const VeloDocument& document) : document_(document) {}
    void documentChanged(DocumentChange changes) override {
        if (hasAny(changes, Image)) {
            damageWhenTold = document_.sourceDamage();
        }
    }
    std::string damageWhenTold;

  private:
    const VeloDocument& document_;
};

TEST_F(DocumentNotification, ACutImageIsToldWithItsDamage) {
    EncodedData png = encodeImage(*document.sourceBitmap(), ImageFileType::PNG, 1);
    ASSERT_TRUE(png.data);
    std::vector<std::uint8_t> cut(png.data->begin(), png.data->begin() + png.data->size() / 2);
    VeloDocument other(nullptr, 2);
    DamageObserver damage(other);
    other.addObserver(&damage);
    ASSERT_TRUE(other.loadDataRepresentation(cut, "PNG").ok);
    EXPECT_FALSE(other.sourceDamage().empty());
    EXPECT_EQ(damage.damageWhenTold, other.sourceDamage());
}

TEST_F(DocumentNotification, ReadingADocumentTellsOnce) {
    EncodedData saved = document.dataRepresentationOfType(kVeloDocumentType);
    ASSERT_TRUE(saved.data);
    VeloDocument other(nullptr, 2);
    test::RecordingObserver otherObserver;
    other.addObserver(&otherObserver);
    ASSERT_TRUE(other.loadDataRepresentation(*saved.data, kVeloDocumentType).ok);
    ASSERT_EQ(otherObserver.told.size(), 1u);
    EXPECT_EQ(otherObserver.told[0] & (Image | ResultRestarted), Image | ResultRestarted);
}

TEST_F(DocumentNotification, ADraggedShareHoldsTheResultBackUntilItGivesWay) {
    document.beginSharePreview(2);
    observer.told.clear();
    for (float red = 0.1f; red < 1.0f; red += 0.1f) {
        document.setObjectValue(Color::colorWithCalibratedRed(red, 0.2f, 0.3f, 1.0f),
                                TableColumn::Target, 2);
    }
    EXPECT_EQ(observer.count(ResultRestarted), 0);
    EXPECT_EQ(observer.count(InfluenceRestarted), 9);
    observer.told.clear();
    document.endSharePreview();
    ASSERT_EQ(observer.told.size(), 1u);
    EXPECT_EQ(observer.told[0] & (ShownImage | ResultRestarted), ShownImage | ResultRestarted);
    EXPECT_EQ(test::resultOf(document), test::referenceResult(document));
}

TEST_F(DocumentNotification, WhatReadsTheResultDuringADragGetsItCurrent) {
    document.beginSharePreview(1);
    document.setObjectValue(Color::redColor(), TableColumn::Target, 1);
    // Waiting (as exporting and printing do) brings the result up to date.
    EXPECT_EQ(test::resultOf(document), test::referenceResult(document));
    document.endSharePreview();
    EXPECT_EQ(test::resultOf(document), test::referenceResult(document));
}

} // namespace
} // namespace velo
