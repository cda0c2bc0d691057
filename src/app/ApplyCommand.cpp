#include "app/ApplyCommand.h"

#include "app/StreamedApply.h"
#include "app/Subcommand.h"
#include "document/DocumentController.h"
#include "document/FileTypes.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <ostream>
#include <set>
#include <thread>

namespace velo {

namespace fs = std::filesystem;

const char* const kApplyUsage =
    "usage: velo apply [--doc FILE.velo] [--map MAP]... [--sample-size N] [--alpha on|off]\n"
    "                  [--background COLOR] [--format TYPE] [--depth 8|16] [--threads N]\n"
    "                  [--quiet] [--strip] [--strict] -o OUT [--files-from LIST] INPUT...\n"
    "Recolours each INPUT with the document's active adjustments followed by each MAP and\n"
    "writes OUT: a file for one input, a folder for several (or when OUT ends in /).\n"
    "Without inputs, --doc exports the document's own image.\n"
    "  LIST   a file naming one input a line, or - for the standard input\n"
    "  MAP    [MODEL[/COMPONENTS]:]SOURCE>TARGET[@REACH]: colours like SOURCE move toward\n"
    "         TARGET, each pixel by a share that grows as its colour nears SOURCE\n"
    "         MODEL  what \"like\" means: rgb (default), hsb or oklab (as the eye sees it)\n"
    "         COMPONENTS  what counts in matching: letters of h,s,b,a for hsb (hue,\n"
    "                saturation, brightness, alpha), of l,c,h,a for oklab (lightness,\n"
    "                chroma, hue, alpha); all by default\n"
    "         REACH  an OKLab distance (0.001 to 2; black to white is 1): colours further\n"
    "                from SOURCE are left exactly as they are, those within half of it\n"
    "                move fully; e.g. 'oklab:#30a050>#a03090@0.12'; or a range, an extent\n"
    "                each for lightness, chroma and hue: 'oklab:#30a050>#a03090@L0.3,C0.08,H0.12'\n"
    "  MAP    pick:X,Y[;X,Y]...>TARGET[@REACH]: the object under the points moves to TARGET,\n"
    "         keeping its shading. X is the column and Y the row from the top-left pixel;\n"
    "         on each INPUT the shades around the points (squares N pixels a side, 5 unless\n"
    "         --sample-size is 1, 3 or 11) make an oklab map's SOURCE and its range, which\n"
    "         REACH replaces when given; e.g. 'pick:410,220;480,260>#2060e0'\n"
    "  COLOR  #RRGGBB, #RRGGBBAA or r,g,b[,a]\n"
    "  TYPE   tiff, tif, jpg, JPEG, \"jpg 72 dpi\", bmp, gif or png (default: OUT's extension,\n"
    "         else png)\n"
    "  --depth    bits per sample of PNG and TIFF outputs (default: the image's own, 16 for\n"
    "             16-bit inputs); JPEG, BMP and GIF hold 8\n"
    "  --timings  prints the time each file took to decode, recolour and encode\n"
    "  --strip    writes no colour profile, EXIF, XMP or IPTC into the outputs\n"
    "  --strict   a damaged input (data that ends early or is corrupt) is an error and\n"
    "             writes nothing; without it a warning names what is missing\n";

namespace {

const Subcommand kApply{"apply",
                        kApplyUsage,
                        {"--doc", "--map", "--sample-size", "--alpha", "--background", "--format",
                         "--depth", "--threads", "--files-from", "-o"},
                        {"--quiet", "--timings", "--strip", "--strict"}};

struct Job {
    std::optional<fs::path> input; // none: the template document's own image
    fs::path output;
};

// The export type name for an output file's extension.
std::optional<std::string> typeForExtension(const fs::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (extension == ".jpeg") {
        return "jpg";
    }
    if (!extension.empty() && exportTypeForName(extension.substr(1))) {
        return extension.substr(1);
    }
    return std::nullopt;
}

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error) ||
           fs::weakly_canonical(a, error) == fs::weakly_canonical(b, error);
}

// Two files at once: one decodes while the other encodes.
constexpr std::size_t kFilesAtOnce = 2;

// The inputs named one a line in a file, or on the standard input for "-".
std::optional<std::string> readFileList(const std::string& from, std::vector<std::string>& inputs) {
    std::ifstream file;
    if (from != "-") {
        file.open(from);
        if (!file) {
            return "cannot read the list " + from;
        }
    }
    std::istream& list = from == "-" ? std::cin : file;
    for (std::string line; std::getline(list, line);) {
        if (!line.empty()) {
            inputs.push_back(line);
        }
    }
    return std::nullopt;
}

class ApplyRun {
  public:
    ApplyRun(const CommandContext& context, const Arguments& arguments)
        : context_(context), arguments_(arguments),
          progress_(context.err, context.errIsTerminal && !arguments.has("--quiet")) {}

    int run();

  private:
    int usage(const std::string& message) { return usageError(context_, kApply, message); }
    bool fail(const std::string& file, const std::string& reason) {
        std::lock_guard<std::mutex> lock(shared_);
        progress_.done();
        context_.err << "velo: " << file << ": " << reason << "\n";
        return false;
    }
    // A damaged input: a warning, or with --strict an error. Whether to go on.
    bool damaged(const std::string& file, const std::string& damage) {
        if (damage.empty()) {
            return true;
        }
        if (arguments_.has("--strict")) {
            return fail(file, damage);
        }
        std::lock_guard<std::mutex> lock(shared_);
        context_.err << "velo: " << file << ": warning: " << damage << "\n";
        return true;
    }
    std::optional<std::string> planJobs();
    bool runJobs();
    bool runJob(const Job& job, std::size_t index);
    std::optional<bool> streamJob(const Job& job, const std::string& name);
    InputAdjustments streamedAdjustments(const fs::path& input);
    VeloDocument::Adjustments activeAdjustments(const VeloDocument::Adjustments& maps);
    std::optional<bool> resultAlpha() const;
    bool prepare(VeloDocument& document, const std::string& name);
    void reportTimings(const std::string& name, double decode, double pass, double encode);

    const CommandContext& context_;
    const Arguments& arguments_;
    ProgressReporter progress_;
    DocumentSettings settings_;
    std::unique_ptr<VeloDocument> template_;
    std::string typeName_;
    int depth_ = 0; // the outputs' bits per sample; 0 for the image's own
    std::vector<Job> jobs_;
    std::mutex shared_; // the output, the progress and the template between files
};

std::optional<std::string> ApplyRun::planJobs() {
    fs::path out = arguments_.value("-o");
    std::vector<std::string> inputs = arguments_.operands;
    if (arguments_.hasValue("--files-from")) {
        if (auto error = readFileList(arguments_.value("--files-from"), inputs)) {
            return error;
        }
    }
    if (inputs.empty() && !arguments_.hasValue("--doc")) {
        return "no input";
    }
    bool toFolder = inputs.size() > 1 || fs::is_directory(out) || !out.has_filename();
    typeName_ = arguments_.value("--format");
    if (typeName_.empty()) {
        typeName_ = toFolder ? "png" : typeForExtension(out).value_or("png");
    }
    if (!exportTypeForName(typeName_)) {
        return "unknown type '" + typeName_ + "'";
    }
    if (arguments_.hasValue("--depth")) {
        std::string depth = arguments_.value("--depth");
        if (depth != "8" && depth != "16") {
            return "--depth is 8 or 16, not '" + depth + "'";
        }
        depth_ = std::stoi(depth);
    }
    if (inputs.empty()) {
        jobs_.push_back({std::nullopt, out});
        return std::nullopt;
    }
    std::set<fs::path> outputs;
    std::string extension = extensionOf(*exportTypeForName(typeName_));
    for (const std::string& input : inputs) {
        fs::path output = toFolder ? out / fs::path(input).stem().concat("." + extension) : out;
        if (!outputs.insert(output).second) {
            return "two inputs would both be written to " + output.string();
        }
        jobs_.push_back({fs::path(input), output});
    }
    if (toFolder) {
        std::error_code error;
        fs::create_directories(out, error);
        if (error) {
            return "cannot make the folder " + out.string() + ": " + error.message();
        }
    }
    return std::nullopt;
}

// Gives a document the adjustments, alpha and background of the run: false
// when a pick map cannot be made on its image.
bool ApplyRun::prepare(VeloDocument& document, const std::string& name) {
    ImageMaps maps = mapsForDocument(settings_, document);
    if (!maps.error.empty()) {
        return fail(name, maps.error);
    }
    document.replaceAdjustments(activeAdjustments(maps.adjustments), {});
    document.setKeepsMetadata(!arguments_.has("--strip"));
    document.setExportBitsPerSample(depth_);
    std::optional<bool> alpha = resultAlpha();
    if (alpha) {
        setResultAlpha(document, *alpha);
    }
    ColorRef background = settings_.background;
    if (!background && template_) {
        background = template_->backgroundColor();
    }
    if (background) {
        document.setBackgroundColor(background);
    }
    document.finishSetUp();
    return true;
}

// Copies of the document's active adjustments, then the image's maps.
VeloDocument::Adjustments ApplyRun::activeAdjustments(const VeloDocument::Adjustments& maps) {
    std::lock_guard<std::mutex> lock(shared_);
    VeloDocument::Adjustments active =
        template_ ? copiesOf(template_->activeColorAdjustments()) : VeloDocument::Adjustments{};
    active.insert(active.end(), maps.begin(), maps.end());
    return active;
}

std::optional<bool> ApplyRun::resultAlpha() const {
    if (!settings_.alpha && template_ && template_->destinationBitmap()) {
        return template_->destinationBitmap()->hasAlpha();
    }
    return settings_.alpha;
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool ApplyRun::runJob(const Job& job, std::size_t index) {
    std::string name = job.input ? job.input->string() : arguments_.value("--doc");
    Clock::time_point start = Clock::now();
    {
        std::lock_guard<std::mutex> lock(shared_);
        progress_.file(index, jobs_.size(), name + " -> " + job.output.string());
    }
    bool overwritesInput = (job.input && sameFile(*job.input, job.output)) ||
                           (template_ && sameFile(arguments_.value("--doc"), job.output));
    if (overwritesInput) {
        return fail(name, "the output would overwrite an input");
    }
    if (std::optional<bool> streamed = streamJob(job, name)) {
        return *streamed;
    }
    std::unique_ptr<VeloDocument> document;
    VeloDocument* target = template_.get();
    if (job.input) {
        document = std::make_unique<VeloDocument>(nullptr, settings_.threads);
        VeloDocument::LoadResult loaded =
            document->readFromFile(*job.input, DocumentController::typeForFile(*job.input));
        if (!loaded.ok) {
            return fail(name, loaded.error);
        }
        if (!damaged(name, document->sourceDamage())) {
            return false;
        }
        target = document.get();
    }
    if (!target->destinationBitmap()) {
        return fail(name, "there is no image to recolour");
    }
    double decode = secondsSince(start);
    start = Clock::now();
    if (!prepare(*target, name)) {
        return false;
    }
    const Bitmap& result = *target->destinationBitmap();
    // A bar for one file; files at once would draw over each other's.
    std::function<void(float)> bar;
    if (jobs_.size() == 1) {
        bar = progress_.bar(static_cast<std::size_t>(result.pixelsWide()) * result.pixelsHigh());
    }
    target->waitUntilComplete(bar);
    if (jobs_.size() == 1) {
        progress_.done();
    }
    double pass = secondsSince(start);
    start = Clock::now();
    if (auto error = target->writeToFile(job.output, typeName_)) {
        return fail(name, *error); // the error names the output
    }
    if (arguments_.has("--timings")) {
        reportTimings(name, decode, pass, secondsSince(start));
    }
    return true;
}

void ApplyRun::reportTimings(const std::string& name, double decode, double pass, double encode) {
    double total = decode + pass + encode;
    char line[160];
    std::snprintf(line, sizeof line,
                  "decode %.3f s, pass %.3f s, encode %.3f s (pass %.0f%% of %.3f s)", decode, pass,
                  encode, 100 * pass / total, total);
    std::lock_guard<std::mutex> lock(shared_);
    context_.err << "velo: " << name << ": " << line << "\n";
}

// Band by band when the input and the output allow it: nothing when they do
// not, else whether it worked.
std::optional<bool> ApplyRun::streamJob(const Job& job, const std::string& name) {
    // Bands are read at 8 bits only.
    if (!job.input || depth_ == 16) {
        return std::nullopt;
    }
    Clock::time_point start = Clock::now();
    StreamedApply streamed{*job.input,
                           job.output,
                           *exportTypeForName(typeName_),
                           [&] { return streamedAdjustments(*job.input); },
                           resultAlpha(),
                           VeloDocument::jpegCompressionFactor(nullptr),
                           !arguments_.has("--strip"),
                           arguments_.has("--strict")};
    StreamedResult result = applyStreamed(streamed);
    if (!result.streamed) {
        return std::nullopt;
    }
    if (!result.error.empty()) {
        return fail(name, result.error);
    }
    damaged(name, result.damage);
    if (arguments_.has("--timings")) {
        std::lock_guard<std::mutex> lock(shared_);
        char line[96];
        std::snprintf(line, sizeof line, "decoded, recoloured and encoded in bands in %.3f s",
                      secondsSince(start));
        context_.err << "velo: " << name << ": " << line << "\n";
    }
    return true;
}

// The adjustments for an input that streams. A pick map reads the rows
// around its points first, from a reader of its own, so that the bands
// still never hold the whole image; it fits the very pixels a document of
// the input holds.
InputAdjustments ApplyRun::streamedAdjustments(const fs::path& input) {
    std::optional<PickedRead> read;
    if (std::vector<PixelIndex> points = pickedPoints(settings_); !points.empty()) {
        read = readPickedRows(input, points, settings_.sampleSize);
        if (!read->pixels) {
            return {{}, read->error};
        }
    }
    ImageMaps maps = mapsForImage(settings_, read ? &*read->pixels : nullptr);
    if (!maps.error.empty()) {
        return {{}, maps.error};
    }
    return {*AdjustmentEngine::copies(activeAdjustments(maps.adjustments)), {}};
}

// Files overlap, each on a thread of its own, each recoloured as alone.
bool ApplyRun::runJobs() {
    std::atomic<std::size_t> next = 0;
    std::atomic<bool> allGood = true;
    auto work = [&] {
        for (std::size_t i = next++; i < jobs_.size(); i = next++) {
            if (!runJob(jobs_[i], i)) {
                allGood = false;
            }
        }
    };
    std::vector<std::thread> others(std::min(jobs_.size(), kFilesAtOnce) - 1);
    for (std::thread& other : others) {
        other = std::thread(work);
    }
    work();
    for (std::thread& other : others) {
        other.join();
    }
    return allGood;
}

int ApplyRun::run() {
    if (auto error = readDocumentSettings(arguments_, settings_)) {
        return usage(*error);
    }
    if (!arguments_.hasValue("-o")) {
        return usage("-o OUT is missing");
    }
    if (arguments_.operands.empty() && !arguments_.hasValue("--doc") &&
        !arguments_.hasValue("--files-from")) {
        return usage("no input");
    }
    if (auto error = planJobs()) {
        return usage(*error);
    }
    if (arguments_.hasValue("--doc")) {
        fs::path path = arguments_.value("--doc");
        template_ = std::make_unique<VeloDocument>(nullptr, settings_.threads);
        VeloDocument::LoadResult loaded = template_->readFromFile(path, kVeloDocumentType);
        if (!loaded.ok) {
            fail(path.string(), loaded.error);
            return kExitFailure;
        }
    }
    return runJobs() ? kExitSuccess : kExitFailure;
}

} // namespace

int runApplyCommand(const CommandContext& context) {
    return runCommand(context, kApply, [&](const Arguments& arguments) {
        return ApplyRun(context, arguments).run();
    });
}

} // namespace velo
