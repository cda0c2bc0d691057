#include "app/ColorSpecs.h"
#include "app/Velo.h"
#include "document/DocumentController.h"
#include "document/FileTypes.h"
#include "engine/AdjustmentPass.h"
#include "imageio/ImageCodec.h"
#include "platform/Files.h"
#include "platform/SettingsUserDefaults.h"
#include "support/Corpus.h"
#include "support/DamagedFiles.h"
#include "support/ScratchMount.h"
#include "support/TemporaryFolder.h"
#include "support/VeloCommandTest.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include <random>
#include <sstream>

namespace velo {
namespace {

namespace fs = std::filesystem;

class CommandLine : public test::VeloCommandTest {
  protected:
    fs::path make(const std::string& name, const std::string& content) {
        fs::path path = folder / name;
        PropertyValue::Data bytes(content.begin(), content.end());
        EXPECT_FALSE(writeFileAtomically(path, bytes));
        return path;
    }
    fs::path writeRandomImage(const std::string& name) {
        Bitmap bitmap(37, 23, 3, false, false, kDeviceRGBColorSpace);
        std::mt19937 random(42);
        for (std::size_t i = 0; i < bitmap.bytesPerPlane(); ++i) {
            bitmap.plane(0)[i] = static_cast<std::uint8_t>(random());
        }
        fs::path path = folder / name;
        EXPECT_FALSE(writeFileAtomically(path, *encodeImage(bitmap, ImageFileType::PNG, 1).data));
        return path;
    }
    static std::vector<fs::path> filesIn(const fs::path& where) {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(where)) {
            files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        return files;
    }
    static std::vector<std::uint8_t> pixelsOf(const Bitmap& b) {
        return {b.plane(0), b.plane(0) + b.bytesPerPlane()};
    }
};

TEST_F(CommandLine, AppliesToEverySampleInEveryType) {
    VELO_REQUIRE_CORPUS();
    std::vector<std::string> inputs;
    for (const auto& entry : fs::directory_iterator(test::corpusDir())) {
        if (entry.path().extension() != ".md") {
            inputs.push_back(entry.path().string());
        }
    }
    for (const char* type : {"png", "tiff", "jpg", "bmp", "gif"}) {
        fs::path out = folder / type;
        std::vector<std::string> args = {
            "apply", "--map", "#ff8000>#0000ff", "--map", "hsb/hs:#208020>#ffff00", "--format",
            type,    "-o",    out.string()};
        args.insert(args.end(), inputs.begin(), inputs.end());
        ASSERT_EQ(run(args), 0) << err.str();
        for (const std::string& input : inputs) {
            fs::path written =
                out / fs::path(input).stem().concat("." + extensionOf(*exportTypeForName(type)));
            DecodedImage decoded = readImageFile(written);
            EXPECT_TRUE(decoded.image) << written << ": " << decoded.error;
        }
    }
}

TEST_F(CommandLine, OneFileComesOutAsTheReferencePassMakesIt) {
    fs::path input = writeRandomImage("in.png");
    fs::path output = folder / "out.png";
    ASSERT_EQ(run({"apply", "--quiet", "--threads", "3", "--map", "#ff0000>#0000ff", "--map",
                   "hsb/sb:0.2,0.6,0.4>1,1,0", "-o", output.string(), input.string()}),
              0)
        << err.str();
    std::vector<ColorAdjustment> list{*parseMap("#ff0000>#0000ff").adjustment,
                                      *parseMap("hsb/sb:0.2,0.6,0.4>1,1,0").adjustment};
    auto source = readImageFile(input).image->representations[0].bitmap;
    Bitmap expected(source->pixelsWide(), source->pixelsHigh(), 3, false, false,
                    kDeviceRGBColorSpace);
    calcRange({0, static_cast<std::uint32_t>(source->pixelsHigh())}, source.get(), &expected, list);
    auto written = readImageFile(output).image->representations[0].bitmap;
    EXPECT_EQ(pixelsOf(*written), pixelsOf(expected));
}

TEST_F(CommandLine, ADocumentCarriesItsAdjustmentsIntoApply) {
    fs::path input = writeRandomImage("in.png");
    fs::path document = folder / "doc.velo";
    ASSERT_EQ(run({"new", document.string(), input.string(), "--map", "#102030>#ff00ff", "--map",
                   "oklab/lh:#30a050>#a03090@0.25", "--alpha", "on", "--background", "#00ff00"}),
              0)
        << err.str();
    ASSERT_EQ(run({"info", document.string()}), 0);
    EXPECT_NE(out.str().find("alpha: yes"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("version 1"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("oklab mask 5"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("reach 0.25"), std::string::npos) << out.str();
    ASSERT_EQ(run({"info", "--json", document.string()}), 0);
    EXPECT_NE(out.str().find("\"kind\": \"document\""), std::string::npos);
    EXPECT_NE(out.str().find("\"reach\": 0.25"), std::string::npos) << out.str();

    fs::path fromDocument = folder / "a.png";
    fs::path fromMap = folder / "b.png";
    ASSERT_EQ(run({"apply", "--doc", document.string(), "-o", fromDocument.string()}), 0)
        << err.str();
    ASSERT_EQ(run({"apply", "--map", "#102030>#ff00ff", "--map", "oklab/lh:#30a050>#a03090@0.25",
                   "--alpha", "on", "-o", fromMap.string(), input.string()}),
              0);
    EXPECT_EQ(pixelsOf(*readImageFile(fromDocument).image->representations[0].bitmap),
              pixelsOf(*readImageFile(fromMap).image->representations[0].bitmap));
}

// A full disk or a read-only folder: every command that writes says why,
// naming the file, keeps the old file and leaves nothing else behind.
TEST_F(CommandLine, FullDisksAndReadOnlyFoldersSayWhyAndLoseNothing) {
    fs::path input = writeRandomImage("in.png");
    fs::path document = folder / "doc.velo";
    ASSERT_EQ(run({"new", document.string(), input.string()}), 0) << err.str();
    for (bool readOnly : {false, true}) {
        fs::path where = folder / (readOnly ? "read-only" : "full");
        test::ScratchMount mount(where, 1 << 20);
        if (!mount.error().empty()) {
            GTEST_SKIP() << mount.error();
        }
        const PropertyValue::Data old = {'o', 'l', 'd'};
        for (const char* name : {"out.png", "out.gif", "new.velo", "table.cube", "Velo.conf"}) {
            ASSERT_FALSE(writeFileAtomically(where / name, old));
        }
        if (readOnly) {
            ASSERT_TRUE(mount.setReadOnly(true));
        } else {
            mount.fill();
        }
        std::vector<fs::path> before = filesIn(where);
        std::string reason = readOnly ? "Read-only file system" : "No space left on device";
        auto expectRefused = [&](int status, const char* name) {
            SCOPED_TRACE(name);
            EXPECT_EQ(status, 1);
            EXPECT_NE(err.str().find("cannot write " + (where / name).string() + ": " + reason),
                      std::string::npos)
                << err.str();
            EXPECT_EQ(*readFile(where / name).bytes, old);
            EXPECT_EQ(filesIn(where), before);
        };
        // Band by band, then whole.
        expectRefused(run({"apply", "-o", (where / "out.png").string(), input.string()}),
                      "out.png");
        expectRefused(run({"apply", "-o", (where / "out.gif").string(), input.string()}),
                      "out.gif");
        expectRefused(run({"new", (where / "new.velo").string(), input.string()}), "new.velo");
        expectRefused(run({"lut", "--format", "cube", "-o", (where / "table.cube").string()}),
                      "table.cube");
        SettingsUserDefaults stored(where);
        err.str("");
        expectRefused(runVelo({{"defaults", "save", document.string()}, out, err, stored}),
                      "Velo.conf");
        mount.setReadOnly(false);
    }
}

TEST_F(CommandLine, AFailedInputDoesNotStopTheOthersNorTouchInputs) {
    fs::path good = writeRandomImage("good.png");
    fs::path broken = make("broken.png", "not a picture");
    PropertyValue::Data before = *readFile(good).bytes;
    fs::path out = folder / "out";
    EXPECT_EQ(run({"apply", "--map", "#000000>#ffffff", "-o", out.string(), broken.string(),
                   good.string(), (folder / "missing.jpg").string()}),
              1);
    EXPECT_NE(err.str().find("broken.png"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("missing.jpg"), std::string::npos);
    EXPECT_TRUE(readImageFile(out / "good.png").image);

    EXPECT_EQ(run({"apply", "--map", "#000000>#ffffff", "-o", good.string(), good.string()}), 1);
    EXPECT_EQ(*readFile(good).bytes, before);
}

// A damaged input is a warning that names it, and with --strict an error
// that writes nothing; both ways through apply (band by band and whole)
// and through new.
TEST_F(CommandLine, DamagedInputsWarnAndStrictRefusesThem) {
    fs::path whole = writeRandomImage("whole.png");
    fs::path jpeg = folder / "whole.jpg";
    ASSERT_EQ(run({"apply", "-o", jpeg.string(), whole.string()}), 0);
    PropertyValue::Data bytes = *readFile(jpeg).bytes;
    fs::path cut = folder / "cut.jpg";
    ASSERT_FALSE(writeFileAtomically(cut, {bytes.begin(), bytes.begin() + bytes.size() / 2}));

    for (const char* type : {"out.png", "out.gif"}) { // streamed, whole-image
        fs::path out = folder / type;
        EXPECT_EQ(run({"apply", "-o", out.string(), cut.string()}), 0);
        EXPECT_NE(err.str().find("cut.jpg: warning: the JPEG data ends early"), std::string::npos)
            << err.str();
        EXPECT_TRUE(fs::exists(out));
        fs::remove(out);
        EXPECT_EQ(run({"apply", "--strict", "-o", out.string(), cut.string()}), 1);
        EXPECT_NE(err.str().find("cut.jpg: the JPEG data ends early"), std::string::npos);
        EXPECT_FALSE(fs::exists(out));
        EXPECT_EQ(run({"apply", "--strict", "-o", out.string(), jpeg.string()}), 0) << err.str();
    }
    fs::path document = folder / "cut.velo";
    EXPECT_EQ(run({"new", "--strict", document.string(), cut.string()}), 1);
    EXPECT_FALSE(fs::exists(document));
    EXPECT_EQ(run({"new", document.string(), cut.string()}), 0);
    EXPECT_NE(err.str().find("warning:"), std::string::npos);
}

TEST_F(CommandLine, EveryDamagedFormatWarnsAndStrictRefusesIt) {
    for (const char* type : {"png", "tif", "webp", "gif"}) {
        fs::path cut = folder / (std::string("cut.") + type);
        std::vector<std::uint8_t> bytes = test::firstHalf(test::wholeFile(type, 64, 96));
        ASSERT_FALSE(writeFileAtomically(cut, {bytes.begin(), bytes.end()}));
        fs::path out = folder / "out.png";
        EXPECT_EQ(run({"apply", "-o", out.string(), cut.string()}), 0) << err.str();
        EXPECT_NE(err.str().find(cut.filename().string() + ": warning: the "), std::string::npos)
            << err.str();
        EXPECT_NE(err.str().find(" data ends early: "), std::string::npos) << err.str();
        fs::remove(out);
        EXPECT_EQ(run({"apply", "--strict", "-o", out.string(), cut.string()}), 1);
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST_F(CommandLine, BadUsageExitsWithTwo) {
    fs::path input = writeRandomImage("in.png");
    const std::vector<std::vector<std::string>> misuses = {
        {},
        {"frobnicate"},
        {"apply", input.string()},
        {"apply", "--alpha", "maybe", "-o", "x.png", input.string()},
        {"apply", "--threads", "0", "-o", "x.png", input.string()},
        {"apply", "--format", "PNG", "-o", "x.png", input.string()},
        {"apply", "--bogus", "-o", "x.png", input.string()},
        {"apply", "--background", "#12", "-o", "x.png", input.string()},
        {"apply", "--sample-size", "4", "--map", "pick:1,1>#ffffff", "-o", "x.png", input.string()},
        {"lut", "--format", "cube", "--map", "pick:1,1>#ffffff", "-o", "x.cube"},
        {"new", "only.velo"},
        {"info"},
        {"defaults", "forget"},
    };
    for (const auto& args : misuses) {
        EXPECT_EQ(run(args), 2) << (args.empty() ? "" : args[0]);
        EXPECT_FALSE(err.str().empty());
    }
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(out.str().find("exit status: 0 success, 1 some input or output failed, 2 usage"),
              std::string::npos);
    EXPECT_EQ(run({"apply", "--help"}), 0);
    EXPECT_EQ(run({"--version"}), 0);
}

TEST_F(CommandLine, MalformedDocumentsGiveAClearError) {
    fs::path input = writeRandomImage("in.png");
    fs::path document = folder / "doc.velo";
    ASSERT_EQ(run({"new", document.string(), input.string()}), 0);
    PropertyValue::Data good = *readFile(document).bytes;
    for (std::size_t length : {std::size_t{0}, std::size_t{5}, good.size() / 2}) {
        fs::path cut = folder / ("cut" + std::to_string(length) + ".velo");
        ASSERT_FALSE(
            writeFileAtomically(cut, PropertyValue::Data(good.begin(), good.begin() + length)));
        EXPECT_EQ(run({"info", cut.string()}), 1);
        EXPECT_NE(err.str().find("velo: " + cut.string() + ": "), std::string::npos) << err.str();
        EXPECT_EQ(run({"apply", "--doc", cut.string(), "-o", (folder / "x.png").string()}), 1);
    }
}

TEST_F(CommandLine, DefaultsAreStoredShownAndForgotten) {
    fs::path input = writeRandomImage("in.png");
    fs::path document = folder / "doc.velo";
    ASSERT_EQ(run({"new", document.string(), input.string(), "--map", "hsb:#ff0000>#00ff00"}), 0);
    ASSERT_EQ(run({"defaults", "save", document.string()}), 0);
    ASSERT_EQ(run({"defaults", "show"}), 0);
    EXPECT_NE(out.str().find("stored defaults: 1 adjustments"), std::string::npos) << out.str();

    fs::path withDefaults = folder / "withDefaults.velo";
    ASSERT_EQ(run({"new", withDefaults.string(), input.string(), "--defaults"}), 0);
    ASSERT_EQ(run({"info", withDefaults.string()}), 0);
    EXPECT_NE(out.str().find("adjustments: 1"), std::string::npos) << out.str();

    ASSERT_EQ(run({"defaults", "reset"}), 0);
    ASSERT_EQ(run({"defaults", "show"}), 0);
    EXPECT_NE(out.str().find("built-in defaults: 5 adjustments"), std::string::npos);
}

} // namespace
} // namespace velo

namespace velo {
namespace {

TEST(DocumentControllerTest, OpensDocumentsAndImagesAsOneClass) {
    test::TemporaryFolder folder;
    SettingsUserDefaults defaults(folder.path());
    DocumentController controller(defaults, 1);
    auto untitled = DocumentController::documentClassForType("no such type")(nullptr, 1);
    EXPECT_EQ(untitled->colorAdjustments().size(), 5u);

    Bitmap bitmap(6, 4, 3, false, false, kDeviceRGBColorSpace);
    fs::path image = folder / "small.bmp";
    ASSERT_FALSE(writeFileAtomically(image, *encodeImage(bitmap, ImageFileType::BMP, 1).data));
    DocumentController::Opened opened = controller.openDocument(image);
    ASSERT_TRUE(opened.document) << opened.error;
    EXPECT_EQ(opened.document->fileName(), image.string());
    EXPECT_FALSE(opened.document->isDocumentEdited());

    fs::path saved = folder / "small.velo";
    ASSERT_FALSE(opened.document->writeToFile(saved, kVeloDocumentType));
    EXPECT_EQ(DocumentController::typeForFile(saved), kVeloDocumentType);
    EXPECT_TRUE(controller.openDocument(saved).document);
    EXPECT_FALSE(controller.openDocument(folder / "missing.velo").document);
}

} // namespace
} // namespace velo

namespace velo {
namespace {

TEST(VeloEntry, FilesOpenWindowsWhileCommandsAndOptionsRunOnTheCommandLine) {
    EXPECT_FALSE(isCommandLineUse({}));
    EXPECT_FALSE(isCommandLineUse({"photo.jpg", "other.velo"}));
    EXPECT_TRUE(isCommandLineUse({"apply", "photo.jpg"}));
    EXPECT_TRUE(isCommandLineUse({"--version"}));
    EXPECT_TRUE(isCommandLineUse({"--no-such-option"}));
    std::ostringstream out, err;
    test::TemporaryFolder folder;
    SettingsUserDefaults defaults(folder.path());
    EXPECT_EQ(runVelo({{"--help"}, out, err, defaults}), kExitSuccess);
    EXPECT_NE(out.str().find("velo [FILE...]"), std::string::npos);
}

// Before any window: a mistyped command is a usage error with or without a
// display, and without a display windows are refused with a reason.
TEST(VeloEntry, WindowsAreRefusedWithAReasonBeforeQtCouldAbort) {
    std::map<std::string, const char*> env;
    auto environment = [&env](const char* name) {
        auto it = env.find(name);
        return it == env.end() ? nullptr : it->second;
    };
    auto exists = [](const std::string& path) { return path == "photo.jpg"; };

    std::optional<WindowRefusal> typo =
        refuseWindows({"frobnicate", "in.png"}, environment, exists);
    ASSERT_TRUE(typo);
    EXPECT_EQ(typo->message, "velo: 'frobnicate' is neither a command nor a file");
    EXPECT_EQ(typo->status, kExitUsage);

    std::optional<WindowRefusal> headless = refuseWindows({"photo.jpg"}, environment, exists);
    ASSERT_TRUE(headless);
    EXPECT_EQ(headless->message,
              "velo: no display to show a window on (DISPLAY and "
              "WAYLAND_DISPLAY are unset); for the command line see velo --help");
    EXPECT_EQ(headless->status, kExitFailure);
    env["DISPLAY"] = "";
    EXPECT_TRUE(refuseWindows({}, environment, exists)) << "set but empty is no display";

    env["WAYLAND_DISPLAY"] = "wayland-0";
    EXPECT_FALSE(refuseWindows({"photo.jpg"}, environment, exists));
    EXPECT_FALSE(refuseWindows({}, environment, exists)) << "a new document";
    EXPECT_TRUE(refuseWindows({"frobnicate"}, environment, exists));
    env.erase("WAYLAND_DISPLAY");
    env["QT_QPA_PLATFORM"] = "offscreen";
    EXPECT_FALSE(refuseWindows({"photo.jpg"}, environment, exists));
}

} // namespace
} // namespace velo
