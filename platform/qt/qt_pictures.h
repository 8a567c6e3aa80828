#pragma once
// Picture loading through Qt's image reader (.bmp and whatever else Qt decodes).

#include <QImage>

#include "platform/pictures.h"

namespace drapeline::platform {

class QtPicture final : public Picture {
public:
    explicit QtPicture(QImage image) : image_(std::move(image)) {}
    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    const QImage& image() const { return image_; }

private:
    QImage image_;
};

class QtPictureLoader final : public PictureLoader {
public:
    PicturePtr load(const std::string& path) const override;
    PicturePtr decode(const ByteText& bytes) const override;
    // An uncompressed bitmap whose headers agree with its size loads without decoding;
    // anything else (compressed, other formats) is decoded once and dropped.
    bool loads(const std::string& path) const override;
};

// The QImage behind a picture made by QtPictureLoader; a null image for anything else.
QImage imageOf(const PicturePtr& picture);

}  // namespace drapeline::platform
