// Rules of the window on a desktop: menu mnemonics, the export type of a
// typed name, the background colour a dialog pick gives, and where the
// handbook is found.
#include "support/TemporaryFolder.h"
#include "ui/ColorWell.h"
#include "ui/ExportTypes.h"
#include "ui/Handbook.h"
#include "ui/Mnemonics.h"

#include <gtest/gtest.h>

#include <fstream>

namespace velo {
namespace {

TEST(Mnemonics, TheMarkedKeyIsFoundAndSharedOnesAreNamed) {
    EXPECT_EQ(mnemonicOf("Save &As…"), QChar('a'));
    EXPECT_EQ(mnemonicOf("Fish && &Chips"), QChar('c'));
    EXPECT_EQ(mnemonicOf("Fish && Chips"), std::nullopt);
    EXPECT_EQ(mnemonicOf("Trailing &"), std::nullopt);
    EXPECT_EQ(mnemonicOf("Add alpha channel"), std::nullopt);

    EXPECT_EQ(sharedMnemonics({"&Delete", "&Protect", "Save as &Default", "&delete again"}), "d");
    EXPECT_EQ(sharedMnemonics({"&Undo", "&Redo", "No mark", "Another"}), "");
}

const ExportType& typeNamed(const char* typeName) {
    for (const ExportType& type : exportTypes()) {
        if (QString(type.typeName) == typeName) {
            return type;
        }
    }
    throw std::logic_error("no such type");
}

TEST(ExportTarget, ATypedKnownExtensionWinsOverTheChosenFilter) {
    const ExportType& png = typeNamed("png");
    ExportTarget typed = exportTarget("/home/ann/sunset.jpg", png);
    EXPECT_EQ(typed.path, "/home/ann/sunset.jpg");
    EXPECT_STREQ(typed.type->typeName, "jpg");
    EXPECT_STREQ(exportTarget("/home/ann/sunset.TIF", png).type->typeName, "tiff");

    // No extension, or one no type knows: the filter's type and its extension.
    ExportTarget bare = exportTarget("/home/ann/sunset", png);
    EXPECT_EQ(bare.path, "/home/ann/sunset.png");
    EXPECT_STREQ(bare.type->typeName, "png");
    ExportTarget unknown = exportTarget("/home/ann/sunset.v2", typeNamed("gif"));
    EXPECT_EQ(unknown.path, "/home/ann/sunset.v2.gif");
    EXPECT_EQ(filterOf(png), "PNG image (*.png)");
}

TEST(BackgroundPick, ANewColourPickedAtAlphaZeroComesOpaque) {
    QColor clear(0, 0, 0, 0);
    EXPECT_EQ(pickedColor(clear, QColor(255, 0, 0, 0)), QColor(255, 0, 0, 255));
    // Alpha the user set is kept: lowering it, or a colour with some alpha.
    EXPECT_EQ(pickedColor(QColor(255, 0, 0), QColor(255, 0, 0, 0)), QColor(255, 0, 0, 0));
    EXPECT_EQ(pickedColor(QColor(255, 0, 0, 128), QColor(0, 0, 255, 128)), QColor(0, 0, 255, 128));
}

QString touched(const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << "<html></html>";
    return QString::fromStdString(path.string());
}

TEST(Handbook, TheInstalledPagesComeBeforeTheBuildsAndNoneIsEmpty) {
    test::TemporaryFolder folder;
    QString program = QString::fromStdString((folder / "usr/bin").string());
    std::filesystem::create_directories(folder / "usr/bin");
    std::filesystem::path built = folder / "build/docs/handbook/index.html";
    QString builtPath = QString::fromStdString(built.string());
    EXPECT_EQ(handbookPath(program, builtPath), "") << "neither is there";

    EXPECT_EQ(handbookPath(program, touched(built)), builtPath);
    // A folder by the page's name is no page.
    std::filesystem::create_directories(folder / "usr/share/doc/velo/handbook/index.html");
    EXPECT_EQ(handbookPath(program, builtPath), builtPath);
    std::filesystem::remove(folder / "usr/share/doc/velo/handbook/index.html");

    QString installed = touched(folder / "usr/share/doc/velo/handbook/index.html");
    EXPECT_EQ(handbookPath(program, builtPath), installed);
    EXPECT_EQ(handbookPath(program, ""), installed);
}

} // namespace
} // namespace velo
