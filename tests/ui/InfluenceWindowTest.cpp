// The influence view through the real window: switching, following the
// selection and edits, exporting, and a picture of it.
#include "ui/WindowTestSupport.h"

#include "ui/AdjustmentsDrawer.h"
#include "ui/ToolbarItems.h"

#include "engine/InfluenceMap.h"

#include <QAction>
#include <QLabel>
#include <QPrinter>
#include <QTableView>

namespace velo {
namespace {

// A 160 x 90 image: a gradient from red to blue over a green ramp.
std::filesystem::path writeGradient(const std::filesystem::path& path) {
    QImage image(160, 90, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixelColor(x, y, QColor(255 - x * 255 / 159, y * 255 / 89, x * 255 / 159));
        }
    }
    image.save(QString::fromStdString(path.string()));
    return path;
}

// The map as the reference computes it, one pass over the whole source.
std::shared_ptr<Bitmap> referenceMap(VeloDocument& document,
                                     const AdjustmentEngine::Selection& selection) {
    const Bitmap& source = *document.sourceBitmap();
    std::shared_ptr<Bitmap> map = influenceBitmap(source);
    calcInfluenceRange({0, static_cast<std::uint32_t>(source.pixelsHigh())}, &source, map.get(),
                       *document.activeAdjustmentCopies(), selection);
    return map;
}

// Whether an image file holds exactly the map's pixels.
::testing::AssertionResult fileShows(const std::filesystem::path& path, const Bitmap& map) {
    QImage image(QString::fromStdString(path.string()));
    if (image.size() != QSize(map.pixelsWide(), map.pixelsHigh())) {
        return ::testing::AssertionFailure() << "not the map's size";
    }
    for (int y = 0; y < image.height(); ++y) {
        const std::uint8_t* row = map.plane(0) + static_cast<std::size_t>(y) * map.bytesPerRow();
        for (int x = 0; x < image.width(); ++x) {
            QRgb shown = image.pixel(x, y);
            if (qRed(shown) != row[3 * x] || qGreen(shown) != row[3 * x + 1] ||
                qBlue(shown) != row[3 * x + 2]) {
                return ::testing::AssertionFailure() << "differs at " << x << ", " << y;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

std::vector<std::uint8_t> pixelsOf(const Bitmap& bitmap) {
    return {bitmap.plane(0), bitmap.plane(0) + bitmap.bytesPerPlane()};
}

class InfluenceWindowTest : public test::WindowTest {
  protected:
    // Exports the map (which waits for it) and lets the view take it.
    void exportAndSettle(DocumentMainWindow& window, const std::filesystem::path& path) {
        ASSERT_TRUE(window.exportInfluenceToFile(QString::fromStdString(path.string())));
        QApplication::processEvents();
        window.imageView().refreshFinishedStripes();
        QTest::qWait(LiveDisplay::kEditPauseMs + 50);
        window.imageView().refreshFinishedStripes();
    }
};

TEST_F(InfluenceWindowTest, CtrlIShowsTheMapThatFollowsSelectionAndEditsAndExports) {
    DocumentMainWindow* window = open(writeGradient(folder / "gradient.png"));
    ASSERT_TRUE(window);
    VeloDocument& document = window->document();
    QAction* toolbarItem = window->findChild<QAction*>(toolbar::kInfluence);
    ASSERT_TRUE(toolbarItem);
    // Shortcuts go to the active window.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    QTest::keyClick(window, Qt::Key_I, Qt::ControlModifier);
    ASSERT_TRUE(document.showsInfluence());
    EXPECT_EQ(window->imageView().bitmap(), document.influenceBitmap());
    EXPECT_TRUE(window->action("toggleInfluence")->isChecked());
    EXPECT_TRUE(toolbarItem->isChecked());
    // The status bar says what the map shows, with the rows' colours.
    auto* caption = window->findChild<QLabel*>("influenceCaption");
    ASSERT_TRUE(caption && caption->isVisible());
    EXPECT_TRUE(caption->text().startsWith("Owner of each pixel:"));
    EXPECT_TRUE(caption->text().contains("color:#FF0000\">&#9632;</span>&nbsp;3"))
        << caption->text().toStdString();

    // No row selected: each pixel shows its strongest adjustment's target.
    exportAndSettle(*window, folder / "owners.png");
    std::shared_ptr<Bitmap> owners = referenceMap(document, {});
    EXPECT_EQ(pixelsOf(*document.influenceBitmap()), pixelsOf(*owners));
    EXPECT_TRUE(fileShows(folder / "owners.png", *owners));
    EXPECT_TRUE(window->imageView().display().isExact());

    // A selected row: its share as grey, live through an edit of it.
    QTableView* table = window->drawer().table();
    table->selectRow(2);
    QApplication::processEvents();
    EXPECT_EQ(caption->text(), "Share of row 3 (white: all)");
    exportAndSettle(*window, folder / "red.png");
    EXPECT_TRUE(fileShows(folder / "red.png", *referenceMap(document, {2})));
    document.setObjectValue(Color::colorWithCalibratedRed(0.5f, 0.5f, 1, 1), TableColumn::Source,
                            2);
    exportAndSettle(*window, folder / "edited.png");
    std::shared_ptr<Bitmap> edited = referenceMap(document, {2});
    EXPECT_EQ(pixelsOf(*document.influenceBitmap()), pixelsOf(*edited));
    EXPECT_TRUE(fileShows(folder / "edited.png", *edited));
    EXPECT_TRUE(window->imageView().display().isExact());
    // Switched off, the row has no share: black.
    document.setObjectValue(false, TableColumn::Active, 2);
    exportAndSettle(*window, folder / "off.png");
    const Bitmap& off = *document.influenceBitmap();
    EXPECT_TRUE(std::all_of(off.plane(0), off.plane(0) + off.bytesPerPlane(),
                            [](std::uint8_t sample) { return sample == 0; }));

    // And back to the adjusted image it came from.
    QTest::keyClick(window, Qt::Key_I, Qt::ControlModifier);
    EXPECT_FALSE(document.showsInfluence());
    EXPECT_FALSE(caption->isVisible());
    EXPECT_EQ(window->imageView().bitmap(), document.destinationBitmap());
    EXPECT_FALSE(window->action("toggleInfluence")->isChecked());
    // From the original, the toolbar item shows the map and returns to it.
    window->toggleSourceOrDestinationImage();
    toolbarItem->trigger();
    EXPECT_TRUE(document.showsInfluence());
    toolbarItem->trigger();
    EXPECT_EQ(window->imageView().bitmap(), document.sourceBitmap());
}

// Printing reads the whole map: only once its workers are done with it.
TEST_F(InfluenceWindowTest, PrintingTheMapWaitsForIt) {
    DocumentMainWindow* window = open(writeGradient(folder / "gradient.png"));
    ASSERT_TRUE(window);
    VeloDocument& document = window->document();
    window->toggleInfluence();
    document.setObjectValue(Color::colorWithCalibratedRed(0.2f, 0.9f, 0.1f, 1), TableColumn::Source,
                            3);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((folder / "map.pdf").string()));
    window->printTo(printer);
    EXPECT_EQ(pixelsOf(*document.influenceBitmap()), pixelsOf(*referenceMap(document, {})));
    EXPECT_TRUE(std::filesystem::exists(folder / "map.pdf"));
}

TEST_F(InfluenceWindowTest, TheMapOfASamplePhoto) {
    VELO_REQUIRE_CORPUS();
    DocumentMainWindow* window =
        open(test::corpusDir() / "jpeg_12mp_progressive_sunset_by_Aitzol_Berasategi.jpg");
    ASSERT_TRUE(window);
    VeloDocument& document = window->document();
    auto warm = std::make_shared<ColorAdjustment>();
    warm->setSourceColor(Color::colorWithCalibratedRed(0.95f, 0.55f, 0.2f, 1));
    warm->setTargetColor(Color::colorWithCalibratedRed(0.6f, 0.2f, 0.8f, 1));
    document.newColorAdjustment(warm);
    document.undoManager()->endEvent();
    window->toggleInfluence();
    window->drawer().table()->clearSelection();
    QApplication::processEvents();
    exportAndSettle(*window, folder / "owners.png");
    EXPECT_TRUE(window->imageView().display().isExact());
    screenshot(*window, "influence-owners");

    int warmRow = static_cast<int>(document.colorAdjustments().size()) - 1;
    window->drawer().table()->selectRow(warmRow);
    QApplication::processEvents();
    exportAndSettle(*window, folder / "warm.png");
    EXPECT_TRUE(window->imageView().display().isExact());
    EXPECT_TRUE(fileShows(folder / "warm.png",
                          *referenceMap(document, {static_cast<std::size_t>(warmRow)})));
    screenshot(*window, "influence-view");
}

} // namespace
} // namespace velo
