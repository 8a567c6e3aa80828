#pragma once
// Picture loading. Logic only asks whether a file loads and how large it is; windows take
// the decoded image out of the implementation they created (platform/qt/qt_pictures.h).

#include <memory>
#include <string>

#include "core/errors.h"

namespace drapeline::platform {

class Picture {
public:
    virtual ~Picture() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

using PicturePtr = std::shared_ptr<const Picture>;

class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    // The decoded picture, or null when the file is missing or does not decode.
    virtual PicturePtr load(const std::string& path) const = 0;
    // The same for bitmap bytes already in memory.
    virtual PicturePtr decode(const ByteText& bytes) const = 0;
};

}  // namespace drapeline::platform
