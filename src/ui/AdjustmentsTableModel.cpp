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
    const char* spokenName; // what a screen reader says for the column's cells
};

// The table's columns from left to right. The context is spelled out because
// lupdate cannot tell the class from outside it; tr() looks there.
constexpr std::array kColumns{
    ColumnInfo{TableColumn::Active, QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "On"),
               QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "Adjustment on or off"),
               QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "On")},
    ColumnInfo{
        TableColumn::Source, QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "Source"),
        QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "Colors like this one are adjusted"),
        QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "Source colour")},
    ColumnInfo{TableColumn::Target, QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "Target"),
               QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "They move toward this color"),
               QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "Target colour")},
    ColumnInfo{TableColumn::ColorSpace, QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "Model"),
               QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel",
                                 "Match in RGB, in HSB, or in OKLab as the eye sees colours"),
               QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "Model")},
    ColumnInfo{
        TableColumn::Hue, QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "H"),
        QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "Hue counts when matching (HSB, OKLab)"),
        QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "Hue")},
    ColumnInfo{TableColumn::Saturation, QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "S"),
               QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel",
                                 "Saturation (HSB) or chroma (OKLab) counts when matching"),
               QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "Saturation or chroma")},
    ColumnInfo{TableColumn::Brightness, QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "B"),
               QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel",
                                 "Brightness (HSB) or lightness (OKLab) counts when matching"),
               QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "Brightness or lightness")},
    ColumnInfo{
        TableColumn::Alpha, QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "A"),
        QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "Alpha counts when matching (HSB, OKLab)"),
        QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "Alpha")},
    ColumnInfo{TableColumn::Reach, QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "Reach"),
               QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel",
                                 "Colours further than this from the source (in OKLab) stay as "
                                 "they are; empty: every colour moves"),
               QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "Reach")},
};

// The model pop-up's texts, by the model's index.
constexpr std::array kModelNames{QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "rgb"),
                                 QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "hsb"),
                                 QT_TRANSLATE_NOOP("velo::AdjustmentsTableModel", "oklab")};

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

QStringList AdjustmentsTableModel::modelNames() {
    QStringList names;
    for (const char* name : kModelNames) {
        names << tr(name);
    }
    return names;
}

namespace {

// ".30": two decimals without the leading zero, as a range's extents show.
QString extentText(float extent) {
    QString text = QString::number(static_cast<double>(extent), 'f', 2);
    return text.startsWith(QLatin1String("0.")) ? text.mid(1) : text;
}

} // namespace

std::optional<Reach> AdjustmentsTableModel::rangeFrom(const QVariant& value) {
    QVariantList extents = value.toList();
    if (value.typeId() != QMetaType::QVariantList || extents.size() != 3) {
        return std::nullopt;
    }
    return Reach::range(extents[0].toFloat(), extents[1].toFloat(), extents[2].toFloat());
}

QString AdjustmentsTableModel::reachText(const Reach& reach) {
    if (!reach.isRange) {
        return QString::number(static_cast<double>(reach.radius()), 'g', 3);
    }
    return QStringLiteral("L %1 C %2 h %3")
        .arg(extentText(reach.lightness), extentText(reach.chroma), extentText(reach.hue));
}

// Unlimited shows as nothing and edits as no value; a range edits as its
// three extents.
QVariant AdjustmentsTableModel::reachData(const TableValue& value, int role) const {
    const ReachValue* reach = std::get_if<ReachValue>(&value);
    bool limited = reach && reach->has_value();
    switch (role) {
    case Qt::DisplayRole:
        return limited ? reachText(**reach) : QString();
    case Qt::EditRole:
        if (!limited) {
            return {};
        }
        if ((*reach)->isRange) {
            return QVariantList{(*reach)->lightness, (*reach)->chroma, (*reach)->hue};
        }
        return static_cast<double>((*reach)->radius());
    case Qt::ToolTipRole:
        return limited ? tr("Colours further than %1 from the source stay as they are")
                             .arg(reachText(**reach))
                       : tr("Unlimited: every colour moves");
    case Qt::TextAlignmentRole:
        return int(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

// "Source colour of row 2, #FF0000": the column, the row and what the cell
// shows; a check box's state is told apart from its name.
QString AdjustmentsTableModel::accessibleText(const QModelIndex& index) const {
    QString name =
        tr("%1 of row %2").arg(tr(kColumns[index.column()].spokenName)).arg(index.row() + 1);
    TableColumn column = tableColumn(index.column());
    QString shown = data(index, Qt::DisplayRole).toString();
    if (isColorColumn(column)) {
        TableValue value = document_.objectValue(column, index.row());
        const ColorRef* color = std::get_if<ColorRef>(&value);
        shown = QString::fromStdString(hexColorText(color ? *color : nullptr));
    }
    if (column == TableColumn::Reach && shown.isEmpty()) {
        shown = tr("unlimited");
    }
    return shown.isEmpty() ? name : name + ", " + shown;
}

QVariant AdjustmentsTableModel::data(const QModelIndex& index, int role) const {
    if (!isRowInDocument(index)) {
        return {};
    }
    if (role == Qt::AccessibleTextRole) {
        return accessibleText(index);
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
        const int* model = std::get_if<int>(&value);
        int index =
            model && *model >= 0 && *model < static_cast<int>(kModelNames.size()) ? *model : 0;
        if (role == Qt::EditRole) {
            return index;
        }
        if (role == Qt::DisplayRole) {
            return tr(kModelNames[index]);
        }
    }
    if (column == TableColumn::Reach) {
        return reachData(value, role);
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
    } else if (column == TableColumn::Reach && role == Qt::EditRole) {
        // No value, or none that is a positive number, is unlimited.
        bool isNumber = false;
        double reach = value.toDouble(&isNumber);
        document_.setObjectValue(rangeFrom(value) ? ReachValue(rangeFrom(value))
                                 : isNumber && reach > 0
                                     ? ReachValue(Reach::ball(static_cast<float>(reach)))
                                     : ReachValue(),
                                 column, index.row());
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
    } else if (column == TableColumn::ColorSpace || column == TableColumn::Reach) {
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
    if (role == Qt::AccessibleTextRole) {
        return tr(kColumns[section].spokenName);
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
