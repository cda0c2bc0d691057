#include "ui/AdjustmentsDrawer.h"

#include "document/VeloDocument.h"
#include "ui/AdjustmentsTableModel.h"
#include "ui/CheckBoxDelegate.h"
#include "ui/ColorPanel.h"
#include "ui/ColorSpaceDelegate.h"
#include "ui/ColorSwatchDelegate.h"
#include "ui/ReachDelegate.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <set>

namespace velo {
namespace {

constexpr int kRowHeight = 22;

int widthOf(TableColumn column) {
    switch (column) {
    case TableColumn::Source:
    case TableColumn::Target:
        return 50;
    case TableColumn::ColorSpace:
        return 64;
    case TableColumn::Reach:
        return 56;
    case TableColumn::Active:
        return 30;
    default:
        return 24;
    }
}

} // namespace

AdjustmentsDrawer::AdjustmentsDrawer(VeloDocument& document, QWidget* parent)
    : QWidget(parent), document_(document), model_(new AdjustmentsTableModel(document, this)),
      table_(new QTableView(this)) {
    setUpTable();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(table_);
    layout->addWidget(makeButtons());

    connect(&ColorPanel::shared(), &ColorPanel::colorChanged, this,
            &AdjustmentsDrawer::takePanelColor);
    connect(&ColorPanel::shared(), &ColorPanel::gestureEnded, this,
            [this] { document_.endSharePreview(); });
    document_.addObserver(this);
}

AdjustmentsDrawer::~AdjustmentsDrawer() {
    document_.removeObserver(this);
}

void AdjustmentsDrawer::setUpTable() {
    table_->setModel(model_);
    table_->setAccessibleName(tr("Adjustments"));
    table_->setAccessibleDescription(
        tr("Arrows move, Space switches, Enter or F2 opens the colour panel on a swatch or the "
           "choices of a model, Delete deletes"));
    table_->setItemDelegateForColumn(AdjustmentsTableModel::columnOf(TableColumn::Source),
                                     new ColorSwatchDelegate(table_));
    table_->setItemDelegateForColumn(AdjustmentsTableModel::columnOf(TableColumn::Target),
                                     new ColorSwatchDelegate(table_));
    table_->setItemDelegateForColumn(AdjustmentsTableModel::columnOf(TableColumn::ColorSpace),
                                     new ColorSpaceDelegate(table_));
    table_->setItemDelegateForColumn(
        AdjustmentsTableModel::columnOf(TableColumn::Reach),
        new ReachDelegate([&document = document_](int row) { document.beginSharePreview(row); },
                          [&document = document_] { document.endSharePreview(); }, table_));
    for (TableColumn column : {TableColumn::Active, TableColumn::Hue, TableColumn::Saturation,
                               TableColumn::Brightness, TableColumn::Alpha}) {
        table_->setItemDelegateForColumn(AdjustmentsTableModel::columnOf(column),
                                         new CheckBoxDelegate(table_));
    }
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Only the colour space is edited in place, on a click or the edit key.
    table_->setEditTriggers(QAbstractItemView::EditKeyPressed);
    table_->setDragDropMode(QAbstractItemView::NoDragDrop);
    table_->setDragEnabled(false);
    table_->setAcceptDrops(false);
    table_->setShowGrid(false);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    QHeaderView* header = table_->horizontalHeader();
    header->setMinimumSectionSize(20);
    header->setHighlightSections(false);
    for (int column = 0; column < model_->columnCount(); ++column) {
        header->resizeSection(column, widthOf(AdjustmentsTableModel::tableColumn(column)));
    }
    setAlphaColumnShown(false);
    table_->installEventFilter(this);

    connect(table_, &QTableView::clicked, this, &AdjustmentsDrawer::cellClicked);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &AdjustmentsDrawer::tableSelectionChanged);
}

QWidget* AdjustmentsDrawer::makeButtons() {
    auto* buttons = new QWidget(this);
    auto* layout = new QHBoxLayout(buttons);
    layout->setContentsMargins(0, 0, 0, 0);
    deleteButton_ = new QPushButton(tr("Delete"), buttons);
    deleteButton_->setToolTip(tr("Delete the selected adjustments"));
    deleteButton_->setEnabled(false);
    auto* newButton = new QPushButton(QStringLiteral("+"), buttons);
    newButton->setToolTip(tr("New Adjustment"));
    // The window's menu owns the keys; the buttons are for the mouse.
    deleteButton_->setFocusPolicy(Qt::NoFocus);
    newButton->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(deleteButton_);
    layout->addStretch();
    layout->addWidget(newButton);
    connect(deleteButton_, &QPushButton::clicked, this,
            [this] { document_.deleteSelectedAdjustents(); });
    connect(newButton, &QPushButton::clicked, this, [this] { document_.newColorAdjustment(); });
    return buttons;
}

void AdjustmentsDrawer::documentChanged(DocumentChange changes) {
    using enum DocumentChange;
    QScopedValueRollback showing(showingDocument_, true);
    if (hasAny(changes, Lists | Rows)) {
        model_->reload();
    }
    if (hasAny(changes, Lists | Rows | Selection)) {
        showSelection();
    }
    if (hasAny(changes, Alpha)) {
        showAlpha();
    }
}

void AdjustmentsDrawer::showAlpha() {
    bool hasAlpha = document_.resultHasAlpha();
    ColorPanel::shared().setShowsAlpha(hasAlpha);
    if (hasAlpha != hasAlphaColumn()) {
        int before = minimumWidth();
        setAlphaColumnShown(hasAlpha);
        emit minimumWidthChanged(minimumWidth() - before);
    }
}

void AdjustmentsDrawer::showSelection() {
    const std::vector<int>& rows = document_.selectedRows();
    deleteButton_->setEnabled(!rows.empty());
    if (rows == rowsSelectedInTable()) {
        return;
    }
    QItemSelectionModel* selection = table_->selectionModel();
    if (rows.empty()) {
        selection->clearSelection();
        return;
    }
    QItemSelection wanted;
    for (int row : rows) {
        wanted.select(model_->index(row, 0), model_->index(row, model_->columnCount() - 1));
    }
    QModelIndex current = model_->index(rows.back(), 0);
    selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    selection->select(wanted, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table_->scrollTo(current);
}

std::vector<int> AdjustmentsDrawer::rowsSelectedInTable() const {
    std::set<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedIndexes()) {
        rows.insert(index.row());
    }
    return {rows.begin(), rows.end()};
}

bool AdjustmentsDrawer::hasAlphaColumn() const {
    return !table_->isColumnHidden(AdjustmentsTableModel::columnOf(TableColumn::Alpha));
}

// The drawer never gets narrower than its whole table: every shown column
// and room for a vertical scroll bar.
void AdjustmentsDrawer::setAlphaColumnShown(bool shown) {
    table_->setColumnHidden(AdjustmentsTableModel::columnOf(TableColumn::Alpha), !shown);
    int rowHeader = table_->verticalHeader()->isHidden() ? 0 : table_->verticalHeader()->width();
    setMinimumWidth(table_->horizontalHeader()->length() + rowHeader + 2 * table_->frameWidth() +
                    table_->verticalScrollBar()->sizeHint().width());
}

void AdjustmentsDrawer::cellClicked(const QModelIndex& index) {
    TableColumn column = AdjustmentsTableModel::tableColumn(index.column());
    // An empty swatch too: the panel's next colour fills it.
    ColorRef color = document_.tableClicked(column, index.row());
    if (document_.isClickedColorCell(column, index.row())) {
        ColorPanel::shared().showColor(color);
    }
    bool opensEditor = column == TableColumn::ColorSpace || column == TableColumn::Reach;
    if (opensEditor && (index.flags() & Qt::ItemIsEditable)) {
        table_->edit(index);
    }
}

void AdjustmentsDrawer::takePanelColor(const ColorRef& color) {
    bool concerned = ColorPanel::shared().lastActiveDocument() == &document_;
    if (document_.changeColor(color, concerned) && ColorPanel::shared().isMidGesture()) {
        // A colour being dragged shows what its row reaches.
        document_.beginSharePreview(document_.clickedColorTableRow());
    }
}

// The user's selection; the table's own changes follow the document's.
void AdjustmentsDrawer::tableSelectionChanged() {
    if (!showingDocument_) {
        document_.setSelectedRows(rowsSelectedInTable());
    }
}

// Enter or F2 opens what a click on the current cell opens: the colour panel
// on a swatch, the choices on the model, the slider on the reach; Alt+Down
// opens them as it opens any pop-up.
bool AdjustmentsDrawer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != table_ || event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    bool opens = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                 key->key() == Qt::Key_F2 ||
                 (key->key() == Qt::Key_Down && key->modifiers() == Qt::AltModifier);
    QModelIndex current = table_->currentIndex();
    if (!opens || !current.isValid()) {
        return false;
    }
    TableColumn column = AdjustmentsTableModel::tableColumn(current.column());
    if (column != TableColumn::Source && column != TableColumn::Target &&
        column != TableColumn::ColorSpace && column != TableColumn::Reach) {
        return false;
    }
    cellClicked(current);
    return true;
}

} // namespace velo
