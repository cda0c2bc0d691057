#pragma once

#include "platform/Bitmap.h"
#include "platform/Image.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace velo::test {

inline std::vector<std::uint8_t> qtEncoded(const QImage& image, const char* format,
                                           QImageIOHandler::Transformations transform = {},
                                           int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setTransformation(transform);
    if (quality >= 0) {
        writer.setQuality(quality);
    }
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return {bytes.begin(), bytes.end()};
}

// Sample k of pixel x in row y, whatever the layout.
inline std::uint8_t sampleOf(const Bitmap& bitmap, int x, int y, int k) {
    std::size_t row = static_cast<std::size_t>(y) * bitmap.bytesPerRow();
    if (bitmap.isPlanar()) {
        return bitmap.plane(k)[row + x];
    }
    return bitmap.plane(0)[row + static_cast<std::size_t>(x) * (bitmap.bitsPerPixel() / 8) + k];
}

// The bitmap as Qt's writers were handed it before our own encoders: grey,
// RGB or premultiplied RGBA (grey with alpha spread over RGB).
inline QImage qtImageOf(const Bitmap& bitmap) {
    int samples = bitmap.samplesPerPixel();
    QImage image(bitmap.pixelsWide(), bitmap.pixelsHigh(),
                 samples == 1   ? QImage::Format_Grayscale8
                 : samples == 3 ? QImage::Format_RGB888
                                : QImage::Format_RGBA8888_Premultiplied);
    for (int y = 0; y < bitmap.pixelsHigh(); ++y) {
        uchar* to = image.scanLine(y);
        for (int x = 0; x < bitmap.pixelsWide(); ++x) {
            int stride = samples == 1 ? 1 : samples == 3 ? 3 : 4;
            for (int k = 0; k < stride; ++k) {
                int from = samples == 2 ? (k == 3 ? 1 : 0) : k;
                to[stride * x + k] = sampleOf(bitmap, x, y, from);
            }
        }
    }
    if (bitmap.size().width > 0 && bitmap.size().height > 0) {
        image.setDotsPerMeterX(static_cast<int>(
            std::lround(72.0 / 0.0254 * bitmap.pixelsWide() / bitmap.size().width)));
        image.setDotsPerMeterY(static_cast<int>(
            std::lround(72.0 / 0.0254 * bitmap.pixelsHigh() / bitmap.size().height)));
    }
    return image;
}

// A photo-like bitmap of any layout: gradients, noise, and (with alpha)
// every alpha value, colours premultiplied.
inline std::shared_ptr<Bitmap> sampleBitmap(int wide, int high, int samples, bool planar = false,
                                            int bitsPerPixel = 0) {
    bool alpha = samples == 2 || samples == 4;
    auto bitmap = std::make_shared<Bitmap>(wide, high, samples, alpha, planar, "", 0, bitsPerPixel);
    std::uint32_t noise = 12345;
    for (int y = 0; y < high; ++y) {
        for (int x = 0; x < wide; ++x) {
            noise = noise * 1664525u + 1013904223u;
            int a = alpha ? (x * 7 + y * 3) % 256 : 255;
            for (int k = 0; k < samples; ++k) {
                int value = (x * 255 / std::max(wide, 1) + y * (k + 1) + (noise >> 28)) % 256;
                int stored = alpha && k == samples - 1 ? a : value * a / 255;
                std::size_t row = static_cast<std::size_t>(y) * bitmap->bytesPerRow();
                std::uint8_t* p =
                    planar ? bitmap->plane(k) + row + x
                           : bitmap->plane(0) + row +
                                 static_cast<std::size_t>(x) * (bitmap->bitsPerPixel() / 8) + k;
                *p = static_cast<std::uint8_t>(stored);
            }
        }
    }
    return bitmap;
}

// Every sample of the bitmap, row after row, without padding.
inline std::vector<std::uint8_t> samplesOf(const Bitmap& bitmap) {
    std::vector<std::uint8_t> out;
    for (int y = 0; y < bitmap.pixelsHigh(); ++y) {
        for (int x = 0; x < bitmap.pixelsWide(); ++x) {
            for (int k = 0; k < bitmap.samplesPerPixel(); ++k) {
                out.push_back(sampleOf(bitmap, x, y, k));
            }
        }
    }
    return out;
}

inline void expectSameBitmaps(const Bitmap& a, const Bitmap& b) {
    EXPECT_EQ(a.pixelsWide(), b.pixelsWide());
    EXPECT_EQ(a.pixelsHigh(), b.pixelsHigh());
    EXPECT_EQ(a.samplesPerPixel(), b.samplesPerPixel());
    EXPECT_EQ(a.hasAlpha(), b.hasAlpha());
    EXPECT_EQ(a.isPlanar(), b.isPlanar());
    EXPECT_EQ(a.bytesPerRow(), b.bytesPerRow());
    EXPECT_EQ(a.colorSpaceName(), b.colorSpaceName());
    EXPECT_DOUBLE_EQ(a.size().width, b.size().width);
    EXPECT_DOUBLE_EQ(a.size().height, b.size().height);
    EXPECT_TRUE(samplesOf(a) == samplesOf(b)) << "the pixels differ";
}

inline void expectSameImages(const Image& a, const Image& b) {
    ASSERT_EQ(a.representations.size(), b.representations.size());
    EXPECT_DOUBLE_EQ(a.size.width, b.size.width);
    EXPECT_DOUBLE_EQ(a.size.height, b.size.height);
    EXPECT_EQ(a.backgroundColor, b.backgroundColor);
    EXPECT_EQ(static_cast<bool>(a.renderer), static_cast<bool>(b.renderer));
    for (std::size_t i = 0; i < a.representations.size(); ++i) {
        const ImageRep& ra = a.representations[i];
        const ImageRep& rb = b.representations[i];
        EXPECT_EQ(ra.pixelsWide, rb.pixelsWide);
        EXPECT_EQ(ra.pixelsHigh, rb.pixelsHigh);
        EXPECT_EQ(ra.bitsPerSample, rb.bitsPerSample);
        EXPECT_EQ(ra.samplesPerPixel, rb.samplesPerPixel);
        ASSERT_EQ(static_cast<bool>(ra.bitmap), static_cast<bool>(rb.bitmap));
        if (ra.bitmap) {
            expectSameBitmaps(*ra.bitmap, *rb.bitmap);
        }
    }
}

} // namespace velo::test
