#include "app/Velo.h"
#include "platform/ImageCodec.h"
#include "platform/SettingsUserDefaults.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdlib>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    // Codecs load as plug-ins, which needs an application object; no display is used.
    QCoreApplication app(argc, argv);
    // Codec chatter (such as libpng's colour profile remarks) is not the user's concern.
    QLoggingCategory::setFilterRules("qt.gui.imageio*=false");
    // The most one decoded image may take; a quarter of the memory by default.
    if (const char* limit = std::getenv("VELO_MAX_IMAGE_MB")) {
        velo::setImageMemoryLimit(std::strtoull(limit, nullptr, 10) << 20);
    }
    velo::SettingsUserDefaults defaults;
    velo::CommandContext context{
        {argv + 1, argv + argc}, std::cout, std::cerr, defaults, ::isatty(STDERR_FILENO) == 1};
    return velo::runVelo(context);
}
