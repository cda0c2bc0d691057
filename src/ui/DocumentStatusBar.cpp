#include "ui/DocumentStatusBar.h"

#include "document/PointerReadout.h"
#include "ui/InfluenceCaption.h"
#include "ui/PointerReadoutText.h"

#include <QLabel>
#include <QStatusBar>
#include <QStringList>

namespace velo {

DocumentStatusBar::DocumentStatusBar(VeloDocument& document, QStatusBar& bar)
    : QObject(&bar), document_(document), pointerReadout_(new QLabel(&bar)),
      influenceCaption_(new QLabel(&bar)), matchWarning_(new QLabel(&bar)),
      zoomLabel_(new QLabel(&bar)) {
    pointerReadout_->setObjectName("pointerReadout");
    pointerReadout_->setTextFormat(Qt::RichText);
    bar.addWidget(pointerReadout_, 1);
    zoomLabel_->setObjectName("zoomLabel");
    zoomLabel_->setToolTip(tr("Zoom: 100% is one image pixel per screen pixel"));
    // Room for any zoom, so that a wider one is never cut off by the size grip
    // before the status bar lays itself out again.
    zoomLabel_->setMinimumWidth(zoomLabel_->fontMetrics().horizontalAdvance("0000%"));
    zoomLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    influenceCaption_->setObjectName("influenceCaption");
    influenceCaption_->setTextFormat(Qt::RichText);
    influenceCaption_->hide();
    bar.addPermanentWidget(influenceCaption_);
    matchWarning_->setObjectName("matchWarning");
    bar.addPermanentWidget(matchWarning_);
    bar.addPermanentWidget(zoomLabel_);
    document_.addObserver(this);
    showPointerReadout();
    showMatchWarning();
    showInfluenceCaption();
}

DocumentStatusBar::~DocumentStatusBar() {
    document_.removeObserver(this);
}

void DocumentStatusBar::documentChanged(DocumentChange changes) {
    using enum DocumentChange;
    if (hasAny(changes, Lists | Rows | Alpha)) {
        showMatchWarning();
    }
    if (hasAny(changes, Lists | Rows | Selection | ShownImage)) {
        showInfluenceCaption();
    }
    if (hasAny(changes, kSavedContent | Selection | Edited | UndoStack | ShownImage)) {
        showPointerReadout();
    }
}

void DocumentStatusBar::pointerAt(std::optional<BitmapViewClick> at) {
    pointer_ = at;
    showPointerReadout();
}

void DocumentStatusBar::showZoom(const QString& zoom) {
    zoomLabel_->setText(zoom);
}

// The pixel under the pointer; in a window without an image, how to give it one.
void DocumentStatusBar::showPointerReadout() {
    if (!document_.sourceImage()) {
        pointerReadout_->setText(tr("Drop an image here, or choose File ▸ Open…"));
        return;
    }
    std::optional<PointerReadout> readout =
        pointer_ ? pointerReadout(document_, *pointer_) : std::nullopt;
    pointerReadout_->setText(readout ? QString::fromStdString(pointerReadoutText(*readout))
                                     : QString());
}

void DocumentStatusBar::showInfluenceCaption() {
    influenceCaption_->setVisible(document_.showsInfluence());
    if (document_.showsInfluence()) {
        influenceCaption_->setText(influenceCaption(document_));
    }
}

// Rows that match on nothing the image shows, named where the user looks.
void DocumentStatusBar::showMatchWarning() {
    QStringList rows;
    for (int row = 0; row < document_.numberOfRowsInTableView(); ++row) {
        if (document_.rowMatchesNothingShown(row)) {
            rows << QString::number(row + 1);
        }
    }
    matchWarning_->setText(
        rows.isEmpty() ? QString()
                       : tr("⚠ Row %1 matches on nothing this image shows").arg(rows.join(", ")));
    matchWarning_->setVisible(!rows.isEmpty());
}

} // namespace velo
