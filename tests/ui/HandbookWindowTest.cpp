// The handbook's pictures, taken from the real window at work on a photo,
// and Help ▸ Velo Handbook opening the pages in the browser.
#include "ui/WindowTestSupport.h"

#include "ui/AdjustmentsDrawer.h"
#include "ui/AdjustmentsTableModel.h"
#include "ui/ColorPanel.h"
#include "ui/ExportLutDialog.h"
#include "ui/Handbook.h"
#include "ui/ViewGeometry.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QTableView>
#include <QUrl>

#include <libimagequant.h>

#include <memory>

namespace velo {
namespace {

constexpr int kWidest = 800;
constexpr qint64 kMostBytes = 150 * 1024;

// The photo the handbook shows; its licence is named in the handbook's credits.
const char* const kPhoto = "png_rgb_iccp_skimage_chelsea.png";

struct LiqFree {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
    void operator()(liq_image* p) const { liq_image_destroy(p); }
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};

// At most 800 pixels wide, in a palette of at most 256 colours made for the
// picture, so that the pictures in the repository stay small.
QImage small(const QImage& shot) {
    QImage rgba =
        (shot.width() > kWidest ? shot.scaledToWidth(kWidest, Qt::SmoothTransformation) : shot)
            .convertToFormat(QImage::Format_RGBA8888);
    std::vector<const unsigned char*> rows;
    for (int y = 0; y < rgba.height(); ++y) {
        rows.push_back(rgba.constScanLine(y));
    }
    std::unique_ptr<liq_attr, LiqFree> attr(liq_attr_create());
    liq_set_max_colors(attr.get(), 256);
    std::unique_ptr<liq_image, LiqFree> image(liq_image_create_rgba_rows(
        attr.get(), reinterpret_cast<void**>(const_cast<unsigned char**>(rows.data())),
        rgba.width(), rgba.height(), 0));
    liq_result* raw = nullptr;
    if (!image || liq_image_quantize(image.get(), attr.get(), &raw) != LIQ_OK) {
        return {};
    }
    std::unique_ptr<liq_result, LiqFree> result(raw);
    // Little dithering: flat widgets stay flat and compress well.
    liq_set_dithering_level(result.get(), 0.5f);
    QImage indexed(rgba.size(), QImage::Format_Indexed8);
    std::vector<unsigned char*> out;
    for (int y = 0; y < indexed.height(); ++y) {
        out.push_back(indexed.scanLine(y));
    }
    if (liq_write_remapped_image_rows(result.get(), image.get(), out.data()) != LIQ_OK) {
        return {};
    }
    const liq_palette* palette = liq_get_palette(result.get());
    QList<QRgb> table;
    for (unsigned i = 0; i < palette->count; ++i) {
        const liq_color& c = palette->entries[i];
        table << qRgba(c.r, c.g, c.b, c.a);
    }
    indexed.setColorTable(table);
    return indexed;
}

class HandbookWindowTest : public test::WindowTest {
  protected:
    static QString pictureFolder() { return QDir(VELO_SCREENSHOT_DIR).filePath("handbook"); }

    // Saves a small picture of the widget and checks that it reads back as one.
    static void picture(QWidget& widget, const QString& name) {
        QApplication::processEvents();
        QString path = QDir(pictureFolder()).filePath(name + ".png");
        ASSERT_TRUE(QDir().mkpath(pictureFolder()));
        QImage shot = small(widget.grab().toImage());
        ASSERT_FALSE(shot.isNull()) << name.toStdString();
        ASSERT_TRUE(shot.save(path)) << path.toStdString();
        QImage read(path);
        EXPECT_FALSE(read.isNull()) << path.toStdString();
        EXPECT_LE(read.width(), kWidest) << path.toStdString();
        EXPECT_EQ(read.format(), QImage::Format_Indexed8) << path.toStdString();
        EXPECT_LT(QFileInfo(path).size(), kMostBytes) << path.toStdString();
    }

    // A click on the photo's pixel (x, y) (from the top left), as the user makes it.
    static void clickPhoto(DocumentMainWindow& window, int x, int y,
                           Qt::KeyboardModifiers modifiers = {}) {
        BitmapView& view = window.imageView();
        const Bitmap& photo = *window.document().sourceBitmap();
        std::optional<DrawnSize> drawn =
            drawnImageSize(photo.pixelsWide(), photo.pixelsHigh(), view.width(), view.height());
        ASSERT_TRUE(drawn);
        // Drawn at the view's lower left, the centre of the pixel.
        double scale = drawn->width / photo.pixelsWide();
        QPoint at(int((x + 0.5) * scale), int(view.height() - drawn->height + (y + 0.5) * scale));
        QTest::mouseClick(&view, Qt::LeftButton, modifiers, at);
        window.document().undoManager()->endEvent();
        QApplication::processEvents();
    }

    static void clickCell(QTableView& table, int row, TableColumn column) {
        QModelIndex cell = table.model()->index(row, AdjustmentsTableModel::columnOf(column));
        QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, table.visualRect(cell).center());
    }
};

// The fur of a tabby turned blue-grey in OKLab within a reach, its pink nose
// protected: the window, the colour panel on the fur's target, the
// influence view and the Export LUT dialog.
TEST_F(HandbookWindowTest, PicturesOfTheWindowAtWork) {
    std::filesystem::path photo = test::corpusDir() / kPhoto;
    if (!std::filesystem::is_regular_file(photo)) {
        GTEST_SKIP() << "the handbook's photo " << photo
                     << " is missing; VELO_CORPUS_DIR names the sample images' folder";
    }
    DocumentMainWindow* window = open(photo);
    ASSERT_TRUE(window);
    VeloDocument& document = window->document();
    QTableView& table = *window->drawer().table();
    ColorPanel::shared().setLastActiveDocument(&document, window);
    std::size_t builtIn = document.colorAdjustments().size();

    window->chooseSampleSize(5);
    clickPhoto(*window, 262, 236, Qt::ControlModifier | Qt::AltModifier); // the nose
    clickPhoto(*window, 100, 100);                                        // the fur
    ASSERT_EQ(document.colorAdjustments().size(), builtIn + 2);
    int fur = static_cast<int>(builtIn) + 1;
    const ColorAdjustment& nose = *document.colorAdjustments()[fur - 1];
    EXPECT_TRUE(colorsEqual(nose.sourceColor(), nose.targetColor())) << "protected";
    RGBA furColour = document.colorAdjustments()[fur]->sourceRGBA();
    EXPECT_GT(furColour.r, furColour.b) << "a warm brown";

    QAbstractItemModel& model = *table.model();
    model.setData(model.index(fur, AdjustmentsTableModel::columnOf(TableColumn::ColorSpace)), 2,
                  Qt::EditRole);
    model.setData(model.index(fur, AdjustmentsTableModel::columnOf(TableColumn::Reach)), 0.25,
                  Qt::EditRole);
    clickCell(table, fur, TableColumn::Target);
    QColorDialog& panel = *ColorPanel::shared().dialog();
    ASSERT_TRUE(panel.isVisible());
    panel.setCurrentColor(QColor(92, 118, 158));
    document.undoManager()->endEvent();
    EXPECT_TRUE(panel.windowTitle().contains(QString("Target of row %1").arg(fur + 1)))
        << panel.windowTitle().toStdString();
    EXPECT_EQ(document.colorAdjustments()[fur]->colorModel(), ColorModel::OKLab);
    EXPECT_FALSE(colorsEqual(document.colorAdjustments()[fur]->targetColor(),
                             document.colorAdjustments()[fur]->sourceColor()));
    settle(window);
    picture(*window, "window");
    picture(panel, "color-panel");
    panel.hide();

    // No row selected: the map shows which row owns each pixel.
    table.clearSelection();
    window->action("toggleInfluence")->trigger();
    ASSERT_TRUE(document.showsInfluence());
    document.waitUntilInfluenceComplete();
    settle(window);
    auto* caption = window->findChild<QLabel*>("influenceCaption");
    ASSERT_TRUE(caption);
    EXPECT_TRUE(caption->text().startsWith("Owner of each pixel:"));
    EXPECT_EQ(window->imageView().bitmap(), document.influenceBitmap());
    picture(*window, "influence");
    window->action("toggleInfluence")->trigger();

    window->action("exportLut")->trigger();
    auto* lut = window->findChild<ExportLutDialog*>("exportLutDialog");
    ASSERT_TRUE(lut);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(lut));
    picture(*lut, "export-lut");
    lut->reject();
}

// QDesktopServices hands file addresses to this instead of a browser.
class AddressCatcher : public QObject {
    Q_OBJECT
  public slots:
    void open(const QUrl& url) { opened << url; }

  public:
    QList<QUrl> opened;
};

TEST_F(HandbookWindowTest, F1OpensTheHandbookThisBuildRendered) {
    DocumentMainWindow* window = application.newDocument();
    ASSERT_TRUE(window);
    settle(window);
    QAction* handbook = window->action("handbook");
    ASSERT_TRUE(handbook);
    EXPECT_EQ(handbook->shortcut(), QKeySequence(QKeySequence::HelpContents));
    ASSERT_TRUE(QFileInfo(builtHandbookPath()).isFile())
        << "the build renders " << builtHandbookPath().toStdString();

    AddressCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    handbook->trigger();
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.front(), QUrl::fromLocalFile(builtHandbookPath()));
    EXPECT_FALSE(window->findChild<QMessageBox*>("alertSheet"));
}

} // namespace
} // namespace velo

#include "HandbookWindowTest.moc"
