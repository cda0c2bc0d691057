// A large document edited from the colour panel faster than it can be
// computed, while its window shows it: the view reads only finished lines
// (the thread sanitizer run checks it), and the end result is exact.
#include "document/DocumentSupport.h"
#include "ui/WindowTestSupport.h"

#include "display/LiveDisplay.h"
#include "ui/AdjustmentsDrawer.h"
#include "ui/ColorPanel.h"

#include <QColorDialog>

#include <array>

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

// One colour throughout, so that a preview and the exact result agree.
std::shared_ptr<const Image> solidImage(int wide, int high, std::array<std::uint8_t, 3> rgb) {
    auto bitmap = std::make_shared<Bitmap>(wide, high, 3, false, false, kDeviceRGBColorSpace);
    for (std::size_t i = 0; i < bitmap->bytesPerPlane(); ++i) {
        bitmap->plane(0)[i] = rgb[i % 3];
    }
    auto image = std::make_shared<Image>();
    image->representations.push_back(ImageRep::fromBitmap(bitmap));
    image->size = {double(wide), double(high)};
    return image;
}

QRgb centreOf(const QImage& image) {
    return image.pixel(image.width() / 2, image.height() / 2) & RGB_MASK;
}

// While edits outpace the sweeps the view paints the latest preview enlarged;
// once they pause, the exact rows replace it and no preview is left.
TEST_F(LiveWindowStress, TheViewPaintsEachPreviewUntilExactRowsReplaceIt) {
    auto document = std::make_unique<VeloDocument>(nullptr, 2);
    document->setSourceImage(solidImage(2400, 1800, {200, 40, 40}));
    auto row = std::make_shared<ColorAdjustment>();
    row->setSourceColor(Color::colorWithCalibratedRed(200 / 255.0f, 40 / 255.0f, 40 / 255.0f, 1));
    row->setTargetColor(Color::colorWithCalibratedRed(0, 0, 1, 1));
    document->replaceAdjustments({row}, {});
    auto* window = new DocumentMainWindow(std::move(document), application);
    window->show();
    settle(window);
    window->zoom100(); // a view's copy larger than a preview, on any screen
    QTest::qWait(200);
    settle(window);
    const LiveDisplay& display = window->imageView().display();
    ASSERT_GT(double(display.image().width()) * display.image().height(),
              LiveDisplay::kPreviewPixels);
    EXPECT_TRUE(display.unsettledPreview().isNull());

    // Two edits before any stripe is taken: the second one's preview.
    VeloDocument& doc = window->document();
    doc.setObjectValue(Color::colorWithCalibratedRed(0, 1, 0, 1), TableColumn::Target, 0);
    doc.setObjectValue(Color::colorWithCalibratedRed(1, 1, 0, 1), TableColumn::Target, 0);
    const QImage& preview = display.unsettledPreview();
    ASSERT_FALSE(preview.isNull());
    EXPECT_LT(preview.width(), display.image().width());
    EXPECT_EQ(centreOf(preview), qRgb(255, 255, 0) & RGB_MASK);
    EXPECT_EQ(centreOf(window->imageView().grab().toImage()), qRgb(255, 255, 0) & RGB_MASK);

    doc.waitUntilComplete();
    QTest::qWait(LiveDisplay::kEditPauseMs + 60);
    window->imageView().refreshFinishedStripes();
    EXPECT_TRUE(display.isExact());
    EXPECT_TRUE(display.unsettledPreview().isNull());
    EXPECT_EQ(centreOf(display.image()), qRgb(255, 255, 0) & RGB_MASK);
    EXPECT_EQ(centreOf(window->imageView().grab().toImage()), qRgb(255, 255, 0) & RGB_MASK);
    window->document().markUnchanged();
    delete window;
}

} // namespace
} // namespace velo
