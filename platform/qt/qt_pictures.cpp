#include "platform/qt/qt_pictures.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImageReader>

#include "platform/bmp_pictures.h"
#include "platform/qt/latin1.h"

namespace drapeline::platform {

namespace {

// Textures and thumbnails are a few hundred pixels wide; a header that claims far more is
// damaged or hostile, and the reader refuses it before allocating.
constexpr int kAllocationLimitMegabytes = 64;

PicturePtr read(QImageReader& reader) {
    reader.setAllocationLimit(kAllocationLimitMegabytes);
    QImage image = reader.read();
    if (image.isNull()) return nullptr;
    return std::make_shared<const QtPicture>(std::move(image));
}

}  // namespace

PicturePtr QtPictureLoader::load(const std::string& path) const {
    try {
        // The reader is given the open file, not its name: for a name that is missing it
        // would try a dozen other suffixes first.
        QFile file(pathToQString(path));
        if (!file.open(QIODevice::ReadOnly)) return nullptr;
        QImageReader reader(&file);
        return read(reader);
    } catch (const std::exception&) {
        return nullptr;
    }
}

bool QtPictureLoader::loads(const std::string& path) const {
    if (const auto info = checkBmpFile(path)) {
        // What read() would refuse before allocating.
        const qint64 bytes = qint64{info->width} * info->height * 4;
        return bytes <= qint64{kAllocationLimitMegabytes} * 1024 * 1024;
    }
    return load(path) != nullptr;
}

PicturePtr QtPictureLoader::decode(const ByteText& bytes) const {
    try {
        QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
        QBuffer buffer(&data);
        if (!buffer.open(QIODevice::ReadOnly)) return nullptr;
        QImageReader reader(&buffer);
        return read(reader);
    } catch (const std::exception&) {
        return nullptr;
    }
}

QImage imageOf(const PicturePtr& picture) {
    const auto* qt = dynamic_cast<const QtPicture*>(picture.get());
    return qt != nullptr ? qt->image() : QImage();
}

}  // namespace drapeline::platform
