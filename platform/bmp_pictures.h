#pragma once
// A strict bitmap checker for places without an image library (the command-line tool):
// a file "loads" when it is an uncompressed Windows bitmap of 1, 4, 8, 24 or 32 bits per
// pixel whose headers agree with each other and with the file's size. Pixels are never
// decoded, so nothing is allocated after what a header claims.

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/pictures.h"

namespace drapeline::platform {

struct BmpInfo {
    int width = 0;
    int height = 0;   // rows, whatever the row order
    int bitsPerPixel = 0;
};

// Checks the headers in `head` (the first bytes of a file of `fileSize` bytes; at least
// the file header, the info header and the palette). Nothing when anything disagrees.
std::optional<BmpInfo> checkBmp(std::string_view head, std::uint64_t fileSize);

// The headers of the file at `path`, checked as above after one read of its first bytes;
// nothing when the file is missing, unreadable or no such bitmap.
std::optional<BmpInfo> checkBmpFile(const std::string& path);

class BmpPicture final : public Picture {
public:
    explicit BmpPicture(BmpInfo info) : info_(info) {}
    int width() const override { return info_.width; }
    int height() const override { return info_.height; }
    const BmpInfo& info() const { return info_; }

private:
    BmpInfo info_;
};

// Safe to use from several threads at once: it keeps no state.
class BmpPictureLoader final : public PictureLoader {
public:
    PicturePtr load(const std::string& path) const override;
    PicturePtr decode(const ByteText& bytes) const override;
};

}  // namespace drapeline::platform
