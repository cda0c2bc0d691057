#pragma once

namespace velo {

// What changed in a document: any combination of these.
enum class DocumentChange : unsigned {
    None = 0,
    Lists = 1u << 0,      // adjustments added or removed, or switched on or off
    Rows = 1u << 1,       // the values of rows: colours, model, components, the clicked cell
    Selection = 1u << 2,  // which rows are selected
    Image = 1u << 3,      // a new source image
    ShownImage = 1u << 4, // which bitmap the view shows, or a new one in its place
    Alpha = 1u << 5,      // whether the result has alpha (told after every recompute)
    Background = 1u << 6, // the background colour
    Edited = 1u << 7,     // the edited state
    UndoStack = 1u << 8,  // a step registered, undone or redone
    ResultRestarted = 1u << 9,
    InfluenceRestarted = 1u << 10,
    Progress = 1u << 11, // the display tick: finished lines to show, and the progress
};

constexpr DocumentChange operator|(DocumentChange a, DocumentChange b) {
    return static_cast<DocumentChange>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr DocumentChange operator&(DocumentChange a, DocumentChange b) {
    return static_cast<DocumentChange>(static_cast<unsigned>(a) & static_cast<unsigned>(b));
}
// Whether any of `wanted` is among `changes`.
constexpr bool hasAny(DocumentChange changes, DocumentChange wanted) {
    return (changes & wanted) != DocumentChange::None;
}

// What the document saves: a change of any of these may make it edited.
inline constexpr DocumentChange kSavedContent = DocumentChange::Lists | DocumentChange::Rows |
                                                DocumentChange::Image | DocumentChange::Alpha |
                                                DocumentChange::Background;

// Told of every change of a document, on the main thread, after the change
// (the document's state is already the new one). An observer may call the
// document back, and may remove itself while told.
class DocumentObserver {
  public:
    virtual ~DocumentObserver() = default;
    virtual void documentChanged(DocumentChange changes) = 0;
};

} // namespace velo
