// What a person meets in the first hour on a desktop: the Help menu, the
// menus' keys, reverting, exporting under a typed name, the background dialog.
#include "ui/WindowTestSupport.h"

#include "document/FileTypes.h"
#include "ui/AdjustmentsDrawer.h"
#include "ui/ColorPanel.h"
#include "ui/ColorWell.h"
#include "ui/Mnemonics.h"

#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QWheelEvent>

namespace velo {
namespace {

std::filesystem::path writeImage(const std::filesystem::path& path) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(200, 120, 40));
    image.save(QString::fromStdString(path.string()));
    return path;
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every menu and submenu, with the texts of its items.
void collectMenus(const QList<QAction*>& actions, const QString& where,
                  QList<std::pair<QString, QStringList>>& menus) {
    QStringList texts;
    for (QAction* action : actions) {
        texts << action->text();
        if (action->menu()) {
            emit action->menu()->aboutToShow(); // titles and the recent files
            collectMenus(action->menu()->actions(), where + " > " + action->text(), menus);
        }
    }
    menus.append({where, texts});
}

using DesktopWindowTest = test::WindowTest;

TEST_F(DesktopWindowTest, EveryMenuHasUniqueKeysAndHelpTellsTheVersionAndTheShortcuts) {
    DocumentMainWindow* window = open(writeImage(folder / "photo.png"));
    ASSERT_TRUE(window);
    QList<std::pair<QString, QStringList>> menus;
    collectMenus(window->menuBar()->actions(), "menu bar", menus);
    ASSERT_GE(menus.size(), 6); // the bar, five menus and their submenus
    for (const auto& [where, texts] : menus) {
        EXPECT_EQ(sharedMnemonics(texts), "") << where.toStdString();
    }

    window->action("about")->trigger();
    auto* about = window->findChild<QMessageBox*>("aboutBox");
    ASSERT_TRUE(about);
    EXPECT_EQ(about->text(), "Velo " VELO_VERSION);
    EXPECT_TRUE(about->informativeText().contains("MIT"));
    EXPECT_TRUE(about->informativeText().contains("libjpeg-turbo"));
    screenshot(*about, "desktop-about");
    about->close();

    window->action("keyboardShortcuts")->trigger();
    auto* table = window->findChild<QTableWidget*>("shortcutsTable");
    ASSERT_TRUE(table);
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        rows << table->item(row, 0)->text() + " = " + table->item(row, 1)->text();
    }
    EXPECT_TRUE(rows.contains("File ▸ Open… = Ctrl+O")) << rows.join("\n").toStdString();
    EXPECT_TRUE(rows.contains("Ctrl+Alt+Click in the image = Protect the colour there"));
    screenshot(*table->window(), "desktop-shortcuts");
}

TEST_F(DesktopWindowTest, RevertAsksFirstAndCancelKeepsTheWork) {
    DocumentMainWindow* window = open(writeImage(folder / "photo.png"));
    ASSERT_TRUE(window);
    QString saved = QString::fromStdString((folder / "photo.velo").string());
    ASSERT_TRUE(window->saveToFile(saved));
    VeloDocument& document = window->document();
    document.newColorAdjustment();
    document.undoManager()->endEvent();
    std::size_t edited = document.colorAdjustments().size();

    window->action("revert")->trigger();
    auto* sheet = window->findChild<QMessageBox*>("revertSheet");
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->text(), "Revert to the saved version of “photo.velo”?");
    screenshot(*sheet, "desktop-revert-asks");
    sheet->button(QMessageBox::Cancel)->click();
    EXPECT_EQ(document.colorAdjustments().size(), edited);
    EXPECT_TRUE(document.undoManager()->canUndo());

    window->action("revert")->trigger();
    sheet = window->findChild<QMessageBox*>("revertSheet");
    ASSERT_TRUE(sheet);
    for (QAbstractButton* button : sheet->buttons()) {
        if (button->text() == "Revert") {
            button->click();
        }
    }
    EXPECT_EQ(document.colorAdjustments().size(), edited - 1);
    EXPECT_FALSE(window->isWindowModified());
}

TEST_F(DesktopWindowTest, ExportTakesTheTypeOfATypedNameWhateverTheFilter) {
    DocumentMainWindow* window = open(writeImage(folder / "photo.png"));
    ASSERT_TRUE(window);
    window->action("export")->trigger();
    auto* dialog = window->findChild<QFileDialog*>("exportDialog");
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->selectedNameFilter().startsWith("PNG"));
    QString typed = QString::fromStdString((folder / "sunset.jpg").string());
    emit dialog->fileSelected(typed);
    EXPECT_TRUE(bytesOf(typed).startsWith("\xFF\xD8\xFF")) << "a JPEG";
    EXPECT_FALSE(QFile::exists(typed + ".png"));
    dialog->close();
}

TEST_F(DesktopWindowTest, TheBackgroundDialogStartsFromTheColourAndAPickShows) {
    DocumentMainWindow* window = open(writeImage(folder / "photo.png"));
    ASSERT_TRUE(window);
    window->document().toggleImageAlpha();
    window->document().takeBackgroundColorFrom(Color::colorWithCalibratedRed(0, 0, 1, 0.5f));
    window->action("backgroundColor")->trigger();
    auto* dialog = window->findChild<QColorDialog*>("backgroundColorDialog");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->currentColor().rgba(), window->backgroundWell().color().rgba());
    EXPECT_EQ(dialog->currentColor().alpha(), 128);
    screenshot(*dialog, "desktop-background-dialog");
    dialog->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // A document's first background is clear: a swatch picked then is opaque.
    window->document().takeBackgroundColorFrom(Color::clearColor());
    window->action("backgroundColor")->trigger();
    dialog = window->findChild<QColorDialog*>("backgroundColorDialog");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->currentColor().alpha(), 0);
    dialog->setCurrentColor(QColor(255, 0, 0, 0)); // as a swatch click leaves it
    QTRY_COMPARE(dialog->currentColor().alpha(), 255);
    dialog->accept();
    EXPECT_EQ(window->backgroundWell().color(), QColor(255, 0, 0, 255));
}

// A 451 x 300 image whose file states 300 dpi.
std::filesystem::path writeDenseImage(const std::filesystem::path& path) {
    QImage image(451, 300, QImage::Format_RGB32);
    image.fill(QColor(90, 140, 200));
    image.setDotsPerMeterX(11811);
    image.setDotsPerMeterY(11811);
    image.save(QString::fromStdString(path.string()));
    return path;
}

using DesktopSizing = test::WindowTest;

// Zoom counts image pixels whatever the file's resolution, and every zoom the
// window asks for is the one it gets, under a window manager too.
TEST_F(DesktopSizing, ZoomsAreInImagePixelsAndExact) {
    DocumentMainWindow* window = open(writeDenseImage(folder / "dense.png"));
    ASSERT_TRUE(window);
    ASSERT_LT(window->document().sourceImage()->size.width, 200) << "the file's size in points";
    QTRY_COMPARE(window->imageView().size(), QSize(451, 300));
    EXPECT_EQ(window->zoomMenu().currentText(), "100%");
    screenshot(*window, "desktop-300dpi-at-100");

    window->zoomDocumentWindow(50);
    QTRY_COMPARE(window->imageView().size(), QSize(226, 150));
    EXPECT_EQ(window->zoomMenu().currentText(), "50%");
    EXPECT_EQ(window->findChild<QLabel*>("zoomLabel")->text(), "50%");
    window->action("zoom100")->trigger();
    QTRY_COMPARE(window->imageView().size(), QSize(451, 300));
    // The resize rule, once the window has settled, keeps it so.
    QTest::qWait(400);
    EXPECT_EQ(window->imageView().size(), QSize(451, 300));
    EXPECT_EQ(window->zoomMenu().currentText(), "100%");
}

// Zoom counts pixels on the screen; on paper the image keeps the size its
// file states: 451 pixels at 300 dpi are about 108 points wide.
TEST_F(DesktopSizing, PrintingKeepsTheStatedPhysicalSize) {
    DocumentMainWindow* window = open(writeDenseImage(folder / "dense.png"));
    ASSERT_TRUE(window);
    window->action("zoom100")->trigger();
    QTRY_COMPARE(window->imageView().size(), QSize(451, 300));
    QString pdf = QString::fromStdString((folder / "print.pdf").string());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    window->printTo(printer);
    QString page = QString::fromStdString((folder / "page").string());
    if (QProcess::execute("pdftoppm", {"-png", "-r", "72", "-singlefile", pdf, page}) < 0) {
        GTEST_SKIP() << "pdftoppm is not installed";
    }
    QImage printed(page + ".png");
    ASSERT_FALSE(printed.isNull());
    QPoint origin = printer.pageLayout().paintRectPoints().topLeft();
    EXPECT_EQ(printed.pixelColor(origin + QPoint(100, 40)).blue() / 16, 200 / 16);
    EXPECT_EQ(printed.pixelColor(origin + QPoint(116, 40)), QColor(Qt::white));
    EXPECT_EQ(printed.pixelColor(origin + QPoint(40, 76)), QColor(Qt::white));
}

// Hiding the drawer narrows the window and showing it widens it again: the
// image keeps its size, and no empty strip is left beside it.
TEST_F(DesktopSizing, TheDrawerComesAndGoesBesideTheImage) {
    DocumentMainWindow* window = open(writeDenseImage(folder / "dense.png"));
    ASSERT_TRUE(window);
    QTRY_COMPARE(window->imageView().size(), QSize(451, 300));
    int wide = window->width();
    window->action("toggleDrawer")->trigger();
    QTRY_VERIFY(window->width() < wide);
    QTRY_COMPARE(window->imageView().size(), QSize(451, 300));
    window->action("toggleDrawer")->trigger();
    QTRY_COMPARE(window->width(), wide);
    QTRY_COMPARE(window->imageView().size(), QSize(451, 300));
}

// Switching a row off is saved with the document: closing then asks.
TEST_F(DesktopSizing, SwitchingARowOffMarksTheWindowAndClosingAsks) {
    DocumentMainWindow* window = open(writeDenseImage(folder / "dense.png"));
    ASSERT_TRUE(window);
    QTableView* table = window->drawer().table();
    QModelIndex on = table->model()->index(2, 0);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(on).center());
    ASSERT_EQ(window->document().activeColorAdjustments().size(), 4u);
    EXPECT_TRUE(window->isWindowModified());
    window->close();
    auto* sheet = window->findChild<QMessageBox*>("saveChangesSheet");
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(window->isVisible());
    sheet->button(QMessageBox::Cancel)->click();
}

// The alpha column comes with the result's alpha, whole: the window widens
// by it and the image keeps its size.
TEST_F(DesktopSizing, TheDrawerShowsItsWholeTableWithAlphaToo) {
    DocumentMainWindow* window = open(writeDenseImage(folder / "dense.png"));
    ASSERT_TRUE(window);
    QTRY_COMPARE(window->imageView().size(), QSize(451, 300));
    AdjustmentsDrawer& drawer = window->drawer();
    EXPECT_GE(drawer.width(), drawer.minimumWidth());
    window->action("toggleImageAlpha")->trigger();
    EXPECT_TRUE(drawer.hasAlphaColumn());
    auto* dock = window->findChild<QDockWidget*>("colorAdjustmentsDrawer");
    QTRY_VERIFY(dock->width() >= drawer.minimumWidth());
    QTRY_COMPARE(window->imageView().size(), QSize(451, 300));
    screenshot(*window, "desktop-drawer-with-alpha");
    QTableView* table = drawer.table();
    EXPECT_FALSE(table->horizontalScrollBar()->isVisible());
}

using ColorPanelWindowTest = test::WindowTest;

// The panel floats over the window whose document it edits, says what it
// edits, and a drag in it is one undo step however many moves it takes.
TEST_F(ColorPanelWindowTest, ADragIsOneStepAndTheTitleSaysWhatIsEdited) {
    DocumentMainWindow* window = open(writeImage(folder / "photo.png"));
    ASSERT_TRUE(window);
    QApplication::setActiveWindow(window);
    QTRY_VERIFY(window->isActiveWindow());
    QColorDialog* panel = ColorPanel::shared().dialog();
    EXPECT_EQ(panel->parentWidget(), window);
    EXPECT_TRUE(panel->windowFlags() & Qt::Tool);

    VeloDocument& document = window->document();
    document.selectRowAlone(4);
    ColorRef blue = document.colorAdjustments()[4]->targetColor();
    ASSERT_TRUE(document.tableClicked(TableColumn::Target, 4));
    EXPECT_EQ(panel->windowTitle(), "Colors — Target of row 5 — photo.png");
    screenshot(*panel, "desktop-panel-title");

    // Press, three moves with events between them, release.
    QWidget* part = panel; // a press on no control of it
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(part, &press);
    for (QColor step : {QColor(200, 0, 0), QColor(0, 200, 0), QColor(0, 0, 90)}) {
        panel->setCurrentColor(step);
        QTest::qWait(20);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(part, &release);
    QTest::qWait(20);
    RGBA dragged = calibratedRGBA(document.colorAdjustments()[4]->targetColor());
    EXPECT_NEAR(dragged.b, 90 / 255.0f, 1e-3f);
    EXPECT_EQ(document.undoManager()->undoActionName(), "Change color");
    window->action("undo")->trigger();
    EXPECT_TRUE(colorsEqual(document.colorAdjustments()[4]->targetColor(), blue));
    EXPECT_FALSE(document.undoManager()->canUndo());

    // A click elsewhere: a change would go nowhere, and the title says so.
    document.tableClicked(TableColumn::Active, 4);
    EXPECT_EQ(panel->windowTitle(), "Colors — no colour selected");
    panel->hide();
}

using MatchWarningTest = test::WindowTest;

// An HSB row with H, S and B off matches on alpha alone: on an opaque image
// it takes every pixel, and the table and the status bar say so.
TEST_F(MatchWarningTest, ARowMatchingOnNothingShownIsMarked) {
    DocumentMainWindow* window = open(writeImage(folder / "photo.png"));
    ASSERT_TRUE(window);
    VeloDocument& document = window->document();
    auto* warning = window->findChild<QLabel*>("matchWarning");
    EXPECT_TRUE(warning->isHidden());

    document.setObjectValue(1, TableColumn::ColorSpace, 0); // black: S, B and A on
    document.setObjectValue(false, TableColumn::Saturation, 0);
    EXPECT_FALSE(document.rowMatchesNothingShown(0));
    document.setObjectValue(false, TableColumn::Brightness, 0);
    EXPECT_TRUE(document.rowMatchesNothingShown(0));
    EXPECT_EQ(warning->text(), "⚠ Row 1 matches on nothing this image shows");
    screenshot(*window, "desktop-match-warning");
    EXPECT_FALSE(warning->isHidden());
    QModelIndex cell = window->drawer().table()->model()->index(0, 0);
    EXPECT_TRUE(cell.data(Qt::ToolTipRole).toString().startsWith("Matches on alpha alone"));
    EXPECT_FALSE(window->drawer().table()->model()->index(1, 0).data(Qt::ToolTipRole).isValid());

    // Off, or on an image with alpha, it is no longer a surprise.
    document.setObjectValue(false, TableColumn::Active, 0);
    EXPECT_TRUE(warning->isHidden());
    document.setObjectValue(true, TableColumn::Active, 0);
    document.toggleImageAlpha();
    EXPECT_FALSE(document.rowMatchesNothingShown(0));
    EXPECT_TRUE(warning->isHidden());
}

using ScrollingTest = test::WindowTest;

// A zoom the screen has no room for scrolls: scroll bars, the wheel, the
// middle button, and Ctrl+wheel zooming about the pointer.
TEST_F(ScrollingTest, AnImageLargerThanTheScreenScrollsAtActualSize) {
    QImage large(2000, 1500, QImage::Format_RGB32);
    large.fill(QColor(30, 160, 90));
    std::filesystem::path path = folder / "large.png";
    large.save(QString::fromStdString(path.string()));
    DocumentMainWindow* window = open(path);
    ASSERT_TRUE(window);
    auto* scroller = window->findChild<QScrollArea*>("imageScroller");
    ASSERT_TRUE(scroller);
    EXPECT_LT(window->imageView().width(), 2000) << "opens fitted to the screen";

    window->action("zoom100")->trigger();
    QTRY_COMPARE(window->imageView().size(), QSize(2000, 1500));
    EXPECT_EQ(window->zoomMenu().currentText(), "100%");
    EXPECT_EQ(window->findChild<QLabel*>("zoomLabel")->text(), "100%");
    QScrollBar* across = scroller->horizontalScrollBar();
    QTRY_VERIFY(across->maximum() > 0);
    screenshot(*window, "desktop-large-at-100");

    // The middle button drags the image.
    int before = across->value();
    QTest::mousePress(&window->imageView(), Qt::MiddleButton, {}, QPoint(600, 400));
    QMouseEvent move(QEvent::MouseMove, QPointF(500, 400),
                     window->imageView().mapToGlobal(QPointF(500, 400)), Qt::NoButton,
                     Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(&window->imageView(), &move);
    QTest::mouseRelease(&window->imageView(), Qt::MiddleButton, {}, QPoint(500, 400));
    EXPECT_EQ(across->value(), before + 100);

    // So does the left button with Space held; Space tapped alone flips the view.
    BitmapView& view = window->imageView();
    QTest::keyPress(&view, Qt::Key_Space);
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(500, 400));
    QMouseEvent drag(QEvent::MouseMove, QPointF(560, 400), view.mapToGlobal(QPointF(560, 400)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &drag);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(560, 400));
    QTest::keyRelease(&view, Qt::Key_Space);
    EXPECT_EQ(across->value(), before + 40);
    EXPECT_EQ(window->document().shownImage(), VeloDocument::ShownImage::Adjusted);
    EXPECT_EQ(window->document().colorAdjustments().size(), 5u) << "a pan picks nothing";
    QTest::keyClick(&view, Qt::Key_Space);
    EXPECT_EQ(window->document().shownImage(), VeloDocument::ShownImage::Source);

    // Ctrl+wheel zooms out a step, keeping the point under the pointer.
    QPointF at(1000, 750);
    QWheelEvent wheel(at, window->imageView().mapToGlobal(at), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&window->imageView(), &wheel);
    QTRY_COMPARE(window->imageView().size(), QSize(1500, 1125));
    EXPECT_EQ(window->zoomMenu().currentText(), "75%");

    // Back to a zoom that fits: the window sizes itself again.
    window->zoomDocumentWindow(25);
    QTRY_COMPARE(window->imageView().size(), QSize(500, 375));
    QTRY_VERIFY(!across->isVisible());
}

} // namespace
} // namespace velo
