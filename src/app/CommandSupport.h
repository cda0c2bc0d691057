#pragma once

#include "app/Arguments.h"
#include "app/ColorSpecs.h"
#include "app/PickedPixels.h"
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
// --map, --sample-size, --alpha, --background and --threads.
struct DocumentSettings {
    std::vector<ParsedMap> maps; // each well formed
    int sampleSize = 5;          // pixels a side of the square a pick takes around a point
    std::optional<bool> alpha;
    ColorRef background;
    int threads = 0;
};

// Parses the shared settings; an error message when one is malformed.
std::optional<std::string> readDocumentSettings(const Arguments& arguments,
                                                DocumentSettings& settings);

// The maps as adjustments for one image, in order: a map of colours as
// written, a pick map made from the image's pixels. Null image for none (a
// lookup table): a pick map is then an error, as is a point outside it.
struct ImageMaps {
    VeloDocument::Adjustments adjustments;
    std::string error;
};
ImageMaps mapsForImage(const DocumentSettings& settings, const PickedPixels* image);
// The same for a document's own image, read whole.
ImageMaps mapsForDocument(const DocumentSettings& settings, const VeloDocument& document);

// Every point the pick maps take, for reading the pixels around them.
std::vector<PixelIndex> pickedPoints(const DocumentSettings& settings);

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
