#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velo {

// Records inverse actions in groups, one group per user step. Registrations
// made while undoing form the redo step, and those made while redoing form
// the undo step again. A registration made with no group open opens one that
// stays open until endEvent() (the front end calls it after each event) or
// the next undo or redo.
class UndoManager {
  public:
    using Action = std::function<void()>;
    using Observer = std::function<void()>;

    void registerUndo(Action inverse);
    void setActionName(std::string name);

    void beginUndoGrouping();
    void endUndoGrouping();
    // Closes the group that registrations outside an explicit group opened.
    void endEvent();

    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();

    std::string undoActionName() const;
    std::string redoActionName() const;

    void removeAllActions();

    // Up by one for every step begun or redone, down by one for every step
    // undone: equal to a remembered value when the document is as it was then.
    long changeCount() const { return changeCount_; }

    void addDidUndoObserver(Observer observer) { didUndo_.push_back(std::move(observer)); }
    void addDidRedoObserver(Observer observer) { didRedo_.push_back(std::move(observer)); }
    void removeAllObservers() {
        didUndo_.clear();
        didRedo_.clear();
    }

  private:
    enum class Mode { Normal, Undoing, Redoing };
    struct Group {
        std::vector<Action> actions;
        std::string name;
    };

    void closeOpenGroup();
    // Runs the top group of from in reverse; what it registers lands on to.
    void replay(std::vector<Group>& from, std::vector<Group>& to, Mode mode);

    std::vector<Group> undoStack_;
    std::vector<Group> redoStack_;
    Group open_;
    int nesting_ = 0;
    bool implicitGroup_ = false;
    Mode mode_ = Mode::Normal;
    Group* replayTarget_ = nullptr;
    long changeCount_ = 0;
    std::vector<Observer> didUndo_;
    std::vector<Observer> didRedo_;
};

} // namespace velo
