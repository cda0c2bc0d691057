// Which of the document's commands are enabled, and how some are titled.
#include "document/CommandValidation.h"

#include "document/DocumentController.h"
#include "document/FileTypes.h"
#include "document/VeloDocument.h"
#include "platform/Files.h"
#include "platform/Localization.h"

namespace velo {

namespace {

// "Undo", or "Undo Change reach": the action's name goes where the language puts it.
std::string undoTitle(const char* verb, const char* verbWithAction, const std::string& actionName) {
    return actionName.empty() ? localizedString(verb)
                              : format(localizedString(verbWithAction), actionName);
}

} // namespace

Validation VeloDocument::validateMenuItem(Command command) const {
    switch (command) {
    case Command::ToggleImageAlpha: {
        // Titled by the result even while disabled.
        bool hasAlpha = destinationBitmap_ && destinationBitmap_->hasAlpha();
        return {destinationBitmap_ != nullptr,
                localizedString(hasAlpha ? VELO_TRANSLATE_NOOP("Velo", "Remove alpha channel")
                                         : VELO_TRANSLATE_NOOP("Velo", "Add alpha channel"))};
    }
    case Command::Undo:
        return {undoManager_->canUndo(),
                undoTitle(VELO_TRANSLATE_NOOP("Velo", "Undo"),
                          //: %@ is the undo action's name, as in "Undo Change reach"
                          VELO_TRANSLATE_NOOP("Velo", "Undo %@"), undoManager_->undoActionName())};
    case Command::Redo:
        return {undoManager_->canRedo(),
                undoTitle(VELO_TRANSLATE_NOOP("Velo", "Redo"),
                          //: %@ is the redo action's name, as in "Redo Change reach"
                          VELO_TRANSLATE_NOOP("Velo", "Redo %@"), undoManager_->redoActionName())};
    case Command::ToggleSourceOrDestinationImage:
        return {sourceBitmap_ != nullptr,
                localizedString(shownImage_ == ShownImage::Adjusted
                                    ? VELO_TRANSLATE_NOOP("Velo", "Show Original")
                                    : VELO_TRANSLATE_NOOP("Velo", "Show Adjusted"))};
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
