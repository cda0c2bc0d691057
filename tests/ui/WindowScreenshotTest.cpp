// Pictures of real windows for a person to look at, in the build folder's
// screenshots folder.
#include "ui/WindowTestSupport.h"

#include "ui/AdjustmentsDrawer.h"

namespace velo {
namespace {

class WindowScreenshots : public test::WindowTest {
  protected:
    void grabWindow(DocumentMainWindow& window, const QString& name) {
        settle(&window);
        screenshot(window, name);
    }
};

TEST_F(WindowScreenshots, SamplePhotosSourceAndAdjusted) {
    VELO_REQUIRE_CORPUS();
    const struct {
        const char* file;
        const char* name;
        int zoom; // 0: as opened
    } samples[] = {
        {"jpeg_12mp_progressive_sunset_by_Aitzol_Berasategi.jpg", "window-sunset", 0},
        // 300 dpi: at its size in points it is small.
        {"png_rgba_photo_stellarium_garching-gl1.png", "window-transparent", 200},
    };
    for (const auto& sample : samples) {
        DocumentMainWindow* window = open(test::corpusDir() / sample.file);
        ASSERT_TRUE(window) << sample.file;
        if (sample.zoom) {
            window->zoomDocumentWindow(sample.zoom);
        }
        window->takeBackgroundColorFrom(QColor(40, 90, 160));
        // Oranges and reds turn towards purple; the greens pale.
        auto warm = std::make_shared<ColorAdjustment>();
        warm->setSourceColor(Color::colorWithCalibratedRed(0.95f, 0.55f, 0.2f, 1));
        warm->setTargetColor(Color::colorWithCalibratedRed(0.6f, 0.2f, 0.8f, 1));
        window->document().newColorAdjustment(warm);
        window->document().undoManager()->endEvent();
        grabWindow(*window, QString(sample.name) + "-adjusted");
        EXPECT_FALSE(window->document().colorAdjustments().empty());
        window->toggleSourceOrDestinationImage();
        grabWindow(*window, QString(sample.name) + "-original");
        EXPECT_EQ(window->imageView().bitmap(), window->document().sourceBitmap());
    }
}

} // namespace
} // namespace velo
