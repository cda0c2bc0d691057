#include "app/InfoCommand.h"

#include "color/WorkingBitmap.h"
#include "platform/ImageCodec.h"

#include <ostream>

namespace velo {

namespace {

std::string describeLayout(int samples, int bitsPerSample, bool hasAlpha, bool planar) {
    static const char* names[] = {"", "grey", "grey+alpha", "RGB", "RGBA"};
    std::string kind = samples >= 1 && samples <= 4 ? names[samples] : "?";
    if (samples == 4 && !hasAlpha) {
        kind = "4 samples without alpha";
    }
    return kind + ", " + std::to_string(bitsPerSample) + " bits per sample" +
           (planar ? ", planar" : "");
}

void describeRep(std::ostream& out, std::size_t index, const ImageRep& rep) {
    out << "  [" << index << "] " << rep.pixelsWide << "x" << rep.pixelsHigh << " "
        << describeLayout(rep.samplesPerPixel, rep.bitsPerSample, rep.hasAlpha,
                          rep.bitmap && rep.bitmap->isPlanar())
        << (isAcceptableBitmap(rep) ? "" : " (not usable directly)") << "\n";
}

} // namespace

int runInfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "usage: velo info IMAGE\n";
        return 2;
    }
    const std::string& path = args[0];
    DecodedImage decoded = readImageFile(path);
    if (!decoded.image) {
        err << "velo: " << path << ": " << decoded.error << "\n";
        return 1;
    }
    const Image& image = *decoded.image;
    out << path << "\n";
    out << "size in points: " << image.size.width << "x" << image.size.height << "\n";
    out << "representations: " << image.representations.size() << "\n";
    for (std::size_t i = 0; i < image.representations.size(); ++i) {
        describeRep(out, i, image.representations[i]);
    }
    auto working = bitmap(image);
    if (!working) {
        err << "velo: " << path << ": no working bitmap can be made\n";
        return 1;
    }
    bool picked = false;
    for (const ImageRep& rep : image.representations) {
        picked = picked || rep.bitmap == working;
    }
    out << "working bitmap: " << working->pixelsWide() << "x" << working->pixelsHigh() << " "
        << describeLayout(working->samplesPerPixel(), 8, working->hasAlpha(), working->isPlanar())
        << (picked ? "" : " (rendered)") << "\n";
    return 0;
}

} // namespace velo
