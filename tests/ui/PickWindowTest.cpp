// Picking, protecting and reading colours through the real window.
#include "ui/WindowTestSupport.h"

#include "ui/AdjustmentsDrawer.h"
#include "ui/AdjustmentsTableModel.h"

#include <QAction>
#include <QTableView>

#include <cmath>

namespace velo {
namespace {

// A 200 x 100 image: orange on the left half, a blue and white checkerboard
// of single pixels on the right.
std::filesystem::path writePickImage(const std::filesystem::path& path) {
    QImage image(200, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            QColor checker = (x + y) % 2 ? QColor(0, 0, 255) : QColor(255, 255, 255);
            image.setPixelColor(x, y, x < 100 ? QColor(224, 128, 64) : checker);
        }
    }
    image.save(QString::fromStdString(path.string()));
    return path;
}

void click(DocumentMainWindow& window, QPoint at, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(&window.imageView(), Qt::LeftButton, modifiers, at);
    QApplication::processEvents();
}

bool sameColour(const ColorRef& color, float r, float g, float b) {
    return colorsEqual(color, Color::colorWithCalibratedRed(r, g, b, 1));
}

using PickWindowTest = test::WindowTest;

TEST_F(PickWindowTest, AltClickAndProtectKeepColoursWhereTheyAreInOneUndoStep) {
    DocumentMainWindow* window = open(writePickImage(folder / "pick.png"));
    ASSERT_TRUE(window);
    VeloDocument& document = window->document();
    std::size_t before = document.colorAdjustments().size();

    click(*window, {40, 40}, Qt::AltModifier);
    ASSERT_EQ(document.colorAdjustments().size(), before + 1);
    const auto& protecting = document.colorAdjustments().back();
    EXPECT_TRUE(sameColour(protecting->sourceColor(), 224 / 255.0f, 128 / 255.0f, 64 / 255.0f));
    EXPECT_TRUE(colorsEqual(protecting->targetColor(), protecting->sourceColor()));
    EXPECT_EQ(window->action("undo")->text(), "Undo New");
    window->action("undo")->trigger();
    EXPECT_EQ(document.colorAdjustments().size(), before);

    // Two picked rows, retargeted, then protected together from the table.
    click(*window, {40, 40});
    click(*window, {150, 40});
    for (const auto& adjustment : document.colorAdjustments()) {
        adjustment->setTargetColor(Color::colorWithCalibratedRed(0, 1, 0, 1));
    }
    document.undoManager()->endEvent();
    QTableView* table = window->drawer().table();
    table->selectAll();
    QApplication::processEvents();
    ASSERT_TRUE(table->actions().contains(window->action("protect")));
    ASSERT_TRUE(window->action("protect")->isEnabled());
    window->action("protect")->trigger();
    for (const auto& adjustment : document.colorAdjustments()) {
        EXPECT_TRUE(colorsEqual(adjustment->targetColor(), adjustment->sourceColor()));
    }
    EXPECT_EQ(window->action("undo")->text(), "Undo Protect color");
    window->action("undo")->trigger();
    for (const auto& adjustment : document.colorAdjustments()) {
        EXPECT_TRUE(sameColour(adjustment->targetColor(), 0, 1, 0));
    }
    table->clearSelection();
    QApplication::processEvents();
    EXPECT_FALSE(window->action("protect")->isEnabled());
}

TEST_F(PickWindowTest, TheSampleSizeAveragesThePickAndIsKept) {
    DocumentMainWindow* window = open(writePickImage(folder / "pick.png"));
    ASSERT_TRUE(window);
    VeloDocument& document = window->document();
    EXPECT_TRUE(window->action("sampleSize1")->isChecked());
    // One pixel of the checkerboard: white or blue.
    click(*window, {150, 40});
    bool white = document.colorAdjustments().back()->sourceRGBA().r == 1.0f;

    window->action("sampleSize3")->trigger();
    EXPECT_TRUE(window->action("sampleSize3")->isChecked());
    EXPECT_FALSE(window->action("sampleSize1")->isChecked());
    // Around it five of its colour and four of the other, the mean rounded
    // to the nearest byte.
    click(*window, {150, 40});
    float grey = std::round(255.0f * (white ? 5 : 4) / 9) / 255.0f;
    EXPECT_TRUE(sameColour(document.colorAdjustments().back()->sourceColor(), grey, grey, 1));
    // In the plain orange every size picks the orange itself.
    click(*window, {40, 40});
    EXPECT_TRUE(sameColour(document.colorAdjustments().back()->sourceColor(), 224 / 255.0f,
                           128 / 255.0f, 64 / 255.0f));

    // Kept for the next window and the next start.
    EXPECT_EQ(settings.value("SampleSize").toInt(), 3);
    DocumentMainWindow* next = open(writePickImage(folder / "next.png"));
    ASSERT_TRUE(next);
    EXPECT_EQ(next->document().pickSampleSize(), 3);
    EXPECT_TRUE(next->action("sampleSize3")->isChecked());
}

TEST_F(PickWindowTest, SwatchesTellTheirColourInHex) {
    DocumentMainWindow* window = open(writePickImage(folder / "pick.png"));
    ASSERT_TRUE(window);
    VeloDocument& document = window->document();
    click(*window, {40, 40});
    int row = static_cast<int>(document.colorAdjustments().size()) - 1;
    document.colorAdjustments().back()->setTargetColor(
        Color::colorWithCalibratedRed(0.2f, 0.4f, 0.8f, 0.5f));
    QAbstractItemModel* model = window->drawer().table()->model();
    auto tip = [&](TableColumn column) {
        return model
            ->data(model->index(row, AdjustmentsTableModel::columnOf(column)), Qt::ToolTipRole)
            .toString();
    };
    EXPECT_EQ(tip(TableColumn::Source), "#E08040");
    EXPECT_EQ(tip(TableColumn::Target), "#3366CC80");
}

} // namespace
} // namespace velo
