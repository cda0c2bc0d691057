#include "app/Velo.h"
#include "imageio/ImageMemoryLimit.h"
#include "platform/SettingsUserDefaults.h"
#include "ui/Translators.h"
#include "ui/VeloApplication.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QLoggingCategory>
#include <QSettings>
#include <QStandardPaths>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

void setImageMemoryLimitFromEnvironment() {
    // The most one decoded image may take; a quarter of the memory by default.
    if (const char* limit = std::getenv("VELO_MAX_IMAGE_MB")) {
        velo::setImageMemoryLimit(std::strtoull(limit, nullptr, 10) << 20);
    }
}

int runCommandLine(int argc, char** argv) {
    // Codecs load as plug-ins, which needs an application object; no display is used.
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules("qt.gui.imageio*=false");
    setImageMemoryLimitFromEnvironment();
    velo::SettingsUserDefaults defaults;
    velo::CommandContext context{
        {argv + 1, argv + argc}, std::cout, std::cerr, defaults, ::isatty(STDERR_FILENO) == 1};
    return velo::runVelo(context);
}

// One window per file, or a new untitled document: an application without
// a window would be invisible on this desktop.
int runWindows(int argc, char** argv) {
    QApplication app(argc, argv);
    // The window speaks the user's language; the command line stays English.
    velo::installTranslators(QLocale());
    QApplication::setOrganizationName("Velo");
    QApplication::setApplicationName("Velo");
    QApplication::setApplicationDisplayName("Velo");
    QGuiApplication::setDesktopFileName("org.velo.velo");
    QApplication::setWindowIcon(QIcon::fromTheme("org.velo.velo", QIcon(":/images/velo.svg")));
    QLoggingCategory::setFilterRules("qt.gui.imageio*=false");
    setImageMemoryLimitFromEnvironment();
    velo::SettingsUserDefaults defaults;
    QSettings settings;
    velo::VeloApplication velo(defaults, settings);
    velo.keepRecoveryIn(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                        "/recovery");
    int recovered = velo.offerRecovery();
    QStringList files = QApplication::arguments().mid(1);
    for (const QString& file : files) {
        velo.openFile(file);
    }
    if (files.isEmpty() && recovered == 0) {
        velo.newDocument();
    }
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (velo::isCommandLineUse(args)) {
        return runCommandLine(argc, argv);
    }
    std::optional<velo::WindowRefusal> refused = velo::refuseWindows(
        args, [](const char* name) { return std::getenv(name); },
        [](const std::string& path) { return std::filesystem::exists(path); });
    if (refused) {
        std::cerr << refused->message << "\n";
        return refused->status;
    }
    return runWindows(argc, argv);
}
