#include "document/DocumentSupport.h"
#include "document/RecordingObserver.h"
#include "ui/AdjustmentsDrawer.h"
#include "ui/AdjustmentsTableModel.h"
#include "ui/ColorPanel.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSlider>
#include <QTableView>

#include <gtest/gtest.h>

#include <cmath>

namespace velo {
namespace {

// A document with an image, shown through a drawer.
struct OpenDocument {
    explicit OpenDocument(int samples, unsigned seed = 3) {
        document.addObserver(&observer);
        document.setSourceImage(test::randomImage(40, 30, samples, seed));
        document.finishSetUp();
        observer.told.clear();
        drawer.resize(420, 240);
        drawer.show();
    }
    ~OpenDocument() {
        document.windowShouldClose();
        ColorPanel::shared().documentClosed(&document);
        ColorPanel::shared().dialog()->hide();
    }

    QTableView& table() { return *drawer.table(); }
    QModelIndex cell(int row, TableColumn column) {
        return table().model()->index(row, AdjustmentsTableModel::columnOf(column));
    }
    void click(int row, TableColumn column) {
        QWidget* viewport = table().viewport();
        QPoint at = table().visualRect(cell(row, column)).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            Qt::MouseButtons held =
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, held,
                              Qt::NoModifier);
            QApplication::sendEvent(viewport, &event);
        }
        document.undoManager()->endEvent();
    }
    void press(QWidget* widget, int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
        document.undoManager()->endEvent();
    }
    ColorAdjustment& row(int i) { return *document.colorAdjustments()[i]; }
    // The editor a click on the cell opens, if it is an Editor.
    template <typename Editor> Editor* editorOpenedBy(int r, TableColumn column) {
        click(r, column);
        return qobject_cast<Editor*>(table().indexWidget(cell(r, column)));
    }

    // How often the document was told edited: what a window marks.
    long edits() const { return observer.count(DocumentChange::Edited); }

    VeloDocument document{nullptr, 2};
    AdjustmentsDrawer drawer{document};
    test::RecordingObserver observer;
};

// The panel's colour moves as the user drags in it; the colour it then
// holds, in the panel's own precision.
QColor movePanelTo(const QColor& color) {
    ColorPanel::shared().dialog()->setCurrentColor(color);
    return ColorPanel::shared().dialog()->currentColor();
}

bool sameColor(const ColorRef& color, const QColor& expected) {
    RGBA c = calibratedRGBA(color);
    return std::abs(c.r - expected.redF()) < 1e-6f && std::abs(c.g - expected.greenF()) < 1e-6f &&
           std::abs(c.b - expected.blueF()) < 1e-6f && std::abs(c.a - expected.alphaF()) < 1e-6f;
}

TEST(AdjustmentsTable, CheckBoxesSwitchRecordsAndTheResult) {
    OpenDocument open(3);
    open.row(2).setTargetColor(Color::colorWithCalibratedRed(0.2f, 0.9f, 0.4f, 1.0f));
    open.document.finishSetUp();
    open.observer.told.clear();
    std::vector<std::uint8_t> before = test::resultOf(open.document);

    open.click(2, TableColumn::Active);
    EXPECT_EQ(open.document.selectedRows(), std::vector<int>{2});
    ASSERT_EQ(open.document.activeColorAdjustments().size(), 4u);
    EXPECT_EQ(open.cell(2, TableColumn::Active).data(Qt::CheckStateRole), Qt::Unchecked);
    std::vector<std::uint8_t> without = test::resultOf(open.document);
    EXPECT_NE(without, before);
    EXPECT_EQ(without, test::referenceResult(open.document));
    EXPECT_FALSE(open.document.undoManager()->canUndo());
    EXPECT_EQ(open.edits(), 1);

    // An RGB row's components are shown, mixed for hue, and cannot be switched.
    EXPECT_EQ(open.cell(2, TableColumn::Hue).data(Qt::CheckStateRole), Qt::PartiallyChecked);
    EXPECT_EQ(open.cell(2, TableColumn::Saturation).data(Qt::CheckStateRole), Qt::Checked);
    open.click(2, TableColumn::Saturation);
    EXPECT_EQ(open.row(2).componentsMask(), kHueBit | kSaturationBit | kAlphaBit);

    // Space toggles the check box under the keyboard focus.
    open.table().setCurrentIndex(open.cell(2, TableColumn::Active));
    open.press(&open.table(), Qt::Key_Space);
    EXPECT_EQ(open.document.activeColorAdjustments().size(), 5u);
    EXPECT_EQ(test::resultOf(open.document), test::referenceResult(open.document));
}

// The reach cell opens a slider; dragging it shows the row's share and
// makes one undo step; its last position is unlimited.
TEST(AdjustmentsTable, DraggingAReachShowsTheRowsShareAndUndoesInOneStep) {
    OpenDocument open(3);
    EXPECT_EQ(open.cell(1, TableColumn::Reach).data(), "");
    auto* slider = open.editorOpenedBy<QSlider>(1, TableColumn::Reach);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->value(), slider->maximum());

    slider->setSliderDown(true);
    EXPECT_TRUE(open.document.showsInfluence());
    EXPECT_EQ(open.document.sharePreviewRow(), std::optional<int>(1));
    for (int position : {60, 40, 25}) {
        slider->setValue(position);
    }
    EXPECT_EQ(open.row(1).reach(), std::optional<Reach>(Reach::ball(0.25f)));
    slider->setSliderDown(false);
    open.document.undoManager()->endEvent();
    EXPECT_EQ(open.document.shownImage(), VeloDocument::ShownImage::Adjusted);
    EXPECT_EQ(open.cell(1, TableColumn::Reach).data(), "0.25");
    EXPECT_EQ(test::resultOf(open.document), test::referenceResult(open.document));

    EXPECT_EQ(open.document.undoManager()->undoActionName(), "Change reach");
    open.document.undoManager()->undo();
    EXPECT_FALSE(open.row(1).reach());
    EXPECT_FALSE(open.document.undoManager()->canUndo());

    slider->setValue(slider->maximum() - 1);
    slider->setValue(slider->maximum());
    EXPECT_FALSE(open.row(1).reach());
}

TEST(AdjustmentsTable, ThePopUpOffersOKLab) {
    OpenDocument open(3);
    auto* combo = open.editorOpenedBy<QComboBox>(1, TableColumn::ColorSpace);
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(2), "oklab");
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(open.row(1).colorModel(), ColorModel::OKLab);
    EXPECT_EQ(open.cell(1, TableColumn::ColorSpace).data(), "oklab");
    EXPECT_TRUE(open.cell(1, TableColumn::Brightness).flags() & Qt::ItemIsUserCheckable);
}

TEST(AdjustmentsTable, ChoosingHSBInThePopUpEnablesTheComponents) {
    OpenDocument open(3);
    auto* combo = open.editorOpenedBy<QComboBox>(1, TableColumn::ColorSpace);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentText(), "rgb");
    // One click shows the choices.
    QApplication::processEvents();
    ASSERT_TRUE(combo->view()->isVisible());
    open.press(combo->view(), Qt::Key_Down);
    open.press(combo->view(), Qt::Key_Return);
    EXPECT_TRUE(open.row(1).usesHSB());
    EXPECT_EQ(open.table().indexWidget(open.cell(1, TableColumn::ColorSpace)), nullptr);
    EXPECT_EQ(open.cell(1, TableColumn::ColorSpace).data(), "hsb");
    EXPECT_EQ(open.document.undoManager()->undoActionName(), "Change color space");
    EXPECT_TRUE(open.cell(1, TableColumn::Hue).flags() & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(open.cell(0, TableColumn::Hue).flags() & Qt::ItemIsUserCheckable);

    // White matches on saturation and brightness; now its hue counts too.
    open.row(1).setTargetColor(Color::colorWithCalibratedRed(0.9f, 0.2f, 0.4f, 1.0f));
    open.document.finishSetUp();
    std::vector<std::uint8_t> before = test::resultOf(open.document);
    open.click(1, TableColumn::Hue);
    EXPECT_EQ(open.row(1).componentsMask(), 15);
    EXPECT_EQ(open.document.undoManager()->undoActionName(), "Component on/off");
    open.click(1, TableColumn::Brightness);
    EXPECT_EQ(open.row(1).componentsMask(), kHueBit | kSaturationBit | kAlphaBit);
    EXPECT_NE(test::resultOf(open.document), before);
    EXPECT_EQ(test::resultOf(open.document), test::referenceResult(open.document));
}

TEST(AdjustmentsTable, TheClickedSwatchTakesThePanelsColourUndoably) {
    OpenDocument open(3);
    ColorPanel::shared().setLastActiveDocument(&open.document);
    std::vector<std::uint8_t> before = test::resultOf(open.document);

    open.click(4, TableColumn::Target);
    QColorDialog* panel = ColorPanel::shared().dialog();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->currentColor(), QColor::fromRgbF(0, 0, 1, 1));
    EXPECT_TRUE(
        open.cell(4, TableColumn::Target).data(AdjustmentsTableModel::ClickedCellRole).toBool());
    EXPECT_FALSE(open.document.undoManager()->canUndo());

    QColor orange = movePanelTo(QColor::fromRgbF(1.0f, 0.5f, 0.0f, 1.0f));
    open.document.undoManager()->endEvent();
    EXPECT_TRUE(sameColor(open.row(4).targetColor(), orange));
    EXPECT_TRUE(sameColor(open.row(4).sourceColor(), QColor(Qt::blue)));
    EXPECT_EQ(open.cell(4, TableColumn::Target).data(AdjustmentsTableModel::SwatchColorRole),
              orange);
    EXPECT_EQ(open.document.undoManager()->undoActionName(), "Change color");
    EXPECT_EQ(open.edits(), 1);
    std::vector<std::uint8_t> adjusted = test::resultOf(open.document);
    EXPECT_NE(adjusted, before);
    EXPECT_EQ(adjusted, test::referenceResult(open.document));

    open.document.undoManager()->undo();
    EXPECT_TRUE(sameColor(open.row(4).targetColor(), QColor(Qt::blue)));
    EXPECT_EQ(test::resultOf(open.document), before);

    // Enter on the source swatch of the selected row opens the panel on it.
    open.table().setCurrentIndex(open.cell(4, TableColumn::Source));
    open.press(&open.table(), Qt::Key_Return);
    EXPECT_TRUE(open.document.isClickedColorCell(TableColumn::Source, 4));
    // A click elsewhere lets the panel go.
    open.click(3, TableColumn::Active);
    movePanelTo(orange);
    EXPECT_TRUE(sameColor(open.row(4).sourceColor(), QColor(Qt::blue)));
    EXPECT_TRUE(sameColor(open.row(3).sourceColor(), QColor(Qt::green)));
}

TEST(AdjustmentsTable, TheAlphaColumnComesAndGoesWithTheResultsAlpha) {
    OpenDocument open(3);
    int alpha = AdjustmentsTableModel::columnOf(TableColumn::Alpha);
    EXPECT_TRUE(open.table().isColumnHidden(alpha));
    EXPECT_FALSE(ColorPanel::shared().dialog()->testOption(QColorDialog::ShowAlphaChannel));

    open.document.toggleImageAlpha();
    EXPECT_FALSE(open.table().isColumnHidden(alpha));
    EXPECT_TRUE(ColorPanel::shared().dialog()->testOption(QColorDialog::ShowAlphaChannel));
    EXPECT_GT(open.table().columnWidth(alpha), 0);

    open.document.undoManager()->endEvent();
    open.document.undoManager()->undo();
    EXPECT_TRUE(open.table().isColumnHidden(alpha));
    EXPECT_FALSE(ColorPanel::shared().dialog()->testOption(QColorDialog::ShowAlphaChannel));
}

TEST(AdjustmentsTable, OnlyTheLastActiveDocumentTakesThePanelsColour) {
    OpenDocument first(3, 1);
    OpenDocument second(3, 2);
    first.click(4, TableColumn::Target);
    second.click(4, TableColumn::Target);

    ColorPanel::shared().setLastActiveDocument(&first.document);
    QColor grey = movePanelTo(QColor::fromRgbF(0.5f, 0.5f, 0.5f, 1.0f));
    EXPECT_TRUE(sameColor(first.row(4).targetColor(), grey));
    EXPECT_TRUE(sameColor(second.row(4).targetColor(), QColor(Qt::blue)));
    EXPECT_EQ(second.edits(), 0);

    ColorPanel::shared().setLastActiveDocument(&second.document);
    QColor yellow = movePanelTo(QColor::fromRgbF(1.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_TRUE(sameColor(first.row(4).targetColor(), grey));
    EXPECT_TRUE(sameColor(second.row(4).targetColor(), yellow));
}

// Swatches with and without alpha, the clicked one in its bezel, in a light
// and a dark palette.
TEST(AdjustmentsTable, Screenshot) {
    OpenDocument open(4);
    open.document.setObjectValue(1, TableColumn::ColorSpace, 1);
    open.row(2).setTargetColor(Color::colorWithCalibratedRed(1.0f, 0.3f, 0.0f, 0.4f));
    open.document.newColorAdjustment();
    open.click(3, TableColumn::Target);
    ASSERT_TRUE(open.drawer.hasAlphaColumn());

    QDir folder(VELO_SCREENSHOT_DIR);
    ASSERT_TRUE(folder.mkpath("."));
    EXPECT_TRUE(open.drawer.grab().save(folder.filePath("adjustments-drawer.png")));

    QPalette dark(QColor(60, 60, 64), QColor(45, 45, 48));
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::Highlight, QColor(42, 110, 190));
    open.drawer.setPalette(dark);
    EXPECT_TRUE(open.drawer.grab().save(folder.filePath("adjustments-drawer-dark.png")));
}

} // namespace
} // namespace velo
