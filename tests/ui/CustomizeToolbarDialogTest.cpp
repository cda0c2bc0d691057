// The toolbar customisation dialog, worked through its lists and buttons.
#include "ui/CustomizeToolbarDialog.h"
#include "ui/ToolbarItems.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

namespace velo {
namespace {

using Ids = std::vector<std::string>;
using namespace toolbar;

struct CustomizeToolbar : ::testing::Test {
    CustomizeToolbarDialog dialog{{kToggleDrawer, kToggleImage}};

    QListWidget& list(const char* name) { return *dialog.findChild<QListWidget*>(name); }
    QListWidget& available() { return list("availableItems"); }
    QListWidget& placed() { return list("toolbarItems"); }
    QPushButton& button(const char* name) { return *dialog.findChild<QPushButton*>(name); }
    void click(const char* name) { button(name).click(); }

    void chooseAvailable(const std::string& id) {
        auto found =
            available().findItems(QString::fromStdString(paletteLabel(id)), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << id;
        available().setCurrentItem(found.front());
    }
    QStringList labels(QListWidget& list) {
        QStringList texts;
        for (int row = 0; row < list.count(); ++row) {
            texts << list.item(row)->text();
        }
        return texts;
    }
    void doubleClick(QListWidget& list, int row) {
        QWidget* viewport = list.viewport();
        QPoint at = list.visualItemRect(list.item(row)).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            Qt::MouseButtons held =
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, held,
                              Qt::NoModifier);
            QApplication::sendEvent(viewport, &event);
        }
    }
};

TEST_F(CustomizeToolbar, addsAfterTheSelectionAndOffersSpacingAgain) {
    dialog.show();
    EXPECT_EQ(labels(placed()),
              (QStringList{"Color adjustments", "Toggle Show Original/adjusted image"}));
    EXPECT_FALSE(button("removeButton").isEnabled());

    chooseAvailable(kZoom);
    placed().setCurrentRow(0);
    click("addButton");
    chooseAvailable(kSeparator);
    click("addButton");
    chooseAvailable(kSeparator);
    click("addButton");
    EXPECT_EQ(dialog.itemIdentifiers(),
              (Ids{kToggleDrawer, kZoom, kSeparator, kSeparator, kToggleImage}));
    EXPECT_FALSE(labels(available()).contains("Set zoom"));
    EXPECT_TRUE(labels(available()).contains("Separator"));

    doubleClick(available(), 0);
    EXPECT_EQ(dialog.itemIdentifiers(),
              (Ids{kToggleDrawer, kZoom, kSeparator, kSeparator, kBgColor, kToggleImage}));
}

TEST_F(CustomizeToolbar, removesAndReordersWithinTheBounds) {
    dialog.show();
    placed().setCurrentRow(0);
    EXPECT_FALSE(button("moveUpButton").isEnabled());
    click("moveDownButton");
    EXPECT_EQ(dialog.itemIdentifiers(), (Ids{kToggleImage, kToggleDrawer}));
    EXPECT_EQ(placed().currentRow(), 1);
    EXPECT_FALSE(button("moveDownButton").isEnabled());
    click("moveUpButton");
    EXPECT_EQ(dialog.itemIdentifiers(), (Ids{kToggleDrawer, kToggleImage}));

    click("removeButton");
    EXPECT_EQ(dialog.itemIdentifiers(), (Ids{kToggleImage}));
    EXPECT_TRUE(labels(available()).contains("Color adjustments"));
    doubleClick(placed(), 0);
    EXPECT_TRUE(dialog.itemIdentifiers().empty());
    EXPECT_FALSE(button("removeButton").isEnabled());
}

TEST_F(CustomizeToolbar, defaultSetUnlessCancelled) {
    dialog.open();
    click("defaultSetButton");
    EXPECT_EQ(dialog.itemIdentifiers(), defaultItemIdentifiers());

    dialog.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.itemIdentifiers(), (Ids{kToggleDrawer, kToggleImage}));
}

} // namespace
} // namespace velo
