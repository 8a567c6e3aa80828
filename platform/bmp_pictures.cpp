#include "platform/bmp_pictures.h"
#include "core/native_path.h"

#include <fstream>
#include <algorithm>

namespace drapeline::platform {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::uint32_t InfoHeaderSize = 40;   // BITMAPINFOHEADER; later versions are longer
constexpr std::uint32_t LargestInfoHeader = 124;   // BITMAPV5HEADER
constexpr std::uint32_t BiRgb = 0;
constexpr std::uint32_t BiBitfields = 3;
// The most a header and palette can take: what load() reads before checking.
constexpr std::size_t LargestHead = FileHeaderSize + LargestInfoHeader + 12 + 256 * 4;
// Widths and heights beyond this are no texture; it also keeps every product in range.
constexpr std::int64_t LargestSide = 1 << 16;

std::uint32_t u32(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t u16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}

std::int32_t i32(std::string_view b, std::size_t at) {
    return static_cast<std::int32_t>(u32(b, at));
}

bool knownInfoHeader(std::uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

}  // namespace

std::optional<BmpInfo> checkBmp(std::string_view head, std::uint64_t fileSize) {
    if (head.size() > fileSize) return std::nullopt;
    if (head.size() < FileHeaderSize + InfoHeaderSize || head.substr(0, 2) != "BM")
        return std::nullopt;
    const std::uint32_t declaredSize = u32(head, 2);
    const std::uint32_t pixelOffset = u32(head, 10);
    const std::uint32_t infoSize = u32(head, 14);
    if (!knownInfoHeader(infoSize)) return std::nullopt;
    const std::int64_t width = i32(head, 18);
    const std::int64_t height = i32(head, 22);
    const std::uint16_t planes = u16(head, 26);
    const std::uint16_t bits = u16(head, 28);
    const std::uint32_t compression = u32(head, 30);
    const std::uint32_t coloursUsed = u32(head, 46);

    if (planes != 1) return std::nullopt;
    if (width <= 0 || width > LargestSide || height == 0 || height < -LargestSide ||
        height > LargestSide)
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
    // Channel masks are still uncompressed pixels; only 32-bit bitmaps use them here.
    std::uint64_t masks = 0;
    if (compression == BiBitfields && bits == 32) {
        if (infoSize == InfoHeaderSize) masks = 12;
    } else if (compression != BiRgb) {
        return std::nullopt;
    }

    std::uint64_t colours = coloursUsed;
    if (bits <= 8) {
        const std::uint64_t most = std::uint64_t{1} << bits;
        if (colours > most) return std::nullopt;
        if (colours == 0) colours = most;
    } else if (colours > 256) {
        return std::nullopt;
    }
    const std::uint64_t paletteEnd = FileHeaderSize + infoSize + masks + colours * 4;
    if (paletteEnd > head.size() || pixelOffset < paletteEnd) return std::nullopt;

    const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    const std::uint64_t pixelEnd = pixelOffset + stride * rows;
    if (pixelEnd > fileSize) return std::nullopt;
    // A declared size beyond the file means the file was cut short; zero is allowed, as
    // some writers leave it unset.
    if (declaredSize > fileSize) return std::nullopt;

    return BmpInfo{static_cast<int>(width), static_cast<int>(rows), bits};
}

PicturePtr BmpPictureLoader::decode(const ByteText& bytes) const {
    const std::string_view all(bytes);
    if (auto info = checkBmp(all.substr(0, LargestHead), bytes.size()))
        return std::make_shared<const BmpPicture>(*info);
    return nullptr;
}

std::optional<BmpInfo> checkBmpFile(const std::string& path) {
    std::ifstream in(nativePath(path), std::ios::binary | std::ios::ate);
    if (!in) return std::nullopt;
    const std::streamoff size = in.tellg();
    if (size < 0) return std::nullopt;
    in.seekg(0);
    std::string head(static_cast<std::size_t>(std::min<std::streamoff>(size, LargestHead)), '\0');
    if (!in.read(head.data(), static_cast<std::streamsize>(head.size()))) return std::nullopt;
    return checkBmp(head, static_cast<std::uint64_t>(size));
}

PicturePtr BmpPictureLoader::load(const std::string& path) const {
    if (auto info = checkBmpFile(path)) return std::make_shared<const BmpPicture>(*info);
    return nullptr;
}

}  // namespace drapeline::platform
