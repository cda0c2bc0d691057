#include "platform/UndoManager.h"

#include <gtest/gtest.h>

namespace velo {
namespace {

// A value whose setter registers its inverse, as the application's setters do.
struct Recorded {
    UndoManager& undo;
    int value = 0;

    void set(int v, const char* name = "Set") {
        int old = value;
        undo.registerUndo([this, old, name] { set(old, name); });
        undo.setActionName(name);
        value = v;
    }
};

TEST(UndoManager, OneEventIsOneStepAndUndoingRegistersTheRedo) {
    UndoManager undo;
    Recorded r{undo};
    r.set(1, "First");
    undo.endEvent();
    r.set(2, "Second");
    r.set(3, "Second");
    undo.endEvent();
    EXPECT_EQ(undo.undoActionName(), "Second");

    undo.undo();
    EXPECT_EQ(r.value, 1);
    EXPECT_TRUE(undo.canRedo());
    EXPECT_EQ(undo.redoActionName(), "Second");
    EXPECT_EQ(undo.undoActionName(), "First");

    undo.redo();
    EXPECT_EQ(r.value, 3);
    undo.undo();
    undo.undo();
    EXPECT_EQ(r.value, 0);
    EXPECT_FALSE(undo.canUndo());
    undo.redo();
    undo.redo();
    EXPECT_EQ(r.value, 3);
}

TEST(UndoManager, ExplicitGroupsNestAndANewChangeClearsRedo) {
    UndoManager undo;
    Recorded r{undo};
    undo.beginUndoGrouping();
    r.set(1);
    undo.beginUndoGrouping();
    r.set(2);
    undo.endUndoGrouping();
    undo.endUndoGrouping();
    undo.undo();
    EXPECT_EQ(r.value, 0);
    EXPECT_TRUE(undo.canRedo());
    r.set(5);
    EXPECT_FALSE(undo.canRedo());
}

TEST(UndoManager, ChangeCountAndNotificationsFollowTheSteps) {
    UndoManager undo;
    Recorded r{undo};
    int undone = 0, redone = 0;
    undo.addDidUndoObserver([&] { ++undone; });
    undo.addDidRedoObserver([&] { ++redone; });
    long clean = undo.changeCount();
    r.set(1);
    undo.endEvent();
    EXPECT_NE(undo.changeCount(), clean);
    undo.undo();
    EXPECT_EQ(undo.changeCount(), clean);
    undo.redo();
    EXPECT_EQ(undone, 1);
    EXPECT_EQ(redone, 1);

    undo.removeAllActions();
    EXPECT_FALSE(undo.canUndo());
    EXPECT_FALSE(undo.canRedo());
    undo.undo(); // nothing to undo: no notification
    EXPECT_EQ(undone, 1);
}

} // namespace
} // namespace velo
