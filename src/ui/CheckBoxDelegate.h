#pragma once

#include <QStyledItemDelegate>

namespace velo {

// A check box centred in its cell. A click anywhere in the cell or Space
// toggles it; one that is not user-checkable is drawn disabled and keeps its
// state, partially checked for the mixed state.
class CheckBoxDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

  private:
    static QRect indicatorRect(const QStyleOptionViewItem& option);
};

} // namespace velo
