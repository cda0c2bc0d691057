// File ▸ Export LUT… through the window's own dialogs.
#include "ui/ExportLutDialog.h"
#include "ui/WindowTestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSpinBox>

#include <fstream>

namespace velo {
namespace {

using WindowTest = test::WindowTest;

// Chooses in the dialog, then names the file as the user would.
void exportLut(DocumentMainWindow& window, int format, int number, const QString& name,
               bool aboutAlpha = false) {
    window.action("exportLut")->trigger();
    auto* dialog = window.findChild<ExportLutDialog*>("exportLutDialog");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    dialog->findChild<QComboBox*>("formatMenu")->setCurrentIndex(format);
    auto* size = dialog->findChild<QSpinBox*>("sizeField");
    auto* level = dialog->findChild<QSpinBox*>("levelField");
    EXPECT_EQ(size->isEnabled(), format == 0);
    EXPECT_EQ(level->isEnabled(), format == 1);
    (format == 0 ? size : level)->setValue(number);
    EXPECT_EQ(dialog->findChild<QLabel*>("alphaWarning") != nullptr, aboutAlpha);
    dialog->accept();
    auto* files = window.findChild<QFileDialog*>("exportLutFileDialog");
    ASSERT_TRUE(files);
    emit files->fileSelected(name);
    files->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(WindowTest, ExportLutWritesBothFormats) {
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 90));
    image.save(QString::fromStdString((folder / "photo.png").string()));
    DocumentMainWindow* window = open(folder / "photo.png");
    ASSERT_TRUE(window);

    exportLut(*window, 0, 9, QString::fromStdString((folder / "look").string()));
    std::ifstream cube(folder / "look.cube");
    std::string title, size;
    std::getline(cube, title);
    std::getline(cube, size);
    EXPECT_EQ(title, "TITLE \"photo\"");
    EXPECT_EQ(size, "LUT_3D_SIZE 9");

    exportLut(*window, 1, 4, QString::fromStdString((folder / "hald").string()));
    QImage hald(QString::fromStdString((folder / "hald.png").string()));
    EXPECT_EQ(hald.size(), QSize(64, 64));

    // Never over the image the document came from.
    auto translucent = std::make_shared<ColorAdjustment>();
    translucent->setSourceColor(Color::redColor());
    translucent->setTargetColor(Color::colorWithCalibratedRed(0, 0, 1, 0.5f));
    window->document().replaceAdjustments({translucent}, {});
    exportLut(*window, 1, 2, QString::fromStdString((folder / "photo.png").string()), true);
    EXPECT_EQ(QImage(QString::fromStdString((folder / "photo.png").string())).size(),
              QSize(24, 16));
    EXPECT_TRUE(window->findChild<QMessageBox*>("alertSheet"));
}

} // namespace
} // namespace velo
