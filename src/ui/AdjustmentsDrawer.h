#pragma once

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
// delete and "+" buttons below it. The window forwards the table part of its
// document port here.
class AdjustmentsDrawer : public QWidget {
    Q_OBJECT

  public:
    explicit AdjustmentsDrawer(VeloDocument& document, QWidget* parent = nullptr);

    void reloadData();
    void selectRowAlone(int row); // and scroll it into view
    std::vector<int> selectedRows() const;
    bool isRowSelected(int row) const;
    int numberOfRows() const;
    bool hasAlphaColumn() const;
    void setAlphaColumnShown(bool shown);
    QTableView* table() const { return table_; }

  signals:
    void selectionChanged();
    // After any edit made through the drawer.
    void documentEdited();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setUpTable();
    QWidget* makeButtons();
    void cellClicked(const QModelIndex& index);
    void takePanelColor(const ColorRef& color);
    void tableSelectionChanged();

    VeloDocument& document_;
    AdjustmentsTableModel* model_;
    QTableView* table_;
    QPushButton* deleteButton_ = nullptr;
};

} // namespace velo
