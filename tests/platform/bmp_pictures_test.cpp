#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/bmp_pictures.h"
#include "testkit/fixture_sim.h"
#include "tests/support/temp_folder.h"

using namespace drapeline;
using platform::BmpPictureLoader;

namespace {

void put32(ByteText& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void put16(ByteText& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}

// A consistent uncompressed bitmap with a full palette for 8 bits or fewer.
ByteText bitmap(int bits, int width, int height) {
    const std::size_t colours = bits <= 8 ? std::size_t{1} << bits : 0;
    const std::size_t offset = 14 + 40 + colours * 4;
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    ByteText b(offset + stride * static_cast<std::size_t>(height < 0 ? -height : height), '\0');
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<std::uint32_t>(b.size()));
    put32(b, 10, static_cast<std::uint32_t>(offset));
    put32(b, 14, 40);
    put32(b, 18, static_cast<std::uint32_t>(width));
    put32(b, 22, static_cast<std::uint32_t>(height));
    put16(b, 26, 1);
    put16(b, 28, static_cast<std::uint16_t>(bits));
    return b;
}

}  // namespace

TEST(BmpPictureLoader, AcceptsConsistentUncompressedBitmaps) {
    const BmpPictureLoader loader;
    struct Case {
        ByteText bytes;
        int width, height;
    };
    ByteText withTail = bitmap(24, 3, 3) + "trailing";
    ByteText bitfields = bitmap(32, 2, 2);
    put32(bitfields, 30, 3);
    bitfields.insert(54, 12, '\xFF');
    put32(bitfields, 10, 66);
    ByteText sizeUnset = bitmap(8, 4, 4);
    put32(sizeUnset, 2, 0);
    const Case cases[] = {
        {bitmap(1, 9, 2), 9, 2},       {bitmap(4, 3, 5), 3, 5},
        {bitmap(8, 256, 256), 256, 256}, {bitmap(24, 7, 1), 7, 1},
        {bitmap(32, 2, -3), 2, 3},     {testkit::solidBitmap(5, 6, {}), 5, 6},
        {withTail, 3, 3},              {bitfields, 2, 2},
        {sizeUnset, 4, 4},
    };
    for (const auto& c : cases) {
        const auto picture = loader.decode(c.bytes);
        ASSERT_NE(picture, nullptr) << c.width;
        EXPECT_EQ(picture->width(), c.width);
        EXPECT_EQ(picture->height(), c.height);
    }
}

TEST(BmpPictureLoader, RefusesHeadersThatDisagreeWithEachOtherOrWithTheFile) {
    const BmpPictureLoader loader;
    using Edit = std::function<void(ByteText&)>;
    const std::pair<const char*, Edit> cases[] = {
        {"cut short", [](ByteText& b) { b.resize(b.size() - 1); }},
        {"only a header", [](ByteText& b) { b.resize(54); }},
        {"huge claimed size", [](ByteText& b) { put32(b, 18, 60000); put32(b, 22, 60000); }},
        {"side beyond limit", [](ByteText& b) { put32(b, 18, 0x7FFFFFFF); }},
        {"lowest height", [](ByteText& b) { put32(b, 22, 0x80000000u); }},
        {"zero width", [](ByteText& b) { put32(b, 18, 0); }},
        {"negative width", [](ByteText& b) { put32(b, 18, 0xFFFFFFFFu); }},
        {"zero height", [](ByteText& b) { put32(b, 22, 0); }},
        {"two planes", [](ByteText& b) { put16(b, 26, 2); }},
        {"16 bits", [](ByteText& b) { put16(b, 28, 16); }},
        {"run-length", [](ByteText& b) { put32(b, 30, 1); }},
        {"too many colours", [](ByteText& b) { put32(b, 46, 257); }},
        {"pixels inside palette", [](ByteText& b) { put32(b, 10, 100); }},
        {"pixels beyond file", [](ByteText& b) { put32(b, 10, 0xFFFFFFF0u); }},
        {"old header", [](ByteText& b) { put32(b, 14, 12); }},
        {"odd header", [](ByteText& b) { put32(b, 14, 64); }},
        {"declared size beyond file", [](ByteText& b) { put32(b, 2, static_cast<std::uint32_t>(b.size() + 1)); }},
        {"not BM", [](ByteText& b) { b[1] = 'A'; }},
        {"empty", [](ByteText& b) { b.clear(); }},
    };
    for (const auto& [what, edit] : cases) {
        ByteText b = bitmap(8, 16, 16);
        edit(b);
        EXPECT_EQ(loader.decode(b), nullptr) << what;
    }
}

TEST(BmpPictureLoader, LoadsFilesAsItDecodesBytes) {
    testkit::TempFolder folder;
    const BmpPictureLoader loader;
    const auto good = loader.load(folder.write("a.bmp", bitmap(8, 256, 256)));
    ASSERT_NE(good, nullptr);
    EXPECT_EQ(good->width(), 256);
    // The pixels of a big bitmap lie far beyond the bytes read for its header.
    EXPECT_EQ(loader.load(folder.write("b.bmp", bitmap(8, 256, 256).substr(0, 60000))), nullptr);
    EXPECT_EQ(loader.load(folder / "missing.bmp"), nullptr);
    EXPECT_EQ(loader.load(folder.makeFolder("c.bmp")), nullptr);
}
