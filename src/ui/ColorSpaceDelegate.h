#pragma once

#include <QStyledItemDelegate>

namespace velo {

// The colour-model cell: drawn as a pop-up button showing "rgb", "hsb" or
// "oklab"; editing opens a combo box with the three, indices 0 to 2, that
// commits as soon as one is chosen.
class ColorSpaceDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

  private:
    void commitAndCloseEditor();
};

} // namespace velo
