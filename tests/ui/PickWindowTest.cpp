// Picking, protecting and reading colours through the real window.
#include "ui/WindowTestSupport.h"

#include "ui/AdjustmentsDrawer.h"
#include "ui/AdjustmentsTableModel.h"
#include "ui/HexColor.h"

#include "color/PixelAccess.h"
#include "engine/PixelMover.h"

#include <QAction>
#include <QLabel>
#include <QTableView>

#include <algorithm>
#include <cmath>
#include <numeric>

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

// A left-button drag through the points, the modifiers held throughout.
void drag(DocumentMainWindow& window, std::initializer_list<QPoint> path,
          Qt::KeyboardModifiers modifiers = {}) {
    QWidget& view = window.imageView();
    QTest::mousePress(&view, Qt::LeftButton, modifiers, *path.begin());
    for (QPoint at : path) {
        QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         modifiers);
        QApplication::sendEvent(&view, &move);
    }
    QApplication::processEvents();
}

TEST_F(PickWindowTest, AStrokeMakesOneRowShowingItsShareAndCtrlDragWidensIt) {
    DocumentMainWindow* window = open(writePickImage(folder / "stroke.png"));
    ASSERT_TRUE(window);
    VeloDocument& document = window->document();
    std::size_t before = document.colorAdjustments().size();

    drag(*window, {{20, 40}, {40, 45}, {80, 60}});
    ASSERT_EQ(document.colorAdjustments().size(), before + 1);
    EXPECT_EQ(document.sharePreviewRow(), static_cast<int>(before));
    QTest::mouseRelease(&window->imageView(), Qt::LeftButton, {}, {80, 60});
    QApplication::processEvents();
    EXPECT_FALSE(document.sharePreviewRow());
    EXPECT_FALSE(document.showsInfluence());
    const auto row = document.colorAdjustments().back();
    EXPECT_EQ(row->colorModel(), ColorModel::OKLab);
    EXPECT_TRUE(sameColour(row->sourceColor(), 224 / 255.0f, 128 / 255.0f, 64 / 255.0f));
    ASSERT_TRUE(row->reach() && row->reach()->isRange);
    EXPECT_EQ(window->action("undo")->text(), "Undo New");

    // Ctrl+drag over the checkerboard grows the selected row's range alone.
    Reach narrow = *row->reach();
    drag(*window, {{120, 40}, {160, 40}}, Qt::ControlModifier);
    QTest::mouseRelease(&window->imageView(), Qt::LeftButton, Qt::ControlModifier, {160, 40});
    QApplication::processEvents();
    EXPECT_EQ(document.colorAdjustments().size(), before + 1);
    EXPECT_GT(row->reach()->lightness, narrow.lightness);
    EXPECT_EQ(window->action("undo")->text(), "Undo Add shades");
    window->action("undo")->trigger();
    EXPECT_EQ(row->reach(), std::optional<Reach>(narrow));
    window->action("undo")->trigger();
    EXPECT_EQ(document.colorAdjustments().size(), before);
}

TEST_F(PickWindowTest, AltClickAndProtectKeepColoursWhereTheyAreInOneUndoStep) {
    DocumentMainWindow* window = open(writePickImage(folder / "pick.png"));
    ASSERT_TRUE(window);
    VeloDocument& document = window->document();
    std::size_t before = document.colorAdjustments().size();

    // Ctrl+Alt: window managers take Alt-click for moving windows.
    EXPECT_TRUE(window->action("protect")->text().endsWith("\tCtrl+Alt+Click"));
    click(*window, {40, 40}, Qt::ControlModifier | Qt::AltModifier);
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

TEST_F(PickWindowTest, TheStatusBarTellsThePixelAndTheSharesOfThePass) {
    DocumentMainWindow* window = open(writePickImage(folder / "pick.png"));
    ASSERT_TRUE(window);
    VeloDocument& document = window->document();
    int orangeRow = static_cast<int>(document.colorAdjustments().size());
    for (QPoint at : {QPoint(10, 10), QPoint(150, 10), QPoint(151, 10)}) {
        click(*window, at);
        document.colorAdjustments().back()->setTargetColor(
            Color::colorWithCalibratedRed(0.2f, 0.4f, 0.8f, 1));
    }
    // The orange row off: it must not be named.
    document.setObjectValue(false, TableColumn::Active, orangeRow);
    QPoint at(40, 30);
    QTest::mouseMove(&window->imageView(), at);
    QApplication::processEvents();
    auto* label = window->findChild<QLabel*>("pointerReadout");
    ASSERT_TRUE(label);
    std::string text = label->text().toStdString();
    QRectF drawn = window->imageView().drawnRect();
    int column = static_cast<int>((at.x() + 0.5 - drawn.left()) * 200 / drawn.width());
    int row = static_cast<int>((at.y() + 0.5 - drawn.top()) * 100 / drawn.height());
    EXPECT_NE(text.find("x " + std::to_string(column) + ", y " + std::to_string(row)),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("#E08040"), std::string::npos) << text;

    // The three largest shares as the pass's fractions give them, in order.
    Point pixel{static_cast<float>(column), static_cast<float>(99 - row)};
    RGBA orange = RGBAAtPoint(*document.sourceBitmap(), pixel);
    auto copies = document.activeAdjustmentCopies();
    PixelMover mover(*copies);
    std::span<const float> shares = mover.shares(orange);
    std::vector<std::size_t> order(shares.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](auto a, auto b) { return shares[a] > shares[b]; });
    std::size_t previous = 0;
    for (std::size_t k = 0; k < 3 && k < order.size(); ++k) {
        const auto& adjustment = document.activeColorAdjustments()[order[k]];
        auto tableRow = std::find(document.colorAdjustments().begin(),
                                  document.colorAdjustments().end(), adjustment) -
                        document.colorAdjustments().begin();
        std::string share = " " + std::to_string(tableRow + 1) + ": " +
                            std::to_string(std::lround(shares[order[k]] * 100)) + "%";
        std::size_t found = text.find(share);
        ASSERT_NE(found, std::string::npos) << text << " lacks" << share;
        EXPECT_GT(found, previous);
        previous = found;
    }
    EXPECT_EQ(text.find(" " + std::to_string(orangeRow + 1) + ": "), std::string::npos) << text;

    // The adjusted colour is the result's pixel once the sweep is done.
    document.waitUntilComplete();
    RGBA adjusted = RGBAAtPoint(*document.destinationBitmap(), pixel);
    EXPECT_NE(text.find(hexColorText(adjusted.r, adjusted.g, adjusted.b, 1, false)),
              std::string::npos)
        << text;

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&window->imageView(), &leave);
    EXPECT_TRUE(label->text().isEmpty());
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
