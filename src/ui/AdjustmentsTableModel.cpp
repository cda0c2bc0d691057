#include "ui/AdjustmentsTableModel.h"

#include "document/VeloDocument.h"
#include "ui/HexColor.h"
#include "ui/QtColors.h"

#include <array>

namespace velo {
namespace {

struct ColumnInfo {
    TableColumn column;
    const char* title;
    const char* toolTip;
};

// The table's columns from left to right.
constexpr std::array kColumns{
    ColumnInfo{TableColumn::Active, QT_TR_NOOP("On"), QT_TR_NOOP("Adjustment on or off")},
    ColumnInfo{TableColumn::Source, QT_TR_NOOP("Source"),
               QT_TR_NOOP("Colors like this one are adjusted")},
    ColumnInfo{TableColumn::Target, QT_TR_NOOP("Target"),
               QT_TR_NOOP("They move toward this color")},
    ColumnInfo{TableColumn::ColorSpace, QT_TR_NOOP("Model"),
               QT_TR_NOOP("Match and move in RGB or HSB")},
    ColumnInfo{TableColumn::Hue, QT_TR_NOOP("H"), QT_TR_NOOP("Hue counts when matching (HSB)")},
    ColumnInfo{TableColumn::Saturation, QT_TR_NOOP("S"),
               QT_TR_NOOP("Saturation counts when matching (HSB)")},
    ColumnInfo{TableColumn::Brightness, QT_TR_NOOP("B"),
               QT_TR_NOOP("Brightness counts when matching (HSB)")},
    ColumnInfo{TableColumn::Alpha, QT_TR_NOOP("A"), QT_TR_NOOP("Alpha counts when matching (HSB)")},
};

bool isCheckBoxColumn(TableColumn column) {
    return column == TableColumn::Active || column == TableColumn::Hue ||
           column == TableColumn::Saturation || column == TableColumn::Brightness ||
           column == TableColumn::Alpha;
}

bool isColorColumn(TableColumn column) {
    return column == TableColumn::Source || column == TableColumn::Target;
}

} // namespace

AdjustmentsTableModel::AdjustmentsTableModel(VeloDocument& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document), rows_(document.numberOfRowsInTableView()) {}

TableColumn AdjustmentsTableModel::tableColumn(int column) {
    if (column < 0 || column >= static_cast<int>(kColumns.size())) {
        return TableColumn::Unknown;
    }
    return kColumns[column].column;
}

int AdjustmentsTableModel::columnOf(TableColumn column) {
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        if (kColumns[i].column == column) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int AdjustmentsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int AdjustmentsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kColumns.size());
}

bool AdjustmentsTableModel::isRowInDocument(const QModelIndex& index) const {
    return index.isValid() && index.row() < document_.numberOfRowsInTableView();
}

QVariant AdjustmentsTableModel::checkState(const TableValue& value) const {
    if (const bool* on = std::get_if<bool>(&value)) {
        return *on ? Qt::Checked : Qt::Unchecked;
    }
    return Qt::PartiallyChecked;
}

QVariant AdjustmentsTableModel::data(const QModelIndex& index, int role) const {
    if (!isRowInDocument(index)) {
        return {};
    }
    TableColumn column = tableColumn(index.column());
    if (document_.rowMatchesNothingShown(index.row())) {
        if (role == Qt::ToolTipRole) {
            return tr("Matches on alpha alone, which this opaque image does not show: every "
                      "pixel takes its target. Switch on H, S or B.");
        }
        if (role == Qt::BackgroundRole) {
            return QColor(128, 128, 128, 90); // dimmed
        }
    }
    TableValue value = document_.objectValue(column, index.row());
    if (isCheckBoxColumn(column)) {
        return role == Qt::CheckStateRole ? checkState(value) : QVariant();
    }
    if (isColorColumn(column)) {
        const ColorRef* color = std::get_if<ColorRef>(&value);
        if (role == SwatchColorRole) {
            return toQColor(color ? *color : nullptr);
        }
        if (role == Qt::ToolTipRole) {
            return QString::fromStdString(hexColorText(color ? *color : nullptr));
        }
        return role == ClickedCellRole ? QVariant(document_.isClickedColorCell(column, index.row()))
                                       : QVariant();
    }
    if (column == TableColumn::ColorSpace) {
        const int* space = std::get_if<int>(&value);
        bool usesHSB = space && *space == 1;
        if (role == Qt::EditRole) {
            return usesHSB ? 1 : 0;
        }
        if (role == Qt::DisplayRole) {
            return usesHSB ? tr("hsb") : tr("rgb");
        }
    }
    return {};
}

bool AdjustmentsTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!isRowInDocument(index)) {
        return false;
    }
    TableColumn column = tableColumn(index.column());
    if (isCheckBoxColumn(column) && role == Qt::CheckStateRole) {
        document_.setObjectValue(value.toInt() == Qt::Checked, column, index.row());
    } else if (column == TableColumn::ColorSpace && role == Qt::EditRole) {
        document_.setObjectValue(value.toInt(), column, index.row());
    } else {
        return false;
    }
    // The document tells its observers, this model's drawer among them.
    return true;
}

Qt::ItemFlags AdjustmentsTableModel::flags(const QModelIndex& index) const {
    if (!isRowInDocument(index)) {
        return Qt::NoItemFlags;
    }
    // Every cell selects its row; the document decides what can be edited.
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    TableColumn column = tableColumn(index.column());
    if (!document_.isCellEnabled(column, index.row())) {
        return flags;
    }
    if (isCheckBoxColumn(column)) {
        flags |= Qt::ItemIsUserCheckable;
    } else if (column == TableColumn::ColorSpace) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

QVariant AdjustmentsTableModel::headerData(int section, Qt::Orientation orientation,
                                           int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(kColumns.size())) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return tr(kColumns[section].title);
    }
    if (role == Qt::ToolTipRole) {
        return tr(kColumns[section].toolTip);
    }
    return {};
}

void AdjustmentsTableModel::reload() {
    int rows = document_.numberOfRowsInTableView();
    if (rows > rows_) {
        beginInsertRows({}, rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    } else if (rows < rows_) {
        beginRemoveRows({}, rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    }
    if (rows_ > 0) {
        emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
    }
}

} // namespace velo
