#pragma once

#include "document/TableColumns.h"

#include <QAbstractTableModel>

namespace velo {

class VeloDocument;

// The adjustments table as Qt sees it: each cell asks the document, each edit
// goes to the document. Check boxes use Qt::CheckStateRole; a check box the
// document keeps disabled is not user-checkable.
class AdjustmentsTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Role {
        // The swatch's QColor; no colour shows as the clear colour.
        SwatchColorRole = Qt::UserRole,
        // Whether the swatch is the colour panel's cell.
        ClickedCellRole,
    };

    explicit AdjustmentsTableModel(VeloDocument& document, QObject* parent = nullptr);

    static TableColumn tableColumn(int column);
    // The model pop-up's choices, in the order of their indices.
    static QStringList modelNames();
    static int columnOf(TableColumn column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Catches up with the document: rows come and go at the end, so the
    // selection stays on the same row numbers, and every cell is redrawn.
    void reload();

  private:
    bool isRowInDocument(const QModelIndex& index) const;
    QVariant checkState(const TableValue& value) const;
    QVariant reachData(const TableValue& value, int role) const;
    // A ball as its radius, a range as "L .30 C .08 h .12".
    static QString reachText(const Reach& reach);
    // The range a three-number edit value sets; none for a number or nothing.
    static std::optional<Reach> rangeFrom(const QVariant& value);
    QString accessibleText(const QModelIndex& index) const;

    VeloDocument& document_;
    int rows_ = 0;
};

} // namespace velo
