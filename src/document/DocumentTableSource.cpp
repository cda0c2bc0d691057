// The document as the adjustments table's data source: what each cell
// shows, what an edit does, and which colour cell the colour panel edits.
#include "document/VeloDocument.h"

#include <algorithm>

namespace velo {
namespace {

// The mask bit a component column switches, or 0 for other columns.
int componentBit(TableColumn column) {
    switch (column) {
    case TableColumn::Hue:
        return kHueBit;
    case TableColumn::Saturation:
        return kSaturationBit;
    case TableColumn::Brightness:
        return kBrightnessBit;
    case TableColumn::Alpha:
        return kAlphaBit;
    default:
        return 0;
    }
}

VeloDocument::ColorColumn colorColumnOf(TableColumn column) {
    switch (column) {
    case TableColumn::Source:
        return VeloDocument::ColorColumn::Source;
    case TableColumn::Target:
        return VeloDocument::ColorColumn::Target;
    default:
        return VeloDocument::ColorColumn::None;
    }
}

// A check box's or pop-up's value taken as a boolean.
bool truthOf(const TableValue& value) {
    if (const bool* b = std::get_if<bool>(&value)) {
        return *b;
    }
    if (const int* i = std::get_if<int>(&value)) {
        return *i != 0;
    }
    return false;
}

// The model pop-up's index (rgb, hsb, oklab), or a check box's state for
// HSB or RGB; anything else keeps the model.
ColorModel modelOf(const TableValue& value, ColorModel current) {
    if (const int* index = std::get_if<int>(&value)) {
        return *index >= 0 && *index <= static_cast<int>(ColorModel::OKLab)
                   ? static_cast<ColorModel>(*index)
                   : current;
    }
    if (std::holds_alternative<bool>(value)) {
        return truthOf(value) ? ColorModel::HSB : ColorModel::RGB;
    }
    return current;
}

} // namespace

int VeloDocument::numberOfRowsInTableView() const {
    return static_cast<int>(colorAdjustments_.size());
}

TableValue VeloDocument::objectValue(TableColumn column, int row) const {
    if (row < 0 || row >= numberOfRowsInTableView()) {
        return std::string("Internal error");
    }
    const ColorAdjustment& adjustment = *colorAdjustments_[row];
    switch (column) {
    case TableColumn::Source:
        return adjustment.sourceColor();
    case TableColumn::Target:
        return adjustment.targetColor();
    case TableColumn::Active:
        return std::ranges::find(activeColorAdjustments_, colorAdjustments_[row]) !=
               activeColorAdjustments_.end();
    case TableColumn::ColorSpace:
        return static_cast<int>(adjustment.colorModel());
    case TableColumn::Reach:
        return adjustment.reach();
    case TableColumn::Hue:
        if (!adjustment.readsMask()) {
            return kMixedState;
        }
        [[fallthrough]];
    case TableColumn::Saturation:
    case TableColumn::Brightness:
    case TableColumn::Alpha:
        return (adjustment.componentsMask() & componentBit(column)) != 0;
    case TableColumn::Unknown:
        break;
    }
    return std::string("?");
}

void VeloDocument::setObjectValue(const TableValue& value, TableColumn column, int row) {
    ChangeBatch batch(*this);
    if (row < 0 || row >= numberOfRowsInTableView()) {
        return;
    }
    const std::shared_ptr<ColorAdjustment>& adjustment = colorAdjustments_[row];
    switch (column) {
    case TableColumn::Source:
    case TableColumn::Target:
        if (const ColorRef* color = std::get_if<ColorRef>(&value)) {
            if (column == TableColumn::Source) {
                adjustment->setSourceColor(*color);
            } else {
                adjustment->setTargetColor(*color);
            }
        }
        break;
    case TableColumn::Active: {
        auto found = std::ranges::find(activeColorAdjustments_, adjustment);
        bool active = found != activeColorAdjustments_.end();
        if (truthOf(value) == active) {
            break;
        }
        if (active) {
            activeColorAdjustments_.erase(found);
        } else {
            activeColorAdjustments_.push_back(adjustment);
        }
        // Switching is no undo step, yet the file keeps which rows are on.
        editedOutsideUndo();
        changed(DocumentChange::Lists);
        break;
    }
    case TableColumn::ColorSpace:
        adjustment->setColorModel(modelOf(value, adjustment->colorModel()));
        break;
    case TableColumn::Reach:
        if (const ReachValue* reach = std::get_if<ReachValue>(&value)) {
            adjustment->setReach(*reach);
        }
        break;
    case TableColumn::Hue:
    case TableColumn::Saturation:
    case TableColumn::Brightness:
    case TableColumn::Alpha: {
        int bit = componentBit(column);
        int mask = adjustment->componentsMask();
        adjustment->setComponentsMask(truthOf(value) ? mask | bit : mask & ~bit);
        break;
    }
    case TableColumn::Unknown:
        break;
    }
    changed(DocumentChange::Rows);
    restart();
}

// The alpha bit, like hue, saturation and brightness, counts only when
// matching in HSB or OKLab, so its check box follows the row's model too.
bool VeloDocument::isCellEnabled(TableColumn column, int row) const {
    if (row < 0 || row >= numberOfRowsInTableView()) {
        return false;
    }
    if (componentBit(column) != 0) {
        return colorAdjustments_[row]->readsMask();
    }
    return column != TableColumn::Unknown;
}

bool VeloDocument::rowMatchesNothingShown(int row) const {
    if (row < 0 || row >= numberOfRowsInTableView() || resultHasAlpha()) {
        return false;
    }
    const std::shared_ptr<ColorAdjustment>& adjustment = colorAdjustments_[row];
    bool active =
        std::ranges::find(activeColorAdjustments_, adjustment) != activeColorAdjustments_.end();
    int shown = kHueBit | kSaturationBit | kBrightnessBit;
    return active && adjustment->readsMask() && (adjustment->componentsMask() & shown) == 0;
}

bool VeloDocument::isClickedColorCell(TableColumn column, int row) const {
    return clickedColorTableColumn_ != ColorColumn::None &&
           clickedColorTableColumn_ == colorColumnOf(column) && clickedColorTableRow_ == row;
}

ColorRef VeloDocument::tableClicked(TableColumn column, int row) {
    ChangeBatch batch(*this);
    ColorColumn colorColumn = colorColumnOf(column);
    bool onSelectedSwatch = colorColumn != ColorColumn::None && row >= 0 &&
                            row < numberOfRowsInTableView() && isRowSelected(row);
    if (!onSelectedSwatch) {
        bool hadCell = clickedColorTableColumn_ != ColorColumn::None;
        clickedColorTableColumn_ = ColorColumn::None;
        clickedColorTableRow_ = 0;
        if (hadCell) {
            changed(DocumentChange::Rows); // the cell is drawn active no more
        }
        return nullptr;
    }
    const ColorAdjustment& adjustment = *colorAdjustments_[row];
    clickedColorTableRow_ = row;
    clickedColorTableColumn_ = colorColumn;
    changed(DocumentChange::Rows);
    return colorColumn == ColorColumn::Source ? adjustment.sourceColor() : adjustment.targetColor();
}

bool VeloDocument::changeColor(ColorRef color, bool concerned) {
    // A stale clicked row, past the end after deletions, takes nothing.
    if (!concerned || clickedColorTableColumn_ == ColorColumn::None || clickedColorTableRow_ < 0 ||
        clickedColorTableRow_ >= numberOfRowsInTableView()) {
        return false;
    }
    TableColumn column =
        clickedColorTableColumn_ == ColorColumn::Source ? TableColumn::Source : TableColumn::Target;
    setObjectValue(std::move(color), column, clickedColorTableRow_);
    return true;
}

} // namespace velo
