#include "document/FileLife.h"

#include "document/FileTypes.h"
#include "document/VeloDocument.h"

#include <filesystem>
#include <utility>

namespace velo {

namespace {

using Next = FileLife::Next;

bool hasDocumentType(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    std::size_t dot = name.rfind('.');
    return dot != std::string::npos && name.substr(dot + 1) == kVeloDocumentExtension;
}

std::filesystem::path absoluteOf(const std::string& path) {
    return std::filesystem::absolute(path).lexically_normal();
}

} // namespace

FileLife::Step FileLife::closeRequested() {
    if (!document_.isDocumentEdited() || closeConfirmed_) {
        return {Next::Close};
    }
    // One question at a time: asking again while it is open would stack them.
    if (std::exchange(askingToSave_, true)) {
        return {};
    }
    return {Next::AskToSave};
}

FileLife::Step FileLife::answeredSaveChanges(SaveAnswer answer) {
    askingToSave_ = false;
    switch (answer) {
    case SaveAnswer::DontSave:
        closeConfirmed_ = true;
        return {Next::Close};
    case SaveAnswer::Save:
        closeAfterSaving_ = true;
        return save();
    case SaveAnswer::Cancel:
        break;
    }
    return {Next::CancelQuit};
}

FileLife::Step FileLife::save() {
    const std::string& path = document_.fileName();
    return hasDocumentType(path) ? saveTo(path) : Step{Next::AskForName};
}

FileLife::Step FileLife::saveTo(const std::string& path) {
    if (overChangedFile(path)) {
        savingOver_ = path;
        return {Next::AskToSaveOverChange, path};
    }
    return {Next::Write, path};
}

// Another program changed the file since it was read: replacing it needs
// the user's word.
bool FileLife::overChangedFile(const std::string& path) const {
    return !document_.fileName().empty() && absoluteOf(path) == absoluteOf(document_.fileName()) &&
           document_.fileChangedOnDisk() && fileStampOf(path).exists;
}

FileLife::Step FileLife::nameCancelled() {
    return closeNotSaved();
}

FileLife::Step FileLife::answeredSaveOverChange(bool saveAnyway) {
    std::string path = std::exchange(savingOver_, {});
    return saveAnyway ? Step{Next::Write, path} : closeNotSaved();
}

// A failed write keeps the window, and its unsaved work, open.
FileLife::Step FileLife::written(bool ok) {
    if (!ok) {
        return closeNotSaved();
    }
    return std::exchange(closeAfterSaving_, false) ? Step{Next::Close} : Step{};
}

FileLife::Step FileLife::closeNotSaved() {
    return std::exchange(closeAfterSaving_, false) ? Step{Next::CancelQuit} : Step{};
}

// A file gone leaves its content only here: the document counts as unsaved.
// A changed one is offered to revert to, once per change.
FileLife::Step FileLife::checkFileOnDisk() {
    if (!document_.fileChangedOnDisk()) {
        return {};
    }
    FileStamp now = fileStampOf(document_.fileName());
    if (std::exchange(toldFileStamp_, now) == now) {
        return {};
    }
    if (!now.exists) {
        return {Next::MarkEdited};
    }
    return document_.validateUserInterfaceItem(Command::Revert) ? Step{Next::OfferRevert} : Step{};
}

// Reverting throws away the unsaved work and its undo history: ask first.
FileLife::Step FileLife::revert() const {
    return document_.validateUserInterfaceItem(Command::Revert) ? Step{Next::AskToRevert} : Step{};
}

// The file may have gone while the question was open.
FileLife::Step FileLife::revertChosen() const {
    return document_.validateUserInterfaceItem(Command::Revert) ? Step{Next::Revert} : Step{};
}

void FileLife::reverted() {
    toldFileStamp_.reset();
}

const std::string& FileLife::namingPath() const {
    return document_.fileName().empty() ? recoveredFrom_ : document_.fileName();
}

} // namespace velo
