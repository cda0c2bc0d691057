// A large document edited from the colour panel faster than it can be
// computed, while its window shows it: the view reads only finished lines
// (the thread sanitizer run checks it), and the end result is exact.
#include "document/DocumentSupport.h"
#include "ui/WindowTestSupport.h"

#include "ui/AdjustmentsDrawer.h"
#include "ui/ColorPanel.h"
#include "ui/LiveDisplay.h"

#include <QColorDialog>

namespace velo {
namespace {

#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
// Sanitized code runs many times slower: a smaller image, the same traffic.
constexpr int kWide = 1600, kHigh = 1200;
#else
constexpr int kWide = 5472, kHigh = 3648; // 20 megapixels
#endif

using LiveWindowStress = test::WindowTest;

TEST_F(LiveWindowStress, PanelDragsWhileTheWindowShowsTheComputation) {
    auto document = std::make_unique<VeloDocument>(nullptr, 2);
    document->setSourceImage(test::randomImage(kWide, kHigh, 3, 7));
    auto* window = new DocumentMainWindow(std::move(document), application);
    window->show();
    settle(window);
    VeloDocument& doc = window->document();

    doc.selectRowAlone(2);
    doc.tableClicked(TableColumn::Target, 2);
    ColorPanel::shared().setLastActiveDocument(&doc);
    int moves = 0;
    while (moves < 180) {
        // Three seconds of moves, sixty a second where the machine keeps up,
        // each one restarting the sweep.
        float t = static_cast<float>(moves % 60) / 60.0f;
        ColorPanel::shared().dialog()->setCurrentColor(QColor::fromRgbF(1.0f - t, t, 0.5f));
        ++moves;
        if (moves % 7 == 0) {
            window->toggleSourceOrDestinationImage();
        }
        QTest::qWait(16);
    }
    if (window->imageView().bitmap() != doc.destinationBitmap()) {
        window->toggleSourceOrDestinationImage();
    }
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Change color");

    doc.waitUntilComplete();
    window->imageView().refreshFinishedStripes();
    EXPECT_TRUE(window->imageView().display().isExact());
    EXPECT_EQ(test::resultOf(doc), test::referenceResult(doc));
    window->document().markUnchanged();
    delete window;
}

} // namespace
} // namespace velo
