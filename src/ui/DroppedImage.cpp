#include "ui/DroppedImage.h"

#include "imageio/ImageCodec.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QUrl>

namespace velo {

namespace {

QString firstLocalFile(const QMimeData& data) {
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile()) {
            return url.toLocalFile();
        }
    }
    return {};
}

DroppedImage fromDecoded(DecodedImage decoded, const QString& what) {
    if (!decoded.image) {
        return {nullptr, QObject::tr("%1 is not an image Velo can open (%2).")
                             .arg(what, QString::fromStdString(decoded.error))};
    }
    return {std::make_shared<const Image>(std::move(*decoded.image)), {}};
}

} // namespace

bool mayHoldImage(const QMimeData& data) {
    return data.hasImage() || !firstLocalFile(data).isEmpty();
}

DroppedImage imageFromMimeData(const QMimeData& data) {
    QString file = firstLocalFile(data);
    if (!file.isEmpty()) {
        return fromDecoded(readImageFile(file.toStdString()),
                           QStringLiteral("“%1”").arg(QFileInfo(file).fileName()));
    }
    // Image data goes through the same decoding as files: one way in.
    QImage image = qvariant_cast<QImage>(data.imageData());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) {
        return {nullptr, QObject::tr("The dropped data holds no image.")};
    }
    return fromDecoded(decodeImage({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size())}),
                       QObject::tr("The dropped data"));
}

} // namespace velo
