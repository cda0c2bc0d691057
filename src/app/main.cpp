#include "app/InfoCommand.h"

#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

namespace {

void printUsage(std::ostream& out) {
    out << "usage: velo COMMAND [ARGS]\n"
           "commands:\n"
           "  info IMAGE   describe an image and the working bitmap picked from it\n";
}

} // namespace

int main(int argc, char** argv) {
    // Codecs load as plug-ins, which needs an application object; no display is used.
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        printUsage(args.empty() ? std::cerr : std::cout);
        return args.empty() ? 2 : 0;
    }
    std::string command = args[0];
    args.erase(args.begin());
    if (command == "info") {
        return velo::runInfoCommand(args, std::cout, std::cerr);
    }
    std::cerr << "velo: unknown command '" << command << "'\n";
    printUsage(std::cerr);
    return 2;
}
