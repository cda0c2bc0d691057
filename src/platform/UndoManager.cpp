#include "platform/UndoManager.h"

namespace velo {

void UndoManager::registerUndo(Action inverse) {
    if (replayTarget_) {
        replayTarget_->actions.push_back(std::move(inverse));
        return;
    }
    if (nesting_ == 0) {
        nesting_ = 1;
        implicitGroup_ = true;
    }
    if (open_.actions.empty()) {
        ++changeCount_; // a new step begins
    }
    open_.actions.push_back(std::move(inverse));
    redoStack_.clear();
}

void UndoManager::setActionName(std::string name) {
    (replayTarget_ ? replayTarget_ : &open_)->name = std::move(name);
}

void UndoManager::beginUndoGrouping() {
    ++nesting_;
}

void UndoManager::endUndoGrouping() {
    if (nesting_ == 0) {
        return;
    }
    if (--nesting_ == 0) {
        implicitGroup_ = false;
        closeOpenGroup();
    }
}

void UndoManager::endEvent() {
    if (implicitGroup_ && nesting_ == 1) {
        endUndoGrouping();
    }
}

void UndoManager::closeOpenGroup() {
    if (!open_.actions.empty()) {
        undoStack_.push_back(std::move(open_));
    }
    open_ = Group{};
}

bool UndoManager::canUndo() const {
    return !undoStack_.empty() || !open_.actions.empty();
}

bool UndoManager::canRedo() const {
    return !redoStack_.empty();
}

std::string UndoManager::undoActionName() const {
    if (!open_.actions.empty()) {
        return open_.name;
    }
    return undoStack_.empty() ? std::string() : undoStack_.back().name;
}

std::string UndoManager::redoActionName() const {
    return redoStack_.empty() ? std::string() : redoStack_.back().name;
}

void UndoManager::replay(std::vector<Group>& from, std::vector<Group>& to, Mode mode) {
    Group group = std::move(from.back());
    from.pop_back();
    Group inverse;
    inverse.name = group.name;
    mode_ = mode;
    replayTarget_ = &inverse;
    for (auto it = group.actions.rbegin(); it != group.actions.rend(); ++it) {
        (*it)();
    }
    replayTarget_ = nullptr;
    mode_ = Mode::Normal;
    if (!inverse.actions.empty()) {
        to.push_back(std::move(inverse));
    }
}

void UndoManager::undo() {
    // Undo ends the step in progress first, as the user sees it as done.
    nesting_ = 0;
    implicitGroup_ = false;
    closeOpenGroup();
    if (undoStack_.empty() || mode_ != Mode::Normal) {
        return;
    }
    replay(undoStack_, redoStack_, Mode::Undoing);
    --changeCount_;
    for (const Observer& observer : didUndo_) {
        observer();
    }
}

void UndoManager::redo() {
    if (redoStack_.empty() || mode_ != Mode::Normal) {
        return;
    }
    replay(redoStack_, undoStack_, Mode::Redoing);
    ++changeCount_;
    for (const Observer& observer : didRedo_) {
        observer();
    }
}

void UndoManager::removeAllActions() {
    undoStack_.clear();
    redoStack_.clear();
    open_ = Group{};
    nesting_ = 0;
    implicitGroup_ = false;
}

} // namespace velo
