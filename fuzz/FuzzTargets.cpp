#include "fuzz/FuzzTargets.h"

#include "adjust/ColorAdjustment.h"
#include "app/ColorSpecs.h"
#include "color/WorkingBitmap.h"
#include "document/FileTypes.h"
#include "document/VeloDocument.h"
#include "imageio/ImageCodec.h"
#include "platform/Archiver.h"

#include <string>

namespace velo::fuzz {

int archiver(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> bytes(data, size);
    Unarchived value = unarchiveObjectWithData(bytes);
    if (value.value) {
        // What decodes must encode, decode and encode again to the same bytes
        // (trees themselves may hold NaN, which equals nothing).
        PropertyValue::Data encoded = archivedDataWithRootObject(*value.value);
        Unarchived again = unarchiveObjectWithData(encoded);
        if (!again.value || archivedDataWithRootObject(*again.value) != encoded) {
            __builtin_trap();
        }
    }
    unarchiveColor(bytes);
    return 0;
}

int document(const std::uint8_t* data, std::size_t size) {
    static VeloDocument* target = new VeloDocument(nullptr, 1);
    VeloDocument::LoadResult result =
        target->loadDataRepresentation({data, size}, kVeloDocumentType);
    if (result.ok) {
        target->dataRepresentationOfType(kVeloDocumentType);
    }
    // One document reads every input: its undo steps would keep each image.
    target->undoManager()->removeAllActions();
    return 0;
}

int adjustmentDictionary(const std::uint8_t* data, std::size_t size) {
    Unarchived value = unarchiveObjectWithData({data, size});
    if (!value.value) {
        return 0;
    }
    ColorAdjustment::checkDictionary(*value.value);
    ColorAdjustment adjustment(&*value.value);
    adjustment.copy();
    adjustment.distanceToRGBA({0.5f, 0.5f, 0.5f, 1});
    adjustment.adjustHSBA({0.5f, 0.5f, 0.5f, 1}, 0.5f, 15);
    adjustment.distanceToOKLab({0.5f, 0.1f, -0.1f}, 1);
    adjustment.reachTaper({0.5f, 0.1f, -0.1f});
    return 0;
}

int mapParser(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    ParsedMap map = parseMap(text);
    if ((map.adjustment || map.pick) == !map.error.empty() || (map.adjustment && map.pick) ||
        (map.pick && map.pick->points.empty())) {
        __builtin_trap(); // a map of colours, one of points with points, or an error
    }
    ParsedColor color = parseColor(text);
    if (color.color && !parseColor(describeColor(color.color)).color) {
        __builtin_trap(); // a colour must read back as it is written
    }
    return 0;
}

int image(const std::uint8_t* data, std::size_t size) {
    DecodedImage decoded = decodeImage({data, size});
    if (decoded.image) {
        bitmap(*decoded.image);
    }
    return 0;
}

} // namespace velo::fuzz
