// Which of the document's commands are enabled, and how some are titled.
#include "document/CommandValidation.h"

#include "document/DocumentController.h"
#include "document/FileTypes.h"
#include "document/VeloDocument.h"
#include "platform/Files.h"
#include "platform/Localization.h"

namespace velo {

namespace {

std::string undoTitle(const std::string& verb, const std::string& actionName) {
    return actionName.empty() ? localizedString(verb) : localizedString(verb) + " " + actionName;
}

} // namespace

Validation VeloDocument::validateMenuItem(Command command) const {
    switch (command) {
    case Command::ToggleImageAlpha: {
        // Titled by the result even while disabled.
        bool hasAlpha = destinationBitmap_ && destinationBitmap_->hasAlpha();
        return {destinationBitmap_ != nullptr,
                localizedString(hasAlpha ? "Remove alpha channel" : "Add alpha channel")};
    }
    case Command::Undo:
        return {undoManager_->canUndo(), undoTitle("Undo", undoManager_->undoActionName())};
    case Command::Redo:
        return {undoManager_->canRedo(), undoTitle("Redo", undoManager_->redoActionName())};
    case Command::ToggleSourceOrDestinationImage:
        return {sourceBitmap_ != nullptr,
                localizedString(shownImage_ == ShownImage::Adjusted ? "Show Original"
                                                                    : "Show Adjusted")};
    default:
        return {validateUserInterfaceItem(command), std::nullopt};
    }
}

bool VeloDocument::validateUserInterfaceItem(Command command) const {
    switch (command) {
    case Command::Clear:
    case Command::DeleteSelectedAdjustents:
    case Command::ProtectSelectedAdjustments:
        return !selectedRows_.empty();
    case Command::SelectAll:
        // A table that has rows can always select them.
        return !colorAdjustments_.empty();
    case Command::NewAdjustment:
    case Command::Toggle:
        return true;
    case Command::TakeBackgroundColorFrom:
        return destinationBitmap_ && destinationBitmap_->hasAlpha();
    case Command::Revert:
        // Only a document saved in its own type has a state to go back to:
        // the one it was saved in, or what another program put there since.
        return (isDocumentEdited() || fileChangedOnDisk()) && !fileName_.empty() &&
               DocumentController::typeForFile(fileName_) == kVeloDocumentType &&
               fileStampOf(fileName_).exists;
    case Command::Export:
    case Command::Print:
    case Command::Zoom:
    case Command::ToggleInfluence:
        return sourceImage_ != nullptr;
    case Command::ToggleImageAlpha:
    case Command::ToggleSourceOrDestinationImage:
    case Command::Undo:
    case Command::Redo:
        return validateMenuItem(command).enabled;
    case Command::Save:
    case Command::SaveAs:
    case Command::Other:
        return true;
    }
    return true;
}

} // namespace velo
