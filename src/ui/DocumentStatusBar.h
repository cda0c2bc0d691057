#pragma once

#include "document/BitmapViewClick.h"
#include "document/DocumentObserver.h"
#include "document/VeloDocument.h"

#include <QObject>
#include <QString>
#include <optional>

class QLabel;
class QStatusBar;

namespace velo {

// A document window's status bar: the pixel under the pointer (or, without
// an image, how to give the window one), rows that match on nothing the
// image shows, what the influence map shows, and the zoom. It follows the
// document by itself; the window tells it only where the pointer is and
// which zoom is drawn.
class DocumentStatusBar : public QObject, public DocumentObserver {
    Q_OBJECT
  public:
    // Fills `bar`, whose labels it then keeps current; the document outlives it.
    DocumentStatusBar(VeloDocument& document, QStatusBar& bar);
    ~DocumentStatusBar() override;

    void documentChanged(DocumentChange changes) override;
    // The pointer is over the image at this point, or nowhere on it.
    void pointerAt(std::optional<BitmapViewClick> at);
    void showZoom(const QString& zoom);

  private:
    void showPointerReadout();
    void showMatchWarning();
    void showInfluenceCaption();

    VeloDocument& document_;
    QLabel* pointerReadout_;
    QLabel* influenceCaption_;
    QLabel* matchWarning_;
    QLabel* zoomLabel_;
    std::optional<BitmapViewClick> pointer_;
};

} // namespace velo
