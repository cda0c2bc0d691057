#include "imageio/LibraryVersions.h"

#include "imageio/JpegErrors.h"

#include <exiv2/version.hpp>
#include <gif_lib.h>
#include <libdeflate.h>
#include <libimagequant.h>
#include <spng.h>
#include <tiffio.h>
#include <zlib.h>

#include <regex>

namespace velo {

namespace {

#define VELO_STRINGIFY(x) #x
#define VELO_VERSION_OF(x) VELO_STRINGIFY(x)

// libtiff's version text ("LIBTIFF, Version 4.5.0\n...") down to the number.
std::string tiffVersion() {
    std::string text = TIFFGetVersion();
    std::smatch number;
    return std::regex_search(text, number, std::regex(R"(\d+(\.\d+)+)")) ? number.str() : text;
}

std::string dotted(int major, int minor, int patch) {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
}

} // namespace

std::vector<std::pair<std::string, std::string>> imageLibraryVersions() {
    int quant = liq_version(); // e.g. 21700 for 2.17.0
    return {
        {"libjpeg-turbo", VELO_VERSION_OF(LIBJPEG_TURBO_VERSION)},
        {"libspng", spng_version_string()},
        {"libdeflate", LIBDEFLATE_VERSION_STRING},
        {"zlib", zlibVersion()},
        {"libtiff", tiffVersion()},
        {"giflib", dotted(GIFLIB_MAJOR, GIFLIB_MINOR, GIFLIB_RELEASE)},
        {"libimagequant", dotted(quant / 10000, quant / 100 % 100, quant % 100)},
        {"Exiv2", Exiv2::versionString()},
    };
}

} // namespace velo
