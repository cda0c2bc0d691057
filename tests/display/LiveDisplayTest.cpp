// The display on a real document, without widgets: it follows the workers
// row by row, lets a preview stand in while edits outpace sweeps, and tells
// its view what changed.
#include "display/LiveDisplay.h"
#include "display/BitmapDisplay.h"
#include "document/DocumentSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace velo {
namespace {

using Sweep = LiveDisplay::Sweep;

class LiveDisplayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        document.setSourceImage(test::randomImage(kWide, kHigh, 3));
        document.finishSetUp();
        display.setChangeHandler([this](QRect changed) { reported |= changed; });
        display.setDrawnSize({kWide, kHigh});
    }
    // The shown bitmap as the display would draw it once exact.
    QImage exactImage() {
        document.waitUntilComplete();
        document.waitUntilInfluenceComplete();
        QImage image = newDisplayImage({kWide, kHigh});
        drawRowsInto(image, *document.shownBitmap(), 0, kHigh);
        return image;
    }
    // Runs the event loop until the display is exact (the workers' notices
    // and the pause after edits both come through it).
    bool settles() {
        QElapsedTimer clock;
        clock.start();
        while (!display.isExact() && clock.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return display.isExact();
    }
    void editTarget(float red) {
        document.setObjectValue(Color::colorWithCalibratedRed(red, 0.5f, 0.2f, 1.0f),
                                TableColumn::Target, 2);
    }

    static constexpr int kWide = 160, kHigh = 120;
    VeloDocument document{nullptr, 2};
    LiveDisplay display{document};
    QRect reported;
};

TEST_F(LiveDisplayTest, FinishedRowsMakeTheImageExactAndAreReported) {
    ASSERT_TRUE(settles());
    EXPECT_EQ(display.image(), exactImage());
    EXPECT_EQ(display.bitmap(), document.destinationBitmap());
    reported = {};
    editTarget(0.9f);
    EXPECT_FALSE(display.isExact()); // no row of the new sweep is known yet
    ASSERT_TRUE(settles());
    EXPECT_EQ(display.image(), exactImage());
    EXPECT_FALSE(reported.isEmpty());
}

TEST_F(LiveDisplayTest, APreviewStandsInWhileEditsOutpaceSweeps) {
    // The first sweep's rows were never taken: a second edit finds it
    // unfinished and shows the whole new result at once, approximately.
    editTarget(0.1f);
    reported = {};
    editTarget(0.7f);
    EXPECT_EQ(reported, QRect(0, 0, kWide, kHigh));
    QImage preview = newDisplayImage({kWide, kHigh});
    drawRowsInto(preview,
                 *document.resultPreview(*reducedCopy(*document.sourceBitmap(), {kWide, kHigh})), 0,
                 kHigh);
    EXPECT_EQ(display.image(), preview);
    EXPECT_FALSE(display.isExact());
    // Once the edits pause, the exact rows replace it.
    ASSERT_TRUE(settles());
    EXPECT_EQ(display.image(), exactImage());
}

TEST_F(LiveDisplayTest, AShareDraggedAloneIsShownAndTheResultFollowsWhenItGivesWay) {
    ASSERT_TRUE(settles());
    QImage beforeDrag = display.image();
    document.beginSharePreview(2);
    EXPECT_EQ(display.bitmap(), document.influenceBitmap());
    for (float red : {0.2f, 0.4f, 0.6f}) {
        editTarget(red);
    }
    ASSERT_TRUE(settles());
    EXPECT_EQ(display.image(), exactImage());
    document.endSharePreview();
    EXPECT_EQ(display.bitmap(), document.destinationBitmap());
    // The result restarted only now: what shows is the new result or its
    // preview, never rows of the result before the drag.
    EXPECT_NE(display.image(), beforeDrag);
    ASSERT_TRUE(settles());
    EXPECT_EQ(display.image(), exactImage());
    EXPECT_EQ(test::resultOf(document), test::referenceResult(document));
}

TEST_F(LiveDisplayTest, ANewImageIsShownWholeAtItsOwnSize) {
    document.setSourceImage(test::randomImage(40, 30, 4, 3));
    EXPECT_EQ(display.bitmap(), document.destinationBitmap());
    display.setDrawnSize({40, 30});
    ASSERT_TRUE(settles());
    document.waitUntilComplete();
    QImage expected = newDisplayImage({40, 30});
    drawRowsInto(expected, *document.destinationBitmap(), 0, 30);
    EXPECT_EQ(display.image(), expected);
}

} // namespace
} // namespace velo
