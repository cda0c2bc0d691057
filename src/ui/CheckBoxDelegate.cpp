#include "ui/CheckBoxDelegate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace velo {
namespace {

QStyle* styleOf(const QStyleOptionViewItem& option) {
    return option.widget ? option.widget->style() : QApplication::style();
}

QStyle::State stateOf(const QVariant& checkState) {
    switch (checkState.value<Qt::CheckState>()) {
    case Qt::Checked:
        return QStyle::State_On;
    case Qt::PartiallyChecked:
        return QStyle::State_NoChange;
    case Qt::Unchecked:
        break;
    }
    return QStyle::State_Off;
}

} // namespace

QRect CheckBoxDelegate::indicatorRect(const QStyleOptionViewItem& option) {
    QStyle* style = styleOf(option);
    QSize size(style->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget),
               style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget));
    return QStyle::alignedRect(option.direction, Qt::AlignCenter, size, option.rect);
}

void CheckBoxDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    cell.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    QStyle* style = styleOf(option);
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, option.widget);

    QStyleOptionViewItem check = cell;
    check.rect = indicatorRect(option);
    check.state &=
        ~(QStyle::State_On | QStyle::State_Off | QStyle::State_NoChange | QStyle::State_HasFocus);
    check.state |= stateOf(index.data(Qt::CheckStateRole));
    if (!(index.flags() & Qt::ItemIsUserCheckable)) {
        check.state &= ~QStyle::State_Enabled;
        check.palette.setCurrentColorGroup(QPalette::Disabled);
    }
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, option.widget);
}

QSize CheckBoxDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return indicatorRect(option).size() + QSize(8, 4);
}

bool CheckBoxDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                   const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!(index.flags() & Qt::ItemIsUserCheckable)) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton ||
            !option.rect.contains(mouse->position().toPoint())) {
            return false;
        }
        break;
    }
    case QEvent::MouseButtonDblClick:
        // A double click is two clicks on the box, never an edit.
        return true;
    case QEvent::KeyPress: {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Space && key != Qt::Key_Select) {
            return false;
        }
        break;
    }
    default:
        return false;
    }
    bool checked = index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
    return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

} // namespace velo
