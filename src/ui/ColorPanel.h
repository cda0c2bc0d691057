#pragma once

#include "platform/Color.h"

#include <QObject>

class QColor;
class QColorDialog;

namespace velo {

class VeloDocument;

// The application's one colour panel: a non-modal colour dialog that reports
// every move of the user's colour at once. While the user drags in it the
// panel is the active window, so it remembers which document window was the
// last active one: that document is the one its colours are for.
class ColorPanel : public QObject {
    Q_OBJECT

  public:
    static ColorPanel& shared();

    void setShowsAlpha(bool showsAlpha);
    // Shows this colour (none: keeps the current one) without reporting it
    // as the user's, and brings the panel to the front.
    void showColor(const ColorRef& color);
    void orderFront();

    void setLastActiveDocument(const VeloDocument* document);
    const VeloDocument* lastActiveDocument() const { return lastActiveDocument_; }
    void documentClosed(const VeloDocument* document);

    QColorDialog* dialog() { return dialog_; }

  signals:
    // The user's colour, in calibrated RGB.
    void colorChanged(ColorRef color);

  private:
    ColorPanel();
    void currentColorChanged(const QColor& color);

    QColorDialog* dialog_;
    const VeloDocument* lastActiveDocument_ = nullptr;
    bool showingColor_ = false;
};

} // namespace velo
