#include "imageio/QtOrientation.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImageReader>

namespace velo {

namespace {

bool turns(QImageReader& reader) {
    reader.setAutoTransform(true);
    return reader.transformation() != QImageIOHandler::TransformationNone;
}

} // namespace

bool turnedWhenDecoded(std::span<const std::uint8_t> bytes) {
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return turns(reader);
}

bool turnedWhenDecoded(const std::filesystem::path& file) {
    QFile device(QFile::decodeName(file.c_str()));
    if (!device.open(QIODevice::ReadOnly)) {
        return true;
    }
    QImageReader reader(&device);
    return turns(reader);
}

} // namespace velo
