#include "platform/ImageEncoder.h"

#include "platform/GifEncoder.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <cmath>

namespace velo {

namespace {

// Sample k of pixel x in buffer row y, whatever the layout.
std::uint8_t sampleAt(const Bitmap& bitmap, int x, int y, int k) {
    std::size_t row = static_cast<std::size_t>(y) * bitmap.bytesPerRow();
    if (bitmap.isPlanar()) {
        return bitmap.plane(k)[row + x];
    }
    return bitmap.plane(0)[row + static_cast<std::size_t>(x) * (bitmap.bitsPerPixel() / 8) + k];
}

void setResolution(QImage& image, const Bitmap& bitmap) {
    if (bitmap.size().width > 0 && bitmap.size().height > 0) {
        image.setDotsPerMeterX(static_cast<int>(
            std::lround(72.0 / 0.0254 * bitmap.pixelsWide() / bitmap.size().width)));
        image.setDotsPerMeterY(static_cast<int>(
            std::lround(72.0 / 0.0254 * bitmap.pixelsHigh() / bitmap.size().height)));
    }
}

// Premultiplied RGBA (or grey) in Qt's terms, sample for sample.
QImage toQImage(const Bitmap& bitmap) {
    int samples = bitmap.samplesPerPixel();
    QImage::Format format = samples == 1   ? QImage::Format_Grayscale8
                            : samples == 3 ? QImage::Format_RGB888
                                           : QImage::Format_RGBA8888_Premultiplied;
    QImage image(bitmap.pixelsWide(), bitmap.pixelsHigh(), format);
    if (image.isNull()) {
        throw std::bad_alloc();
    }
    for (int y = 0; y < bitmap.pixelsHigh(); ++y) {
        uchar* to = image.scanLine(y);
        for (int x = 0; x < bitmap.pixelsWide(); ++x) {
            if (samples == 2) {
                std::uint8_t grey = sampleAt(bitmap, x, y, 0);
                to[4 * x] = to[4 * x + 1] = to[4 * x + 2] = grey;
                to[4 * x + 3] = sampleAt(bitmap, x, y, 1);
            } else {
                int stride = samples == 4 ? 4 : samples;
                for (int k = 0; k < samples; ++k) {
                    to[stride * x + k] = sampleAt(bitmap, x, y, k);
                }
            }
        }
    }
    setResolution(image, bitmap);
    return image;
}

// The bitmap's own pixels seen as a QImage, without a copy, where Qt has a
// format for its layout; otherwise a converted copy.
QImage imageOf(const Bitmap& bitmap) {
    bool meshed = !bitmap.isPlanar() && bitmap.bitsPerPixel() == 8 * bitmap.samplesPerPixel();
    int samples = bitmap.samplesPerPixel();
    if (!meshed || samples == 2) {
        return toQImage(bitmap);
    }
    QImage::Format format = samples == 1   ? QImage::Format_Grayscale8
                            : samples == 3 ? QImage::Format_RGB888
                                           : QImage::Format_RGBA8888_Premultiplied;
    QImage image(bitmap.plane(0), bitmap.pixelsWide(), bitmap.pixelsHigh(), bitmap.bytesPerRow(),
                 format);
    setResolution(image, bitmap);
    return image;
}

EncodedData encodeWithQt(const Bitmap& bitmap, const char* format, int quality) {
    QImage image = imageOf(bitmap);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0) {
        writer.setQuality(quality);
    }
    if (!writer.write(image)) {
        return {std::nullopt, writer.errorString().toStdString()};
    }
    return {PropertyValue::Data(bytes.begin(), bytes.end()), {}};
}

} // namespace

std::vector<std::uint8_t> straightRGBA(const Bitmap& bitmap) {
    int samples = bitmap.samplesPerPixel();
    std::vector<std::uint8_t> out(static_cast<std::size_t>(bitmap.pixelsWide()) *
                                  bitmap.pixelsHigh() * 4);
    std::size_t i = 0;
    for (int y = 0; y < bitmap.pixelsHigh(); ++y) {
        for (int x = 0; x < bitmap.pixelsWide(); ++x, i += 4) {
            std::uint8_t alpha = bitmap.hasAlpha() ? sampleAt(bitmap, x, y, samples - 1) : 255;
            for (int c = 0; c < 3; ++c) {
                int value = sampleAt(bitmap, x, y, samples <= 2 ? 0 : c);
                if (alpha != 0 && alpha != 255) {
                    value = std::min(255, (value * 255 + alpha / 2) / alpha);
                }
                out[i + c] = static_cast<std::uint8_t>(alpha == 0 ? 0 : value);
            }
            out[i + 3] = alpha;
        }
    }
    return out;
}

EncodedData encodeImage(const Bitmap& bitmap, ImageFileType type, float jpegQuality) {
    try {
        switch (type) {
        case ImageFileType::TIFF:
            return encodeTiff(bitmap);
        case ImageFileType::JPEG:
            return encodeWithQt(bitmap, "jpeg", static_cast<int>(std::lround(jpegQuality * 100)));
        case ImageFileType::BMP:
            return encodeWithQt(bitmap, "bmp", -1);
        case ImageFileType::PNG:
            return encodeWithQt(bitmap, "png", -1);
        case ImageFileType::GIF:
            return encodeGif(bitmap);
        }
    } catch (const std::bad_alloc&) {
        return {std::nullopt, "not enough memory to encode the image"};
    } catch (const std::exception& e) {
        return {std::nullopt, e.what()};
    }
    return {std::nullopt, "unknown file type"};
}

} // namespace velo
