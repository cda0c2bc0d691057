#pragma once

#include <QStyledItemDelegate>

#include <functional>

namespace velo {

// The reach cell: its value as text, empty when unlimited; editing opens a
// slider from 0.01 to 1.00 whose last position, past 1.00, is unlimited. The
// slider commits as it moves; pressing and releasing it are told, so that
// the view can show the row's share while it is dragged.
class ReachDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    ReachDelegate(std::function<void(int row)> dragStarted, std::function<void()> dragEnded,
                  QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

    // Slider positions: hundredths of the reach, and the one for unlimited.
    static int positionOf(const QVariant& reach);
    static QVariant reachAt(int position);

  private:
    std::function<void(int)> dragStarted_;
    std::function<void()> dragEnded_;
};

} // namespace velo
