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
// last active one: that document is the one its colours are for. It floats
// above that window as a tool window and says in its title what it edits.
// A gesture in it (press, drag, release; or typing into a field until it is
// committed) is one edit: windows close their undo step when it ends.
class ColorPanel : public QObject {
    Q_OBJECT

  public:
    static ColorPanel& shared();

    void setShowsAlpha(bool showsAlpha);
    // Shows this colour (none: keeps the current one) without reporting it
    // as the user's, and brings the panel to the front.
    void showColor(const ColorRef& color);
    void orderFront();

    // The document of the window last active, and that window, which the
    // panel stays above.
    void setLastActiveDocument(const VeloDocument* document, QWidget* window = nullptr);
    const VeloDocument* lastActiveDocument() const { return lastActiveDocument_; }
    // The document's window is going: the panel edits it no more, and leaves
    // the window if it was its tool window.
    void documentClosed(const VeloDocument* document, QWidget* window = nullptr);

    QColorDialog* dialog() { return dialog_; }

    // What a change would edit, as the title says it; empty: nothing.
    void setEditedCell(const QString& description);
    // Whether the user is in the middle of a gesture in the panel.
    bool isMidGesture() const { return midGesture_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  signals:
    // The user's colour, in calibrated RGB.
    void colorChanged(ColorRef color);
    // The gesture that made the last changes is over.
    void gestureEnded();

  private:
    ColorPanel();
    void currentColorChanged(const QColor& color);

    QColorDialog* dialog_;
    const VeloDocument* lastActiveDocument_ = nullptr;
    bool showingColor_ = false;
    bool midGesture_ = false;
    void endGesture();
};

} // namespace velo
