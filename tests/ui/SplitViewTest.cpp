// Before and after in one view: View ▸ Split shows the original left of a
// line the user drags and the result right of it; Backslash held shows the
// original. Both through the view's real pixels, against the files.
#include "ui/WindowTestSupport.h"

#include "ui/ToolbarItems.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMouseEvent>

namespace velo {
namespace {

// 240 x 180 of a different colour at every pixel, untagged (so its screen
// pixels are its own values), and a row that moves its orange part to green.
class SplitViewTest : public test::WindowTest {
  protected:
    void SetUp() override {
        QImage image(240, 180, QImage::Format_RGB32);
        for (int y = 0; y < 180; ++y) {
            for (int x = 0; x < 240; ++x) {
                image.setPixel(x, y, qRgb(x, y, (x * 7 + y * 3) % 256));
            }
        }
        std::filesystem::path path = folder / "gradient.png";
        ASSERT_TRUE(image.save(QString::fromStdString(path.string())));
        original = image.convertToFormat(QImage::Format_ARGB32);
        window = open(path);
        ASSERT_TRUE(window);
        ASSERT_EQ(window->imageView().size(), QSize(240, 180)); // 100 %
        VeloDocument& document = window->document();
        QTest::mouseClick(&window->imageView(), Qt::LeftButton, {}, QPoint(200, 140));
        document.setObjectValue(Color::colorWithCalibratedRed(0.1f, 0.9f, 0.2f, 1.0f),
                                TableColumn::Target, document.numberOfRowsInTableView() - 1);
        settle(window);
        ASSERT_TRUE(settled());
        QString exported = QString::fromStdString((folder / "result.png").string());
        ASSERT_TRUE(window->exportToFile(exported, "png"));
        result = QImage(exported).convertToFormat(QImage::Format_ARGB32);
        ASSERT_GT(differing(original, result, 0, 240), 1000) << "the row must show";
    }

    // The view's copy exact: the rows that waited out the edit are drawn.
    bool settled() {
        QElapsedTimer clock;
        clock.start();
        while (!window->imageView().display().isExact() && clock.elapsed() < 10000) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return window->imageView().display().isExact();
    }

    QImage viewPixels() {
        QApplication::processEvents();
        return window->imageView().grab().toImage().convertToFormat(QImage::Format_ARGB32);
    }

    // Pixels of columns [from, to) that differ.
    static int differing(const QImage& a, const QImage& b, int from, int to) {
        int count = 0;
        for (int y = 0; y < a.height(); ++y) {
            for (int x = std::max(from, 0); x < std::min(to, a.width()); ++x) {
                count += a.pixel(x, y) != b.pixel(x, y);
            }
        }
        return count;
    }

    // The view shows `left` up to the line and `right` after it, but for the
    // line and its handle.
    void expectWipe(const QImage& shown, const QImage& left, const QImage& right) {
        int line = static_cast<int>(window->imageView().wipeX());
        EXPECT_EQ(differing(shown, left, 0, line - 10), 0) << "left of " << line;
        EXPECT_EQ(differing(shown, right, line + 10, shown.width()), 0) << "right of " << line;
    }

    void drag(QPoint from, QPoint to) {
        BitmapView& view = window->imageView();
        QTest::mousePress(&view, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), view.mapToGlobal(QPointF(to)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
        QTest::mouseRelease(&view, Qt::LeftButton, {}, to);
    }

    void sendBackslash(QEvent::Type type, bool autoRepeat) {
        QKeyEvent key(type, Qt::Key_Backslash, Qt::NoModifier, "\\", autoRepeat);
        QApplication::sendEvent(&window->imageView(), &key);
    }

    QImage original, result;
    DocumentMainWindow* window = nullptr;
};

TEST_F(SplitViewTest, SplitAtActualSizeShowsTheOriginalLeftAndTheExportedResultRight) {
    QAction* split = window->action("split");
    ASSERT_TRUE(split);
    window->updateActions();
    EXPECT_TRUE(split->isEnabled());
    EXPECT_FALSE(split->isChecked());
    split->trigger();
    EXPECT_TRUE(split->isChecked());
    EXPECT_EQ(window->imageView().wipeX(), 120.0);
    QImage shown = viewPixels();
    expectWipe(shown, original, result);
    screenshot(*window, "split-view");

    // The line follows the pointer, within the image, and picks nothing.
    VeloDocument& document = window->document();
    int rows = document.numberOfRowsInTableView();
    drag({121, 90}, {60, 50});
    EXPECT_EQ(window->imageView().wipeX(), 60.0);
    expectWipe(viewPixels(), original, result);
    drag({58, 90}, {400, 90});
    EXPECT_EQ(window->imageView().dividerFraction(), 1.0f);
    EXPECT_EQ(differing(viewPixels(), original, 0, 230), 0);
    EXPECT_EQ(document.numberOfRowsInTableView(), rows);
    // Zooming keeps its place in the image.
    drag({235, 90}, {180, 90});
    window->action("zoom200")->trigger();
    EXPECT_EQ(window->imageView().wipeX(), 360.0);
    window->action("zoom100")->trigger();

    // Off (here by the toolbar's item), the view is the result again.
    QAction* item = window->findChild<QAction*>(toolbar::kSplit);
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->isChecked());
    item->trigger();
    EXPECT_FALSE(split->isChecked());
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(differing(viewPixels(), result, 0, 240), 0);
    // A press where the line was picks as ever.
    QTest::mouseClick(&window->imageView(), Qt::LeftButton, {}, QPoint(180, 90));
    EXPECT_EQ(document.numberOfRowsInTableView(), rows + 1);
}

TEST_F(SplitViewTest, BackslashHeldShowsTheOriginalWhateverTheViewShowsUntilReleased) {
    sendBackslash(QEvent::KeyPress, false);
    EXPECT_EQ(differing(viewPixels(), original, 0, 240), 0);
    // The key's repeats keep the original.
    for (int repeat = 0; repeat < 3; ++repeat) {
        sendBackslash(QEvent::KeyRelease, true);
        sendBackslash(QEvent::KeyPress, true);
        EXPECT_EQ(differing(viewPixels(), original, 0, 240), 0);
    }
    sendBackslash(QEvent::KeyRelease, false);
    EXPECT_EQ(differing(viewPixels(), result, 0, 240), 0);
    EXPECT_EQ(window->document().shownImage(), VeloDocument::ShownImage::Adjusted);

    // Split beside the influence map: the original, then the map; held, the
    // original whole and no line.
    window->action("split")->trigger();
    window->action("toggleInfluence")->trigger();
    window->document().waitUntilInfluenceComplete();
    ASSERT_TRUE(settled());
    QImage map = window->imageView().display().image().convertToFormat(QImage::Format_ARGB32);
    ASSERT_GT(differing(map, original, 0, 240), 1000);
    expectWipe(viewPixels(), original, map);
    sendBackslash(QEvent::KeyPress, false);
    EXPECT_EQ(differing(viewPixels(), original, 0, 240), 0);
    sendBackslash(QEvent::KeyRelease, false);
    expectWipe(viewPixels(), original, map);
}

} // namespace
} // namespace velo
