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
    // Whether the file would load, without keeping its pixels: a search test-loads
    // thousands of textures and a person looks at 49 of them at a time.
    virtual bool loads(const std::string& path) const { return load(path) != nullptr; }
};

}  // namespace drapeline::platform

namespace drapeline::platform {

// The program's own stand-in pictures for images that can not be loaded.
enum class StockPicture { None, NotFound, HandNotFound, WebNotFound, NoBitmaps, CanNotLoad };

// What a picture area shows: a loaded picture (with the file it came from), or else a
// stock picture, or nothing (StockPicture::None with no picture).
struct ShownPicture {
    PicturePtr picture;
    StockPicture stock = StockPicture::None;
    std::string path;

    static ShownPicture loaded(PicturePtr p, std::string from) { return {std::move(p), StockPicture::None, std::move(from)}; }
    static ShownPicture stockPicture(StockPicture s) { return {nullptr, s, {}}; }
};

}  // namespace drapeline::platform
