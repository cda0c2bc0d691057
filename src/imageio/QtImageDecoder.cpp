#include "imageio/QtImageDecoder.h"

#include "imageio/DecodedBitmaps.h"
#include "imageio/ImageMemoryLimit.h"
#include "imageio/MeshedTiff.h"
#include "imageio/PixelDensity.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace velo {

namespace {

constexpr int kMaxFrames = 4096;

// Qt turns grey-with-alpha PNGs into RGBA; the header says what the file holds.
bool isGreyAlphaPng(std::span<const std::uint8_t> bytes) {
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    return bytes.size() > 25 && std::memcmp(bytes.data(), signature, 8) == 0 &&
           std::memcmp(bytes.data() + 12, "IHDR", 4) == 0 && (bytes[24] == 8 || bytes[24] == 16) &&
           bytes[25] == 4;
}

int deepBitsPerSample(QImage::Format format) {
    switch (format) {
    case QImage::Format_Grayscale16:
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied:
    case QImage::Format_RGBX16FPx4:
    case QImage::Format_RGBA16FPx4:
    case QImage::Format_RGBA16FPx4_Premultiplied:
        return 16;
    case QImage::Format_RGBX32FPx4:
    case QImage::Format_RGBA32FPx4:
    case QImage::Format_RGBA32FPx4_Premultiplied:
        return 32;
    case QImage::Format_BGR30:
    case QImage::Format_A2BGR30_Premultiplied:
    case QImage::Format_RGB30:
    case QImage::Format_A2RGB30_Premultiplied:
        return 10;
    default:
        return 8;
    }
}

// Copies rows of a QImage already in the bitmap's format into it: 8-bit
// formats byte for byte, 16-bit ones (Grayscale16, RGBX64, RGBA64) as
// samples. Two samples take grey and alpha from premultiplied RGBA, three drop
// RGBX64's filler.
template <class Sample>
void copyRows(const QImage& rows, int samples, Bitmap& bitmap, int firstRow) {
    const int channels = rows.depth() / (8 * static_cast<int>(sizeof(Sample)));
    for (int y = 0; y < rows.height(); ++y) {
        const auto* from = reinterpret_cast<const Sample*>(rows.constScanLine(y));
        auto* to = reinterpret_cast<Sample*>(
            bitmap.plane(0) + static_cast<std::size_t>(firstRow + y) * bitmap.bytesPerRow());
        if (channels == samples) {
            std::memcpy(to, from,
                        static_cast<std::size_t>(rows.width()) * samples * sizeof(Sample));
            continue;
        }
        for (int x = 0; x < rows.width(); ++x) {
            for (int k = 0; k < samples; ++k) {
                int channel = samples == 2 && k == 1 ? 3 : k;
                to[samples * x + k] = from[channels * x + channel];
            }
        }
    }
}

QImage::Format bitmapFormat(int samples, bool deep) {
    if (deep) {
        return samples == 1   ? QImage::Format_Grayscale16
               : samples == 3 ? QImage::Format_RGBX64
                              : QImage::Format_RGBA64_Premultiplied;
    }
    return samples == 1   ? QImage::Format_Grayscale8
           : samples == 3 ? QImage::Format_RGB888
                          : QImage::Format_RGBA8888_Premultiplied;
}

// Copies a QImage into a new Bitmap of 1 to 4 meshed samples of 8 or 16 bits,
// a band of rows at a time, so a huge image never exists three times over.
std::shared_ptr<Bitmap> bitmapFromQImage(const QImage& image, int samples, bool deep = false) {
    constexpr int kBandRows = 64;
    QImage::Format format = bitmapFormat(samples, deep);
    auto bitmap = newDecodedBitmap(image.width(), image.height(), samples, deep ? 16 : 8);
    for (int y = 0; y < image.height(); y += kBandRows) {
        int rows = std::min(kBandRows, image.height() - y);
        QImage band = image.format() == format
                          ? image.copy(0, y, image.width(), rows)
                          : image.copy(0, y, image.width(), rows).convertToFormat(format);
        if (band.isNull()) {
            throw std::bad_alloc();
        }
        if (deep) {
            copyRows<std::uint16_t>(band, samples, *bitmap, y);
        } else {
            copyRows<std::uint8_t>(band, samples, *bitmap, y);
        }
    }
    return bitmap;
}

Size pointSize(const QImage& image) {
    return pointSizeFor(image.width(), image.height(), image.dotsPerMeterX(),
                        image.dotsPerMeterY());
}

ImageRep repFromQImage(const QImage& image, bool greyAlpha) {
    // Every deeper format (10, 16 or floating-point samples) works at 16 bits.
    bool deep = deepBitsPerSample(image.format()) != 8;
    bool alpha = image.hasAlphaChannel();
    bool grey =
        image.format() == QImage::Format_Grayscale8 || image.format() == QImage::Format_Grayscale16;
    int samples = grey ? 1 : alpha ? (greyAlpha ? 2 : 4) : 3;
    auto bitmap = bitmapFromQImage(image, samples, deep);
    bitmap->setSize(pointSize(image));
    return ImageRep::fromBitmap(std::move(bitmap));
}

// Draws the image scaled into a fresh 8-bit RGB or RGBA bitmap.
Image::Renderer rendererFor(QImage image) {
    return [image](int wide, int high) -> std::shared_ptr<Bitmap> {
        QImage surface(wide, high, QImage::Format_RGBA8888_Premultiplied);
        if (surface.isNull()) {
            return nullptr;
        }
        surface.fill(Qt::transparent);
        {
            QPainter painter(&surface);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRect(0, 0, wide, high), image);
        }
        return bitmapFromQImage(surface, image.hasAlphaChannel() ? 4 : 3);
    };
}

std::string tooLargeMessage(QSize size) {
    return "image of " + std::to_string(size.width()) + "x" + std::to_string(size.height()) +
           " pixels is too large to open (limit " + std::to_string(imageMemoryLimit() >> 20) +
           " MB per image)";
}

bool fitsMemoryLimit(QSize size, QImage::Format format) {
    // An invalid size is for the decoder itself to check.
    return !size.isValid() || fitsImageMemoryLimit(size.width(), size.height(),
                                                   deepBitsPerSample(format) == 8 ? 1 : 2);
}

// Codecs keep their own position in the stream, so every further frame is
// read through a reader of its own that jumps straight to it. Codecs that
// cannot jump give their first frame only.
int frameCount(QByteArray& data) {
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return std::clamp(reader.imageCount(), 1, kMaxFrames);
}

QImage readFrame(QByteArray& data, int index) {
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    QImage frame;
    if (!reader.jumpToImage(index) || !fitsMemoryLimit(reader.size(), reader.imageFormat()) ||
        !reader.read(&frame)) {
        return {};
    }
    return frame;
}

} // namespace

DecodedImage decodeWithQtOnly(std::span<const std::uint8_t> bytes) {
    std::optional<std::vector<std::uint8_t>> meshed = meshedDeepTiff(bytes);
    if (meshed) {
        bytes = *meshed;
    }
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    QImageReader::setAllocationLimit(static_cast<int>(
        std::min<std::uint64_t>(imageMemoryLimit() >> 20, static_cast<std::uint64_t>(INT32_MAX))));
    if (!reader.canRead()) {
        return {std::nullopt, "not an image in a readable format"};
    }
    if (!fitsMemoryLimit(reader.size(), reader.imageFormat())) {
        return {std::nullopt, tooLargeMessage(reader.size())};
    }
    bool greyAlpha = isGreyAlphaPng(bytes);
    Image result;
    QColor background = reader.backgroundColor();
    if (background.isValid()) {
        result.backgroundColor = std::array<float, 4>{background.redF(), background.greenF(),
                                                      background.blueF(), background.alphaF()};
    }
    QImage first;
    if (!reader.read(&first) || first.isNull()) {
        return {std::nullopt,
                "the image data cannot be decoded: " + reader.errorString().toStdString()};
    }
    result.representations.push_back(repFromQImage(first, greyAlpha));
    int frames = frameCount(data);
    for (int i = 1; i < frames; ++i) {
        QImage frame = readFrame(data, i);
        if (frame.isNull()) {
            break;
        }
        result.representations.push_back(repFromQImage(frame, greyAlpha));
    }
    std::string damage;
    if (result.representations.size() < static_cast<std::size_t>(frames)) {
        damage = "only " + std::to_string(result.representations.size()) + " of " +
                 std::to_string(frames) + " frames could be read";
    }
    result.size = pointSize(first);
    if (!result.representations.front().bitmap) {
        result.renderer = rendererFor(first);
    }
    return {std::move(result), {}, std::move(damage)};
}

} // namespace velo
