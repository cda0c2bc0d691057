// The window without a mouse, and as a screen reader sees it.
#include "ui/WindowTestSupport.h"

#include "ui/AdjustmentsDrawer.h"
#include "ui/AdjustmentsTableModel.h"
#include "ui/BitmapView.h"
#include "ui/ColorPanel.h"
#include "ui/HexColor.h"
#include "ui/QtColors.h"

#include <QAccessible>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QSet>
#include <QTableView>

namespace velo {
namespace {

class KeyboardAccessTest : public test::WindowTest {
  protected:
    DocumentMainWindow* openPhoto() {
        QImage image(120, 90, QImage::Format_RGB32);
        image.fill(QColor(200, 120, 40));
        QString path = QString::fromStdString((folder / "photo.png").string());
        image.save(path);
        DocumentMainWindow* window = open(folder / "photo.png");
        if (window) {
            window->activateWindow();
            QApplication::setActiveWindow(window);
        }
        return window;
    }
    static void press(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(widget, key, modifiers);
        QApplication::processEvents();
    }
};

// Adding, switching off, recolouring, changing the model and deleting, all by
// keys: focus goes from the view to the table with Tab, arrows move, Space
// switches, Enter opens the colour panel on a swatch, Alt+Down the model's
// choices, Delete deletes.
TEST_F(KeyboardAccessTest, TheMainJobNeedsNoMouse) {
    DocumentMainWindow* window = openPhoto();
    ASSERT_TRUE(window);
    VeloDocument& document = window->document();
    QTableView* table = window->drawer().table();
    std::size_t rows = document.colorAdjustments().size();

    window->imageView().setFocus();
    press(&window->imageView(), Qt::Key_Tab);
    ASSERT_TRUE(table->hasFocus()) << "after the view, Tab goes to the table";

    press(table, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(document.colorAdjustments().size(), rows + 1);
    int row = static_cast<int>(rows);
    auto cell = [&](TableColumn column) {
        return table->model()->index(row, AdjustmentsTableModel::columnOf(column));
    };
    EXPECT_EQ(table->currentIndex().row(), row);

    auto isOn = [&] { return std::get<bool>(document.objectValue(TableColumn::Active, row)); };
    table->setCurrentIndex(cell(TableColumn::Active));
    press(table, Qt::Key_Space);
    EXPECT_FALSE(isOn());
    press(table, Qt::Key_Space);
    EXPECT_TRUE(isOn());

    press(table, Qt::Key_Right); // to the source swatch
    ASSERT_EQ(table->currentIndex(), cell(TableColumn::Source));
    press(table, Qt::Key_Return);
    QColorDialog* panel = ColorPanel::shared().dialog();
    ASSERT_TRUE(panel->isVisible());
    QLineEdit* html = nullptr;
    for (QLineEdit* edit : panel->findChildren<QLineEdit*>()) {
        if (edit->text().startsWith('#')) {
            html = edit;
        }
    }
    ASSERT_TRUE(html) << "the panel's hex field";
    html->setFocus();
    html->selectAll();
    QTest::keyClicks(html, "#00ff00");
    press(html, Qt::Key_Return);
    QTRY_COMPARE(toQColor(document.colorAdjustments()[row]->sourceColor()).name(),
                 QString("#00ff00"));
    panel->hide();

    table->setFocus();
    table->setCurrentIndex(cell(TableColumn::ColorSpace));
    press(table, Qt::Key_Down, Qt::AltModifier);
    auto* models = qobject_cast<QComboBox*>(table->indexWidget(cell(TableColumn::ColorSpace)));
    ASSERT_TRUE(models) << "Alt+Down opens the model's choices";
    QTRY_VERIFY(models->view()->isVisible());
    press(models->view(), Qt::Key_Down);
    press(models->view(), Qt::Key_Return);
    EXPECT_EQ(document.colorAdjustments()[row]->colorModel(), ColorModel::HSB);

    // The closed pop-up gives the activation back, as a window manager does.
    QApplication::setActiveWindow(window);
    table->setFocus();
    press(table, Qt::Key_Delete);
    EXPECT_EQ(document.colorAdjustments().size(), rows);
}

const QSet<QAccessible::Role> kInteractive = {
    QAccessible::PushButton,   QAccessible::CheckBox,       QAccessible::RadioButton,
    QAccessible::ComboBox,     QAccessible::Slider,         QAccessible::SpinBox,
    QAccessible::EditableText, QAccessible::Cell,           QAccessible::Table,
    QAccessible::ButtonMenu,   QAccessible::ButtonDropDown, QAccessible::PageTab};

// Every control a user can reach has a name a screen reader can say; a
// swatch says which colour of which row it is.
TEST_F(KeyboardAccessTest, EveryControlHasANameAndSwatchesSayTheirColour) {
    DocumentMainWindow* window = openPhoto();
    ASSERT_TRUE(window);
    std::vector<std::string> nameless;
    std::function<void(QAccessibleInterface*, int)> walk = [&](QAccessibleInterface* item,
                                                               int depth) {
        if (!item || depth > 40 || item->state().invisible) {
            return;
        }
        bool interactive = kInteractive.contains(item->role()) ||
                           (item->role() == QAccessible::Client && item->state().focusable);
        if (interactive && item->text(QAccessible::Name).trimmed().isEmpty()) {
            QObject* object = item->object();
            nameless.push_back(
                std::to_string(item->role()) + " " +
                (object ? object->metaObject()->className() : "?") + " in " +
                (object && object->parent() ? object->parent()->metaObject()->className() : "?"));
        }
        for (int i = 0; i < item->childCount(); ++i) {
            walk(item->child(i), depth + 1);
        }
    };
    walk(QAccessible::queryAccessibleInterface(window), 0);
    EXPECT_TRUE(nameless.empty()) << [&] {
        std::string all;
        for (const std::string& n : nameless) {
            all += n + "\n";
        }
        return all;
    }();

    QTableView* table = window->drawer().table();
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(table);
    ASSERT_TRUE(view && view->tableInterface());
    QAccessibleInterface* swatch =
        view->tableInterface()->cellAt(1, AdjustmentsTableModel::columnOf(TableColumn::Source));
    ASSERT_TRUE(swatch);
    TableValue value = window->document().objectValue(TableColumn::Source, 1);
    QString hex = QString::fromStdString(hexColorText(std::get<ColorRef>(value)));
    EXPECT_EQ(swatch->text(QAccessible::Name), "Source colour of row 2, " + hex);
}

} // namespace
} // namespace velo
