#include <gtest/gtest.h>

#include <filesystem>

#include "platform/picture_export.h"
#include "core/file_io.h"
#include "tests/support/doubles.h"
#include "testkit/fixture_sim.h"
#include "tests/support/temp_folder.h"

using namespace drapeline;

namespace {

using testkit::parsedIff;

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(BitmapExport, NoPicturesWritesNothingAndAnEmptyNameIsJustTheExtension) {
    testkit::TempFolder folder;
    EXPECT_TRUE(platform::exportAllPictures(parsedIff(testkit::IffBuilder().chunk("OBJD", 1, "").build()),
                                   folder.path())
                    .empty());
    EXPECT_TRUE(filesIn(folder.path()).empty());
    const auto names = platform::exportAllPictures(
        parsedIff(testkit::IffBuilder().bitmap("...", 1, "BM").build()), folder.path());
    EXPECT_EQ(names, std::vector<std::string>{".BMP"});
}

TEST(BitmapExport, ANewerShorterPictureLeavesNoTailOfTheOlder) {
    testkit::TempFolder folder;
    folder.write("web_image.BMP", ByteText(5000, 'o'));
    const IffFile iff = parsedIff(testkit::IffBuilder()
                                   .bitmap("web_image", 1, ByteText(300, 'a'))
                                   .bitmap("faces", 2, "faces")
                                   .bitmap("web.image", 3, "short")   // cleans to the same name
                                   .build());
    const auto names = platform::exportAllPictures(iff, folder.path());
    EXPECT_EQ(names, (std::vector<std::string>{"web_image.BMP", "faces.BMP", "webimage.BMP"}));
    EXPECT_EQ(readWholeFile(folder / "web_image.BMP"), ByteText(300, 'a'));

    const IffFile sameName = parsedIff(testkit::IffBuilder()
                                        .bitmap("rel. images", 1, ByteText(300, 'a'))
                                        .bitmap("rel images", 2, "short")
                                        .build());
    platform::exportAllPictures(sameName, folder.path());
    EXPECT_EQ(readWholeFile(folder / "relimages.BMP"), "short");
}

TEST(BitmapExport, ALabelWithoutNulIsTakenWhole) {
    testkit::TempFolder folder;
    ByteText label(64, 'L');
    label[10] = '.';   // cleaned like any label
    const IffFile noNul = parsedIff(testkit::IffBuilder().bitmap("x", 1, "BM").rawLabel(label).build());
    EXPECT_EQ(platform::exportAllPictures(noNul, folder.path()),
              std::vector<std::string>{std::string(63, 'L') + ".BMP"});
}

TEST(BitmapExport, NamesWindowsKeepsForDevicesGetAnUnderscore) {
    const std::pair<const char*, const char*> cases[] = {
        {"CON", "CON_.BMP"}, {"nul.", "nul_.BMP"}, {"Aux", "Aux_.BMP"}, {"prn.txt", "prntxt.BMP"}, {"C O N", "CON_.BMP"},
        {"com1", "com1_.BMP"}, {"LPT9", "LPT9_.BMP"}, {"COM0", "COM0.BMP"}, {"LPT10", "LPT10.BMP"}};
    for (const auto& [label, name] : cases) {
        IffChunk chunk;
        chunk.label = ByteText(label) + '\0';
        EXPECT_EQ(bitmaps::exportName(chunk), name) << label;
    }
}

TEST(BitmapExport, APlantedLinkIsReplacedNotWrittenThrough) {
    testkit::TempFolder folder;
    const std::string victim = folder.write("victim.txt", "keep");
    std::error_code noLinks;
    std::filesystem::create_symlink(victim, folder / "faces.BMP", noLinks);
    if (noLinks) GTEST_SKIP() << "file system makes no symbolic links: " << noLinks.message();
    platform::exportAllPictures(parsedIff(testkit::IffBuilder().bitmap("faces", 1, "BM").build()), folder.path());
    EXPECT_EQ(readWholeFile(victim), "keep");
    EXPECT_FALSE(std::filesystem::is_symlink(folder / "faces.BMP"));
    EXPECT_EQ(readWholeFile(folder / "faces.BMP"), "BM");
}

TEST(BitmapExport, ABoundedExportWritesTheShownPicturesFirstAndReportsWhatItCouldNotWrite) {
    testkit::TrapRecorder trap;
    testkit::TempFolder folder;
    testkit::IffBuilder many;
    for (int i = 0; i < 6; ++i) many.bitmap("extra" + std::to_string(i), static_cast<std::uint16_t>(i), "x");
    many.bitmap("FACES", 10, "old faces").bitmap("faces", 11, "faces").bitmap("web_image", 12, "web");
    const IffFile iff = parsedIff(many.build());
    const std::string_view first[] = {"web_image.BMP", "faces.BMP", "relimages.BMP"};

    const auto report = platform::dumpBitmaps(iff, folder.path(), 4, first);
    // One file per name in any letter case, from the last chunk of that name.
    EXPECT_EQ(report.written, (std::vector<std::string>{"web_image.BMP", "faces.BMP", "extra0.BMP", "extra1.BMP"}));
    EXPECT_EQ(report.leftOut, 4u);
    EXPECT_EQ(filesIn(folder.path()),
              (std::vector<std::string>{"extra0.BMP", "extra1.BMP", "faces.BMP", "web_image.BMP"}));
    EXPECT_EQ(readWholeFile(folder / "faces.BMP"), "faces");

    const auto nowhere = platform::dumpBitmaps(iff, folder / "missing folder", 64, first);
    EXPECT_EQ(nowhere.failed.size(), 8u);
    EXPECT_EQ(trap.calls, 0);
}
