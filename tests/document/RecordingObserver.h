#pragma once

#include "document/DocumentObserver.h"
#include "document/VeloDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace velo::test {

// Remembers every change a document told of.
class RecordingObserver : public DocumentObserver {
  public:
    void documentChanged(DocumentChange changes) override { told.push_back(changes); }
    // How many notifications told of any of these changes.
    long count(DocumentChange changes) const {
        return std::ranges::count_if(told,
                                     [changes](DocumentChange c) { return hasAny(c, changes); });
    }

    std::vector<DocumentChange> told;
};

// A document of two workers with an observer, set up as a window sets it up.
class ObservedDocumentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        document.addObserver(&observer);
        document.finishSetUp();
        observer.told.clear();
    }
    // The end of one user event.
    void event() { document.undoManager()->endEvent(); }
    UndoManager& undo() { return *document.undoManager(); }

    VeloDocument document{nullptr, 2};
    RecordingObserver observer;
};

} // namespace velo::test
