#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <string>
#include <thread>
#include <vector>

#include "platform/qt/qt_pictures.h"
#include "core/binary_support.h"
#include "testkit/bitmap.h"
#include "tests/support/temp_folder.h"

namespace drapeline::platform {
namespace {

// A 2 x 2 bitmap: top row red, blue; bottom row green, white.
std::string tinyBitmap() {
    return testkit::bitmap24(2, 2, [](int x, int y) {
        static const testkit::Rgb colours[2][2] = {{{255, 0, 0}, {0, 0, 255}}, {{0, 255, 0}, {255, 255, 255}}};
        return colours[y][x];
    });
}

void expectTinyBitmap(const PicturePtr& picture) {
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width(), 2);
    EXPECT_EQ(picture->height(), 2);
    const QImage image = imageOf(picture);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(1, 0), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(0, 1), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));
}

TEST(QtPictureLoader, LoadsABitmapFromFileAndFromMemory) {
    testkit::TempFolder folder;
    QtPictureLoader loader;
    expectTinyBitmap(loader.load(folder.write("skin.bmp", tinyBitmap())));
    // The path reaches Qt in the file system's encoding (UTF-8 here), not as Latin-1.
    expectTinyBitmap(loader.load(folder.write("Caf\xC3\xA9 skin.BMP", tinyBitmap())));
    expectTinyBitmap(loader.decode(tinyBitmap()));
}

TEST(QtPictureLoader, WhatDoesNotDecodeIsNull) {
    testkit::TempFolder folder;
    QtPictureLoader loader;
    const std::string bmp = tinyBitmap();
    EXPECT_EQ(loader.load(folder / "missing.bmp"), nullptr);
    EXPECT_EQ(loader.load(folder.makeFolder("folder.bmp")), nullptr);
    EXPECT_EQ(loader.load(folder.write("garbage.bmp", "this is not a picture at all")), nullptr);
    EXPECT_EQ(loader.load(folder.write("empty.bmp", "")), nullptr);
    EXPECT_EQ(loader.decode(bmp.substr(0, 30)), nullptr);
    EXPECT_EQ(loader.decode(""), nullptr);
    // A header claiming a giant picture is refused before anything that size is allocated.
    std::string giant = bmp;
    giant.replace(18, 8, bytes::int32ToLE(60000) + bytes::int32ToLE(60000));
    EXPECT_EQ(loader.decode(giant), nullptr);
}

// The skin catalogue test-loads its textures on several threads through one loader.
TEST(QtPictureLoader, LoadsFromSeveralThreadsAtOnce) {
    testkit::TempFolder folder;
    std::vector<std::string> paths;
    for (std::uint32_t i = 0; i < 64; ++i)
        paths.push_back(folder.write("t" + std::to_string(i) + ".bmp", i % 5 == 0 ? "BMbroken" : tinyBitmap()));
    const QtPictureLoader loader;
    std::vector<PicturePtr> pictures(paths.size());
    {
        std::vector<std::jthread> threads;
        for (std::size_t t = 0; t < 4; ++t)
            threads.emplace_back([&, t] {
                for (std::size_t i = t; i < paths.size(); i += 4) pictures[i] = loader.load(paths[i]);
            });
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (i % 5 == 0) {
            EXPECT_EQ(pictures[i], nullptr) << i;
        } else {
            ASSERT_NE(pictures[i], nullptr) << i;
            EXPECT_EQ(imageOf(pictures[i]).pixelColor(0, 0), QColor(Qt::red)) << i;
        }
    }
}

}  // namespace
}  // namespace drapeline::platform
