// The document window through its real widgets.
#include "document/DocumentSupport.h"
#include "ui/WindowTestSupport.h"

#include "ui/AdjustmentsDrawer.h"
#include "ui/ColorWell.h"
#include "ui/DamageBar.h"
#include "ui/ToolbarItems.h"

#include "support/DamagedFiles.h"
#include "support/ScratchMount.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <fstream>

namespace velo {
namespace {

// A 240 x 180 image: red on the left, blue on the right, a half-transparent
// green stripe along the bottom when it has alpha.
std::filesystem::path writeTwoColourImage(const std::filesystem::path& path, bool alpha) {
    QImage image(240, 180, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < 180; ++y) {
        for (int x = 0; x < 240; ++x) {
            QColor c = x < 120 ? QColor(255, 0, 0) : QColor(0, 0, 255);
            if (alpha && y >= 160) {
                c = QColor(0, 255, 0, 128);
            }
            image.setPixelColor(x, y, c);
        }
    }
    image.save(QString::fromStdString(path.string()));
    return path;
}

QImage viewPixels(DocumentMainWindow& window) {
    return window.imageView().grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

void clickView(DocumentMainWindow& window, QPoint at, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(&window.imageView(), Qt::LeftButton, modifiers, at);
    QApplication::processEvents();
}

using WindowTest = test::WindowTest;

TEST_F(WindowTest, AnOpenedImageIsShownAtItsSizeWithItsName) {
    DocumentMainWindow* window = open(writeTwoColourImage(folder / "two.png", false));
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), "two.png[*]");
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(window->imageView().size(), QSize(240, 180));
    EXPECT_EQ(window->zoomMenu().currentText(), "100%");
    EXPECT_FALSE(window->document().undoManager()->canUndo());
    QImage shown = viewPixels(*window);
    EXPECT_EQ(shown.pixelColor(10, 40), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(230, 40), QColor(0, 0, 255));
    // Opening it again brings the same window forward.
    EXPECT_EQ(application.openFile(QString::fromStdString((folder / "two.png").string())), window);
    EXPECT_EQ(application.windows().size(), 1);
}

// A damaged file opens, usable, under a bar naming what is missing, which
// the user may dismiss; a whole file shows no bar.
TEST_F(WindowTest, ADamagedImageOpensUnderABarThatNamesWhatIsMissing) {
    DocumentMainWindow* whole = open(writeTwoColourImage(folder / "two.png", false));
    ASSERT_TRUE(whole);
    EXPECT_FALSE(whole->findChild<DamageBar*>("damageBar")->isVisible());

    // Detail, so that the scan holds most of the file.
    QImage picture(120, 160, QImage::Format_RGB32);
    for (int y = 0; y < 160; ++y) {
        for (int x = 0; x < 120; ++x) {
            picture.setPixel(x, y, qRgb(x * 37 % 256, y * 53 % 256, (x * y) % 256));
        }
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, "JPEG"));
    std::filesystem::path cut = folder / "cut.jpg";
    std::ofstream(cut, std::ios::binary).write(jpeg.constData(), jpeg.size() / 2);
    DocumentMainWindow* damaged = open(cut);
    ASSERT_TRUE(damaged);
    auto* bar = damaged->findChild<DamageBar*>("damageBar");
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(bar->text().contains("ends early")) << bar->text().toStdString();
    EXPECT_EQ(damaged->imageView().size(), QSize(120, 160));
    screenshot(*damaged, "window-damaged-jpeg");
    bar->findChild<QToolButton*>("dismissDamage")->click();
    EXPECT_FALSE(bar->isVisible());

    std::filesystem::path tiff = folder / "cut.tif";
    std::vector<std::uint8_t> bytes = test::firstHalf(test::wholeFile("tif", 40, 60));
    std::ofstream(tiff, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    DocumentMainWindow* cutTiff = open(tiff);
    ASSERT_TRUE(cutTiff);
    QString text = cutTiff->findChild<DamageBar*>("damageBar")->text();
    EXPECT_TRUE(text.contains("the TIFF data ends early: ") && text.contains(" of 60 lines"))
        << text.toStdString();
}

TEST_F(WindowTest, AFileThatFailsToOpenSaysWhyAndOpensNothing) {
    std::filesystem::path bad = folder / "broken.png";
    std::ofstream(bad) << "not an image";
    EXPECT_EQ(application.openFile(QString::fromStdString(bad.string())), nullptr);
    EXPECT_TRUE(application.windows().isEmpty());
    auto* alert = qApp->findChild<QMessageBox*>("openFailedAlert");
    QMessageBox* shown = alert;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == "openFailedAlert") {
            shown = qobject_cast<QMessageBox*>(top);
        }
    }
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->text().contains("broken.png"));
    shown->close();
}

TEST_F(WindowTest, AClickPicksTheColourUnderTheMouseAndOutsideTheImageNothing) {
    DocumentMainWindow* window = open(writeTwoColourImage(folder / "two.png", false));
    ASSERT_TRUE(window);
    VeloDocument& document = window->document();
    std::size_t before = document.colorAdjustments().size();
    clickView(*window, {200, 20});
    ASSERT_EQ(document.colorAdjustments().size(), before + 1);
    EXPECT_TRUE(colorsEqual(document.colorAdjustments().back()->sourceColor(),
                            Color::colorWithCalibratedRed(0, 0, 1, 1)));
    EXPECT_EQ(document.undoManager()->undoActionName(), "New");
    EXPECT_EQ(window->action("undo")->text(), "Undo New");
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_EQ(document.selectedRows(), std::vector<int>{static_cast<int>(before)});
    EXPECT_TRUE(window->drawer().table()->selectionModel()->isRowSelected(int(before), {}));

    // In a window wider than the image, the strip beside it picks nothing.
    window->resize(window->width() + 60, window->height());
    QApplication::processEvents();
    clickView(*window, {window->imageView().width() - 5, 20});
    EXPECT_EQ(document.colorAdjustments().size(), before + 1);

    // Shift picks from the adjusted image: the new blue record maps to itself.
    clickView(*window, {10, 20}, Qt::ShiftModifier);
    EXPECT_TRUE(colorsEqual(document.colorAdjustments().back()->sourceColor(),
                            Color::colorWithCalibratedRed(1, 0, 0, 1)));
}

TEST_F(WindowTest, DroppedFilesAndImageDataReplaceTheImageAndBadOnesChangeNothing) {
    DocumentMainWindow* window = open(writeTwoColourImage(folder / "two.png", false));
    ASSERT_TRUE(window);
    BitmapView& view = window->imageView();
    auto drop = [&](QMimeData& data) {
        QDragEnterEvent enter({50, 40}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &enter);
        QDropEvent dropped(QPointF(50, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &dropped);
        return enter.isAccepted();
    };

    QImage wide(60, 20, QImage::Format_RGB32);
    wide.fill(Qt::yellow);
    QString widePath = QString::fromStdString((folder / "wide.png").string());
    wide.save(widePath);
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(widePath)});
    EXPECT_TRUE(drop(file));
    EXPECT_EQ(window->document().sourceBitmap()->pixelsWide(), 60);
    EXPECT_EQ(window->document().undoManager()->undoActionName(), "Change image");

    QMimeData data;
    QImage square(30, 30, QImage::Format_RGB32);
    square.fill(Qt::cyan);
    data.setImageData(square);
    EXPECT_TRUE(drop(data));
    EXPECT_EQ(window->document().sourceBitmap()->pixelsWide(), 30);
    // The window follows the image's proportions.
    EXPECT_NEAR(double(view.width()) / view.height(), 1.0, 0.05);

    std::filesystem::path text = folder / "notes.txt";
    std::ofstream(text) << "no pixels here";
    QMimeData bad;
    bad.setUrls({QUrl::fromLocalFile(QString::fromStdString(text.string()))});
    drop(bad);
    EXPECT_EQ(window->document().sourceBitmap()->pixelsWide(), 30);
    auto* alert = window->findChild<QMessageBox*>("alertSheet");
    ASSERT_TRUE(alert);
    EXPECT_TRUE(alert->informativeText().contains("notes.txt") ||
                alert->text().contains("notes.txt"));
}

// The window follows its document by itself: after each kind of change,
// made by the document's command alone, the edited mark, the actions and the
// widgets are current.
TEST_F(WindowTest, EveryKindOfChangeReachesTheWindowWithoutTheUisHelp) {
    DocumentMainWindow* window = open(writeTwoColourImage(folder / "two.png", false));
    ASSERT_TRUE(window);
    VeloDocument& document = window->document();
    UndoManager& undo = *document.undoManager();
    auto expectEdited = [&](bool edited, const char* change) {
        EXPECT_EQ(window->isWindowModified(), edited) << change;
        EXPECT_EQ(window->action("undo")->isEnabled(), undo.canUndo()) << change;
        EXPECT_EQ(window->action("redo")->isEnabled(), undo.canRedo()) << change;
        undo.endEvent();
    };
    auto saved = [&] {
        document.markUnchanged();
        EXPECT_FALSE(window->isWindowModified());
    };
    expectEdited(false, "opened");

    document.setObjectValue(Color::greenColor(), TableColumn::Target, 0);
    expectEdited(true, "a table edit");
    EXPECT_EQ(window->action("undo")->text(), "Undo Change color");
    undo.undo();
    expectEdited(false, "undo");
    EXPECT_EQ(window->action("redo")->text(), "Redo Change color");

    document.setObjectValue(false, TableColumn::Active, 1);
    expectEdited(true, "on/off");
    EXPECT_FALSE(window->action("undo")->isEnabled());
    saved();

    document.imageWasDroppedOnBitmapview(test::randomImage(60, 40, 3));
    expectEdited(true, "an image drop");
    EXPECT_EQ(window->imageView().bitmap(), document.destinationBitmap());
    saved();

    document.toggleImageAlpha();
    expectEdited(true, "alpha");
    EXPECT_EQ(window->action("toggleImageAlpha")->text(), "Remove alpha channel");
    EXPECT_TRUE(window->drawer().hasAlphaColumn());
    EXPECT_TRUE(window->backgroundWell().isEnabled());
    saved();

    document.takeBackgroundColorFrom(Color::colorWithCalibratedRed(0, 0, 1, 0.5f));
    expectEdited(true, "background");
    EXPECT_EQ(window->backgroundWell().color(), QColor::fromRgbF(0, 0, 1, 0.5f));
    EXPECT_EQ(window->action("undo")->text(), "Undo Change Background Color");
}

TEST_F(WindowTest, ZoomsFromTheMenuAndTheToolbarSizeTheImageView) {
    DocumentMainWindow* window = open(writeTwoColourImage(folder / "two.png", false));
    ASSERT_TRUE(window);
    window->action("zoom200")->trigger();
    EXPECT_EQ(window->imageView().size(), QSize(480, 360));
    EXPECT_EQ(window->zoomMenu().currentText(), "200%");
    window->zoomMenu().setCurrentIndex(window->zoomMenu().findText("75%"));
    emit window->zoomMenu().textActivated("75%");
    EXPECT_EQ(window->imageView().size(), QSize(180, 135));
    window->action("zoomIn")->trigger();
    EXPECT_EQ(window->imageView().size(), QSize(240, 180));
    window->action("zoomIn")->trigger();
    EXPECT_EQ(window->imageView().size(), QSize(360, 270));
    window->action("zoom100")->trigger();
    EXPECT_EQ(window->imageView().size(), QSize(240, 180));
    EXPECT_EQ(window->zoomMenu().count(), 8);
}

TEST_F(WindowTest, CommandsAreEnabledByTheDocumentsState) {
    DocumentMainWindow* untitled = application.newDocument();
    settle(untitled);
    QMenu* imageMenu = untitled->menuBar()->findChildren<QMenu*>().at(0);
    for (QMenu* menu : untitled->menuBar()->findChildren<QMenu*>()) {
        if (menu->title() == "&Image") {
            imageMenu = menu;
        }
    }
    emit imageMenu->aboutToShow();
    EXPECT_EQ(untitled->action("toggleImageAlpha")->text(), "Add alpha channel");
    EXPECT_FALSE(untitled->action("toggleImageAlpha")->isEnabled());
    EXPECT_FALSE(untitled->action("export")->isEnabled());
    EXPECT_FALSE(untitled->action("print")->isEnabled());
    EXPECT_FALSE(untitled->action("backgroundColor")->isEnabled());
    EXPECT_FALSE(untitled->backgroundWell().isEnabled());
    EXPECT_FALSE(untitled->action("delete")->isEnabled());
    // Every row is on in a new document; Select All still selects them all.
    ASSERT_TRUE(untitled->action("selectAll")->isEnabled());
    untitled->action("selectAll")->trigger();
    EXPECT_EQ(untitled->document().selectedRows(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(untitled->drawer().table()->selectionModel()->selectedRows().size(), 5);
    EXPECT_TRUE(untitled->action("delete")->isEnabled());
    EXPECT_EQ(untitled->windowTitle(), "Untitled[*]");
    // An empty window says how to give it an image.
    EXPECT_EQ(untitled->findChild<QLabel*>("pointerReadout")->text(),
              "Drop an image here, or choose File ▸ Open…");

    DocumentMainWindow* window = open(writeTwoColourImage(folder / "alpha.png", true));
    ASSERT_TRUE(window);
    emit imageMenu->aboutToShow();
    EXPECT_EQ(window->action("toggleImageAlpha")->text(), "Remove alpha channel");
    EXPECT_TRUE(window->backgroundWell().isEnabled());
    window->action("toggleImageAlpha")->trigger();
    EXPECT_EQ(window->action("toggleImageAlpha")->text(), "Add alpha channel");
    EXPECT_FALSE(window->backgroundWell().isEnabled());
    EXPECT_EQ(window->action("undo")->text(), "Undo Change transparency");

    // The user's selection in the table (not selectRow: it obeys held modifiers).
    QTableView* table = window->drawer().table();
    table->selectionModel()->select(table->model()->index(0, 0),
                                    QItemSelectionModel::ClearAndSelect |
                                        QItemSelectionModel::Rows);
    EXPECT_EQ(window->document().selectedRows(), std::vector<int>{0});
    EXPECT_TRUE(window->action("delete")->isEnabled());
    std::size_t rows = window->document().colorAdjustments().size();
    window->action("delete")->trigger();
    EXPECT_EQ(window->document().colorAdjustments().size(), rows - 1);
}

TEST_F(WindowTest, BackgroundShowsBehindAlphaOnlyAndNothingIsDrawnWithoutAnImage) {
    DocumentMainWindow* window = open(writeTwoColourImage(folder / "alpha.png", true));
    ASSERT_TRUE(window);
    window->takeBackgroundColorFrom(QColor(255, 255, 0));
    window->document().waitUntilComplete();
    window->imageView().refreshFinishedStripes();
    QImage shown = viewPixels(*window);
    // Half-transparent green over yellow, in the bottom stripe.
    QColor mixed = shown.pixelColor(20, 170);
    EXPECT_NEAR(mixed.red(), 127, 3);
    EXPECT_NEAR(mixed.green(), 255, 3);
    EXPECT_NEAR(mixed.blue(), 0, 3);
    EXPECT_EQ(shown.pixelColor(20, 10), QColor(255, 0, 0));

    DocumentMainWindow* opaque = open(writeTwoColourImage(folder / "opaque.png", false));
    opaque->takeBackgroundColorFrom(QColor(255, 255, 0));
    opaque->resize(opaque->width() + 80, opaque->height());
    QApplication::processEvents();
    QImage beside = viewPixels(*opaque);
    EXPECT_NE(beside.pixelColor(beside.width() - 3, 10), QColor(255, 255, 0));

    DocumentMainWindow* untitled = application.newDocument();
    settle(untitled);
    QImage empty = viewPixels(*untitled);
    QColor first = empty.pixelColor(0, 0);
    for (int y = 0; y < empty.height(); y += 7) {
        for (int x = 0; x < empty.width(); x += 7) {
            ASSERT_EQ(empty.pixelColor(x, y), first);
        }
    }
}

TEST_F(WindowTest, ToolbarStartsWithTheDefaultSetAndKeepsACustomisation) {
    DocumentMainWindow* first = application.newDocument();
    auto names = [](QToolBar& bar) {
        QStringList shown;
        for (QAction* item : bar.actions()) {
            shown << (item->isSeparator() ? "separator" : item->objectName());
        }
        return shown;
    };
    EXPECT_EQ(names(first->toolbar()),
              (QStringList{"toggleDrawer", "showColors", "toggleImage", "", "customize"}));
    application.setToolbarItems(
        {toolbar::kZoom, toolbar::kBgColor, toolbar::kSeparator, toolbar::kPrint});
    EXPECT_EQ(names(first->toolbar()), (QStringList{"", "", "separator", "print"}));
    // The pop-up and the well sit in the toolbar with their labels under them.
    EXPECT_EQ(first->zoomMenu().parentWidget()->parentWidget(), &first->toolbar());
    QStringList labels;
    for (QLabel* label : first->toolbar().findChildren<QLabel*>()) {
        labels << label->text();
    }
    EXPECT_TRUE(labels.contains("set zoom") && labels.contains("bg color"));
    EXPECT_EQ(first->zoomMenu().toolTip(), "Set zoom");

    DocumentMainWindow* second = application.newDocument();
    EXPECT_EQ(names(second->toolbar()), names(first->toolbar()));
    EXPECT_EQ(second->backgroundWell().parentWidget()->parentWidget(), &second->toolbar());

    // Numbered, and cascaded from the first.
    EXPECT_EQ(second->windowTitle(), "Untitled 2[*]");
    EXPECT_NE(second->pos(), first->pos());
    application.setToolbarItems({});
    EXPECT_TRUE(names(second->toolbar()).isEmpty());
}

TEST_F(WindowTest, PrintingGivesTheViewsPixels) {
    DocumentMainWindow* window = open(writeTwoColourImage(folder / "two.png", false));
    ASSERT_TRUE(window);
    QString pdf = QString::fromStdString((folder / "print.pdf").string());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    window->printTo(printer);
    ASSERT_TRUE(QFileInfo::exists(pdf));
    QString page = QString::fromStdString((folder / "page").string());
    int status = QProcess::execute("pdftoppm", {"-png", "-r", "72", "-singlefile", pdf, page});
    if (status < 0) {
        GTEST_SKIP() << "pdftoppm is not installed";
    }
    QImage printed(page + ".png");
    ASSERT_FALSE(printed.isNull());
    QRectF area = printer.pageLayout().paintRectPoints();
    QPoint origin = area.topLeft().toPoint();
    // One view point to one printed point: the red and blue halves, the
    // paper around them (within the PDF's rounding of colours).
    auto near = [&](QPoint at, QColor expected) {
        QColor c = printed.pixelColor(origin + at);
        return std::abs(c.red() - expected.red()) <= 2 &&
               std::abs(c.green() - expected.green()) <= 2 &&
               std::abs(c.blue() - expected.blue()) <= 2;
    };
    EXPECT_TRUE(near({10, 40}, QColor(255, 0, 0)));
    EXPECT_TRUE(near({230, 40}, QColor(0, 0, 255)));
    EXPECT_TRUE(near({250, 40}, QColor(255, 255, 255)));
    EXPECT_TRUE(near({10, 190}, QColor(255, 255, 255)));
}

TEST_F(WindowTest, ClosingWithUnsavedChangesAsksAndEachAnswerDoesWhatItSays) {
    std::filesystem::path image = writeTwoColourImage(folder / "two.png", false);
    DocumentMainWindow* window = open(image);
    ASSERT_TRUE(window);
    QPointer<DocumentMainWindow> alive = window;
    std::string name = "two.png";
    auto answer = [&](QMessageBox::StandardButton button) {
        window->close();
        auto* sheet = window->findChild<QMessageBox*>("saveChangesSheet");
        EXPECT_TRUE(sheet);
        if (!sheet) {
            return;
        }
        EXPECT_EQ(sheet->text().toStdString(),
                  "Do you want to save the changes you made to “" + name + "”?");
        sheet->button(button)->click();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };

    window->newAdjustment();
    answer(QMessageBox::Cancel);
    ASSERT_TRUE(alive);
    EXPECT_TRUE(window->isVisible());

    // Saving a document that came from an image asks for a document name.
    answer(QMessageBox::Save);
    ASSERT_TRUE(alive);
    auto* dialog = window->findChild<QFileDialog*>("saveDialog");
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->selectedFiles().value(0).endsWith("two.velo"));
    QString saved = QString::fromStdString((folder / "two.velo").string());
    emit dialog->fileSelected(saved);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(alive);
    EXPECT_TRUE(QFileInfo::exists(saved));

    window = open(folder / "two.velo");
    ASSERT_TRUE(window);
    alive = window;
    name = "two.velo";
    std::size_t rows = window->document().colorAdjustments().size();
    window->newAdjustment();
    answer(QMessageBox::Discard);
    EXPECT_FALSE(alive);
    window = open(folder / "two.velo");
    EXPECT_EQ(window->document().colorAdjustments().size(), rows);
}

TEST_F(WindowTest, ExportWritesTheResultButNeverOverTheImageItCameFrom) {
    std::filesystem::path image = writeTwoColourImage(folder / "two.png", false);
    DocumentMainWindow* window = open(image);
    ASSERT_TRUE(window);
    QString exported = QString::fromStdString((folder / "two.tiff").string());
    EXPECT_TRUE(window->exportToFile(exported, "tiff"));
    QImage written(exported);
    EXPECT_EQ(written.size(), QSize(240, 180));
    EXPECT_EQ(written.pixelColor(10, 10), QColor(255, 0, 0));

    auto bytesOf = [](const std::filesystem::path& path) {
        QFile file(QString::fromStdString(path.string()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QByteArray before = bytesOf(image);
    EXPECT_FALSE(window->exportToFile(QString::fromStdString(image.string()), "png"));
    EXPECT_TRUE(window->findChild<QMessageBox*>("alertSheet"));
    EXPECT_EQ(bytesOf(image), before);
}

// A full disk or a read-only folder: saving and exporting say why, naming
// the file; the old files stay, nothing is left beside them, and the work
// stays edited, so that closing still asks.
TEST_F(WindowTest, AFullOrReadOnlyDiskSaysWhyAndTheWorkStaysUnsaved) {
    DocumentMainWindow* window = open(writeTwoColourImage(folder / "two.png", false));
    ASSERT_TRUE(window);
    window->newAdjustment();
    for (bool readOnly : {false, true}) {
        std::filesystem::path where = folder / (readOnly ? "read-only" : "full");
        test::ScratchMount mount(where, 1 << 20);
        if (!mount.error().empty()) {
            GTEST_SKIP() << mount.error();
        }
        for (const char* name : {"work.velo", "result.png"}) {
            std::ofstream(where / name) << "old";
        }
        if (readOnly) {
            ASSERT_TRUE(mount.setReadOnly(true));
        } else {
            mount.fill();
        }
        auto before = std::distance(std::filesystem::directory_iterator(where), {});
        QString reason = readOnly ? "Read-only file system" : "No space left on device";
        auto expectRefused = [&](bool written, const char* name) {
            SCOPED_TRACE(name);
            EXPECT_FALSE(written);
            auto* alert = window->findChild<QMessageBox*>("alertSheet");
            ASSERT_TRUE(alert);
            EXPECT_TRUE(alert->text().contains(QString::fromStdString((where / name).string()) +
                                               ": " + reason))
                << alert->text().toStdString();
            delete alert;
            std::ifstream file(where / name);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "old");
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(where), {}), before);
            EXPECT_TRUE(window->document().isDocumentEdited());
        };
        expectRefused(window->saveToFile(QString::fromStdString((where / "work.velo").string())),
                      "work.velo");
        expectRefused(
            window->exportToFile(QString::fromStdString((where / "result.png").string()), "png"),
            "result.png");
        mount.setReadOnly(false);
    }
}

TEST_F(WindowTest, QuittingAsksAboutEachUnsavedDocumentAndCancelStopsIt) {
    QPointer<DocumentMainWindow> clean = open(writeTwoColourImage(folder / "clean.png", false));
    QPointer<DocumentMainWindow> first = open(writeTwoColourImage(folder / "first.png", false));
    QPointer<DocumentMainWindow> second = open(writeTwoColourImage(folder / "second.png", false));
    ASSERT_TRUE(clean && first && second);
    first->newAdjustment();
    second->newAdjustment();
    auto settleQuitting = [] {
        for (int i = 0; i < 5; ++i) {
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QApplication::processEvents();
        }
    };
    auto answer = [](DocumentMainWindow* window, QMessageBox::StandardButton button) {
        auto* sheet = window->findChild<QMessageBox*>("saveChangesSheet");
        ASSERT_TRUE(sheet);
        sheet->button(button)->click();
    };
    application.quit();
    settleQuitting();
    EXPECT_FALSE(clean);
    ASSERT_TRUE(first && second);
    EXPECT_FALSE(second->findChild<QMessageBox*>("saveChangesSheet")) << "one question at a time";
    answer(first, QMessageBox::Discard);
    settleQuitting();
    EXPECT_FALSE(first);
    ASSERT_TRUE(second);
    answer(second, QMessageBox::Cancel);
    settleQuitting();
    EXPECT_TRUE(second);
    EXPECT_TRUE(second->isVisible());

    // Cancelled means cancelled: closing another window later does not go on quitting.
    QPointer<DocumentMainWindow> third = open(writeTwoColourImage(folder / "third.png", false));
    third->close();
    settleQuitting();
    EXPECT_TRUE(second);
}

} // namespace
} // namespace velo
