#pragma once

#include <QToolBar>

namespace velo {

class ElidingLabel;

// A bar across the top of the window telling that its image's file is
// damaged and what is missing; the image stays usable, and the bar can be
// dismissed. One line high whatever the window's width (the text elided,
// whole in the tooltip), so that the window's fit to its image holds.
class DamageBar : public QToolBar {
    Q_OBJECT

  public:
    explicit DamageBar(QWidget* parent = nullptr);

    // Shown with the damage named; hidden when there is none.
    void showDamage(const QString& damage);
    QString text() const { return text_; }

  private:
    ElidingLabel* label_;
    QString text_;
};

} // namespace velo
