#include "ui/ReachDelegate.h"

#include <QSlider>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace velo {
namespace {

constexpr int kHundredths = 100;
constexpr int kUnlimitedPosition = kHundredths + 1;

QString reachText(const QVariant& reach) {
    return reach.isValid() ? QString::number(reach.toDouble(), 'g', 3)
                           : ReachDelegate::tr("unlimited");
}

} // namespace

ReachDelegate::ReachDelegate(std::function<void(int)> dragStarted, std::function<void()> dragEnded,
                             QObject* parent)
    : QStyledItemDelegate(parent), dragStarted_(std::move(dragStarted)),
      dragEnded_(std::move(dragEnded)) {}

int ReachDelegate::positionOf(const QVariant& reach) {
    if (!reach.isValid()) {
        return kUnlimitedPosition;
    }
    long position = std::lround(reach.toDouble() * kHundredths);
    return static_cast<int>(std::clamp<long>(position, 1, kHundredths));
}

QVariant ReachDelegate::reachAt(int position) {
    if (position >= kUnlimitedPosition) {
        return {};
    }
    return static_cast<double>(position) / kHundredths;
}

QWidget* ReachDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                     const QModelIndex& index) const {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(1, kUnlimitedPosition);
    slider->setPageStep(5);
    slider->setAccessibleName(tr("Reach of row %1").arg(index.row() + 1));
    auto* self = const_cast<ReachDelegate*>(this);
    connect(slider, &QSlider::valueChanged, self, [self, slider](int position) {
        emit self->commitData(slider);
        QToolTip::showText(slider->mapToGlobal(QPoint(0, slider->height())),
                           tr("Reach %1").arg(reachText(reachAt(position))), slider);
    });
    int row = index.row();
    connect(slider, &QSlider::sliderPressed, self, [self, row] { self->dragStarted_(row); });
    connect(slider, &QSlider::sliderReleased, self, [self] { self->dragEnded_(); });
    return slider;
}

// An editor closed while its slider is held ends the drag too.
void ReachDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    if (static_cast<QSlider*>(editor)->isSliderDown()) {
        dragEnded_();
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

void ReachDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* slider = static_cast<QSlider*>(editor);
    QSignalBlocker blocker(slider);
    slider->setValue(positionOf(index.data(Qt::EditRole)));
}

void ReachDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
    QVariant reach = reachAt(static_cast<QSlider*>(editor)->value());
    // A stored reach between hundredths stays until the slider moves.
    if (positionOf(index.data(Qt::EditRole)) != positionOf(reach)) {
        model->setData(index, reach, Qt::EditRole);
    }
}

void ReachDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                         const QModelIndex&) const {
    editor->setGeometry(option.rect);
}

} // namespace velo
