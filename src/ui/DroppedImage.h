#pragma once

#include "platform/Image.h"

#include <QMimeData>
#include <QString>
#include <memory>

namespace velo {

// Whether dragged data may be an image: image data, or local files.
bool mayHoldImage(const QMimeData& data);

struct DroppedImage {
    std::shared_ptr<const Image> image;
    QString error; // why there is none
};
// The image in dropped data: image data as it is, or the first local file,
// decoded like any opened image.
DroppedImage imageFromMimeData(const QMimeData& data);

} // namespace velo
