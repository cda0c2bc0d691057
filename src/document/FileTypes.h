#pragma once

#include "imageio/Coded.h"

#include <optional>
#include <string>

namespace velo {

inline const std::string kVeloDocumentType = "Velo document";
inline const std::string kVeloDocumentExtension = "velo";
inline const std::string kTIFFPboardType = "NeXT TIFF v4.0 pasteboard type";

// The raster type a type name exports as; names compare exactly
// (case-sensitive). Nothing for the document type and unknown names.
std::optional<ImageFileType> exportTypeForName(const std::string& typeName);

// The usual file extension of a raster type.
std::string extensionOf(ImageFileType type);

} // namespace velo
