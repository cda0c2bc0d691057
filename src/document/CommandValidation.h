#pragma once

#include <optional>
#include <string>

namespace velo {

// The commands of a document window whose enabling (and, for some, title)
// the document decides. The window maps each of its actions to one.
enum class Command {
    // The document's own, by the selection, the lists and the alpha channel.
    ToggleImageAlpha,
    Clear,
    DeleteSelectedAdjustents, // spelled as the document's command
    ProtectSelectedAdjustments,
    SelectAll,
    NewAdjustment,
    Toggle,
    TakeBackgroundColorFrom,
    // What a document framework decides by its own rules.
    Save,
    SaveAs,
    Revert,
    Export,
    Print,
    Undo,
    Redo,
    ToggleSourceOrDestinationImage,
    ToggleInfluence,
    Zoom,
    Other,
};

// Whether an item is enabled and, when the command names itself by the
// state, the title it shows.
struct Validation {
    bool enabled = false;
    std::optional<std::string> title;
};

} // namespace velo
