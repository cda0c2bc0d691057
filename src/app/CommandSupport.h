#pragma once

#include "app/Arguments.h"
#include "document/VeloDocument.h"
#include "platform/UserDefaults.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace velo {

// What every command gets: its arguments, where to print, and the user's
// stored defaults.
struct CommandContext {
    std::vector<std::string> args;
    std::ostream& out;
    std::ostream& err;
    UserDefaults& defaults;
    bool errIsTerminal = false;
};

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Settings shared by the commands that build documents, read from
// --map, --alpha, --background and --threads.
struct DocumentSettings {
    VeloDocument::Adjustments maps;
    std::optional<bool> alpha;
    ColorRef background;
    int threads = 0;
};

// Parses the shared settings; an error message when one is malformed.
std::optional<std::string> readDocumentSettings(const Arguments& arguments,
                                                DocumentSettings& settings);

// Gives the document's result alpha or takes it away, if it differs.
void setResultAlpha(VeloDocument& document, bool alpha);

// Copies of adjustments, for another document.
VeloDocument::Adjustments copiesOf(const VeloDocument::Adjustments& adjustments);

// Reports progress on a terminal: a line per file, a bar for large images.
class ProgressReporter {
  public:
    ProgressReporter(std::ostream& err, bool enabled) : err_(err), enabled_(enabled) {}
    void file(std::size_t index, std::size_t count, const std::string& what);
    std::function<void(float)> bar(std::size_t pixels);
    void done();

  private:
    std::ostream& err_;
    bool enabled_;
    bool barShown_ = false;
};

} // namespace velo
