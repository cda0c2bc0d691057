#include "ui/ColorSpaceDelegate.h"

#include "ui/AdjustmentsTableModel.h"

#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QTimer>

namespace velo {

void ColorSpaceDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &background, painter, widget);

    QStyleOptionComboBox combo;
    combo.rect = option.rect.adjusted(1, 1, -1, -1);
    combo.palette = option.palette;
    combo.fontMetrics = option.fontMetrics;
    combo.direction = option.direction;
    combo.state = option.state & QStyle::State_Enabled;
    combo.frame = false;
    combo.currentText = index.data(Qt::DisplayRole).toString();
    style->drawComplexControl(QStyle::CC_ComboBox, &combo, painter, widget);
    style->drawControl(QStyle::CE_ComboBoxLabel, &combo, painter, widget);
}

QWidget* ColorSpaceDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                          const QModelIndex&) const {
    auto* combo = new QComboBox(parent);
    combo->setFrame(false);
    combo->addItems(AdjustmentsTableModel::modelNames());
    connect(combo, &QComboBox::activated, this, &ColorSpaceDelegate::commitAndCloseEditor);
    // Like a pop-up button: one click shows the choices.
    QTimer::singleShot(0, combo, [combo] {
        if (combo->isVisible()) {
            combo->showPopup();
        }
    });
    return combo;
}

void ColorSpaceDelegate::commitAndCloseEditor() {
    auto* combo = qobject_cast<QComboBox*>(sender());
    emit commitData(combo);
    emit closeEditor(combo);
}

void ColorSpaceDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* combo = static_cast<QComboBox*>(editor);
    QSignalBlocker blocker(combo);
    combo->setCurrentIndex(index.data(Qt::EditRole).toInt());
}

void ColorSpaceDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
    model->setData(index, static_cast<QComboBox*>(editor)->currentIndex(), Qt::EditRole);
}

void ColorSpaceDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                              const QModelIndex&) const {
    editor->setGeometry(option.rect);
}

} // namespace velo
