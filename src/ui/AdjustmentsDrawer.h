#pragma once

#include "document/DocumentObserver.h"
#include "platform/Color.h"

#include <QWidget>

#include <vector>

class QModelIndex;
class QPushButton;
class QTableView;

namespace velo {

class AdjustmentsTableModel;
class VeloDocument;

// The drawer's content: the adjustments table over a document, with the
// delete and "+" buttons below it. The table shows the document's rows and
// its selection, and hands the user's clicks, edits and selection to it.
class AdjustmentsDrawer : public QWidget, public DocumentObserver {
    Q_OBJECT

  public:
    explicit AdjustmentsDrawer(VeloDocument& document, QWidget* parent = nullptr);
    ~AdjustmentsDrawer() override;

    void documentChanged(DocumentChange changes) override;
    bool hasAlphaColumn() const;
    QTableView* table() const { return table_; }

  signals:
    // The alpha column came or went with the result's alpha, and the
    // drawer's least width changed by this much.
    void minimumWidthChanged(int by);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setUpTable();
    QWidget* makeButtons();
    void cellClicked(const QModelIndex& index);
    void takePanelColor(const ColorRef& color);
    void tableSelectionChanged();
    // The document's selection into the table, the current row scrolled into view.
    void showSelection();
    std::vector<int> rowsSelectedInTable() const;
    // The alpha column and the colour panel's alpha follow the result's.
    void showAlpha();
    void setAlphaColumnShown(bool shown);

    VeloDocument& document_;
    AdjustmentsTableModel* model_;
    QTableView* table_;
    QPushButton* deleteButton_ = nullptr;
    bool showingDocument_ = false; // the table changes as the document tells it to
};

} // namespace velo
