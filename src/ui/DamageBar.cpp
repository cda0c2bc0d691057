#include "ui/DamageBar.h"

#include <QAction>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace velo {

// One line of text cut to the room it is given, asking for none, so that it
// never widens the window.
class ElidingLabel : public QLabel {
  public:
    using QLabel::QLabel;

    void setWholeText(const QString& text) {
        whole_ = text;
        elide();
    }
    QSize sizeHint() const override { return {0, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        elide();
    }

  private:
    void elide() { setText(fontMetrics().elidedText(whole_, Qt::ElideRight, width())); }

    QString whole_;
};

DamageBar::DamageBar(QWidget* parent) : QToolBar(parent), label_(new ElidingLabel(this)) {
    setObjectName("damageBar");
    setWindowTitle(tr("Damaged file"));
    setMovable(false);
    setFloatable(false);
    // Not one of the bars the user shows and hides.
    toggleViewAction()->setVisible(false);
    setAutoFillBackground(true);
    QPalette warm = palette();
    warm.setColor(QPalette::Window, QColor(255, 236, 179));
    warm.setColor(QPalette::WindowText, QColor(60, 40, 0));
    setPalette(warm);
    auto* icon = new QLabel(this);
    int side = style()->pixelMetric(QStyle::PM_SmallIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(side, side));
    addWidget(icon);
    label_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(label_);
    auto* dismiss = new QToolButton(this);
    dismiss->setObjectName("dismissDamage");
    dismiss->setText(tr("Dismiss"));
    dismiss->setAccessibleName(tr("Dismiss the damage warning"));
    connect(dismiss, &QToolButton::clicked, this, &QWidget::hide);
    addWidget(dismiss);
    hide();
}

void DamageBar::showDamage(const QString& damage) {
    text_ = tr("Damaged file: %1.").arg(damage);
    setToolTip(text_);
    label_->setWholeText(text_);
    setVisible(!damage.isEmpty());
}

} // namespace velo
