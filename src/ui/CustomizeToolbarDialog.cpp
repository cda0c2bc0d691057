#include "ui/CustomizeToolbarDialog.h"

#include "ui/ThemedIcon.h"
#include "ui/ToolbarItems.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>

namespace velo {

namespace {

constexpr int kIconSize = 24;

// Items without artwork get a blank icon, so that all labels line up.
QIcon iconFor(const std::string& identifier) {
    if (identifier == toolbar::kToggleDrawer) {
        return themedIcon(":/images/showdrawer.svg", QApplication::palette());
    }
    if (identifier == toolbar::kToggleImage) {
        return themedIcon(":/images/ToggleModificationsOff.svg", QApplication::palette());
    }
    QPixmap blank(kIconSize, kIconSize);
    blank.fill(Qt::transparent);
    return QIcon(blank);
}

void addRow(QListWidget& list, const std::string& identifier) {
    auto* row = new QListWidgetItem(
        iconFor(identifier), QString::fromStdString(toolbar::paletteLabel(identifier)), &list);
    row->setData(Qt::UserRole, QString::fromStdString(identifier));
}

// Wide enough for the longest name.
QListWidget* itemList(const char* objectName, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(objectName);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setIconSize({kIconSize, kIconSize});
    int widest = 0;
    for (const std::string& identifier : toolbar::allowedItemIdentifiers()) {
        QString name = QString::fromStdString(toolbar::paletteLabel(identifier));
        widest = std::max(widest, list->fontMetrics().horizontalAdvance(name));
    }
    list->setMinimumWidth(widest + kIconSize + 40);
    return list;
}

} // namespace

CustomizeToolbarDialog::CustomizeToolbarDialog(const std::vector<std::string>& itemIdentifiers,
                                               QWidget* parent)
    : QDialog(parent), original_(toolbar::sanitizedItemIdentifiers(itemIdentifiers)),
      items_(original_) {
    setWindowTitle(tr("Customize Toolbar"));
    available_ = itemList("availableItems", this);
    toolbar_ = itemList("toolbarItems", this);
    add_ = button(tr("Add"), "addButton", &CustomizeToolbarDialog::addItem);
    remove_ = button(tr("Remove"), "removeButton", &CustomizeToolbarDialog::removeItem);
    moveUp_ = button(tr("Move Up"), "moveUpButton", &CustomizeToolbarDialog::moveItemUp);
    moveDown_ = button(tr("Move Down"), "moveDownButton", &CustomizeToolbarDialog::moveItemDown);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("buttonBox");
    buttons->addButton(
        button(tr("Use Default Set"), "defaultSetButton", &CustomizeToolbarDialog::useDefaultSet),
        QDialogButtonBox::ResetRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("Available items"), this), 0, 0);
    layout->addWidget(new QLabel(tr("Toolbar items"), this), 0, 2);
    layout->addWidget(available_, 1, 0, 4, 1);
    layout->addWidget(add_, 1, 1);
    layout->addWidget(remove_, 2, 1);
    layout->addWidget(toolbar_, 1, 2, 4, 1);
    layout->addWidget(moveUp_, 1, 3);
    layout->addWidget(moveDown_, 2, 3);
    layout->setRowStretch(4, 1);
    layout->addWidget(buttons, 5, 0, 1, 4);

    connect(available_, &QListWidget::currentRowChanged, this,
            &CustomizeToolbarDialog::updateButtons);
    connect(toolbar_, &QListWidget::currentRowChanged, this,
            &CustomizeToolbarDialog::updateButtons);
    connect(available_, &QListWidget::itemDoubleClicked, this, &CustomizeToolbarDialog::addItem);
    connect(toolbar_, &QListWidget::itemDoubleClicked, this, &CustomizeToolbarDialog::removeItem);
    showItems(-1);
}

QPushButton* CustomizeToolbarDialog::button(const QString& text, const char* objectName,
                                            void (CustomizeToolbarDialog::*clicked)()) {
    auto* made = new QPushButton(text, this);
    made->setObjectName(objectName);
    made->setAutoDefault(false);
    connect(made, &QPushButton::clicked, this, clicked);
    return made;
}

void CustomizeToolbarDialog::reject() {
    items_ = original_;
    showItems(-1);
    QDialog::reject();
}

// An added item goes after the selected one, or last.
void CustomizeToolbarDialog::addItem() {
    QListWidgetItem* chosen = available_->currentItem();
    if (!chosen) {
        return;
    }
    int row = toolbar_->currentRow();
    int at = row < 0 ? static_cast<int>(items_.size()) : row + 1;
    items_.insert(items_.begin() + at, chosen->data(Qt::UserRole).toString().toStdString());
    showItems(at);
}

void CustomizeToolbarDialog::removeItem() {
    int row = toolbar_->currentRow();
    if (row < 0) {
        return;
    }
    items_.erase(items_.begin() + row);
    showItems(std::min(row, static_cast<int>(items_.size()) - 1));
}

void CustomizeToolbarDialog::moveItemUp() {
    moveItem(toolbar_->currentRow(), toolbar_->currentRow() - 1);
}

void CustomizeToolbarDialog::moveItemDown() {
    moveItem(toolbar_->currentRow(), toolbar_->currentRow() + 1);
}

void CustomizeToolbarDialog::moveItem(int from, int to) {
    int count = static_cast<int>(items_.size());
    if (from < 0 || to < 0 || from >= count || to >= count) {
        return;
    }
    std::swap(items_[from], items_[to]);
    showItems(to);
}

void CustomizeToolbarDialog::useDefaultSet() {
    items_ = toolbar::defaultItemIdentifiers();
    showItems(-1);
}

// Both lists follow items_; the available list keeps its place so that
// several items can be added in a row.
void CustomizeToolbarDialog::showItems(int selectedToolbarRow) {
    int availableRow = available_->currentRow();
    available_->clear();
    for (const std::string& identifier : toolbar::availableItemIdentifiers(items_)) {
        addRow(*available_, identifier);
    }
    available_->setCurrentRow(std::min(availableRow, available_->count() - 1));

    toolbar_->clear();
    for (const std::string& identifier : items_) {
        addRow(*toolbar_, identifier);
    }
    toolbar_->setCurrentRow(selectedToolbarRow);
    updateButtons();
}

void CustomizeToolbarDialog::updateButtons() {
    int row = toolbar_->currentRow();
    add_->setEnabled(available_->currentItem() != nullptr);
    remove_->setEnabled(row >= 0);
    moveUp_->setEnabled(row > 0);
    moveDown_->setEnabled(row >= 0 && row + 1 < toolbar_->count());
}

} // namespace velo
