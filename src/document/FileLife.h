#pragma once

#include "platform/Files.h"

#include <optional>
#include <string>
#include <utility>

namespace velo {

class VeloDocument;

// The life of a document's file in its window: saving, closing with unsaved
// work, reverting, and the file changed by another program. It decides; the
// window asks the questions it names, reports the answers back and carries
// out what it is told, so the decisions hold without a window.
class FileLife {
  public:
    enum class Next {
        Nothing,
        Close,               // close the window now
        AskToSave,           // "Save changes?" with Save, Don't Save and Cancel
        AskForName,          // the save dialog
        AskToSaveOverChange, // the file changed on disk: "Save Anyway" or Cancel
        Write,               // write the document to path, then report written()
        CancelQuit,          // the application stops quitting
        MarkEdited,          // the file is gone: the document is its only copy
        OfferRevert,         // the file changed on disk: offer its new content
        AskToRevert,         // "Revert?" before the unsaved work goes
        Revert,              // read the file back, then report reverted()
    };
    struct Step {
        Step(Next next = Next::Nothing, std::string path = {})
            : next(next), path(std::move(path)) {}
        Next next;
        std::string path; // for Write and AskToSaveOverChange
        bool operator==(const Step&) const = default;
    };
    enum class SaveAnswer { Save, DontSave, Cancel };

    explicit FileLife(const VeloDocument& document) : document_(document) {}

    // The window is asked to close.
    Step closeRequested();
    Step answeredSaveChanges(SaveAnswer answer);

    // The user's Save: in place when the document has a file of its own type.
    Step save();
    // A name chosen for the document, or given to it directly.
    Step saveTo(const std::string& path);
    Step nameCancelled();
    Step answeredSaveOverChange(bool saveAnyway);
    Step written(bool ok);

    // The window became active: another program may have changed the file.
    Step checkFileOnDisk();
    // The user's Revert, and the revert chosen in either question.
    Step revert() const;
    Step revertChosen() const;
    void reverted();

    // The document holds unsaved work recovered from the file at
    // originalPath ("" for an untitled document).
    void recovered(std::string originalPath) { recoveredFrom_ = std::move(originalPath); }
    // The path new names are suggested beside and after: the document's
    // file, else the one it was recovered from ("" for neither).
    const std::string& namingPath() const;

  private:
    bool overChangedFile(const std::string& path) const;
    // The close waiting for a save ends without it.
    Step closeNotSaved();

    const VeloDocument& document_;
    bool askingToSave_ = false;
    bool closeConfirmed_ = false;            // the user chose not to save
    bool closeAfterSaving_ = false;          // the user chose to save, then close
    std::string savingOver_;                 // the changed file the user is asked about
    std::optional<FileStamp> toldFileStamp_; // the change on disk last told
    std::string recoveredFrom_;
};

} // namespace velo
