#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_io.h"
#include "tests/cli/cli_support.h"

using namespace drapeline;
using testkit::cli;
using testkit::IffBuilder;

namespace {

// Without its map, so that a test can add chunks after these.
IffBuilder chunks() {
    return IffBuilder()
        .chunk("OBJD", 128, ByteText(8, 'o'), "user00012")
        .ctss(2000, {"Bella", "Bella Goth"}, "user00012")
        .strings(200, {"adult", "caf\xE9"}, "body strings")
        .bitmap("rel. images", 3, "BMrel");
}
IffBuilder sample() { return chunks().map(); }

}  // namespace

TEST(CliCheck, SilentOnSuccessErrorTextOnStdoutOtherwise) {
    testkit::TempFolder folder;
    const ByteText good = sample().build();
    struct Case {
        std::string file;
        int exitCode;
        std::string out;
    };
    const Case cases[] = {
        {folder.write("good.iff", good), 0, ""},
        {folder.write("cut.iff", good.substr(0, good.size() - 4)), 1,
         "Error 62 - Input past end of file (RSMP)\n"},
        {folder / "missing.iff", 1, "Error 53 - File not found\n"},
    };
    for (const auto& c : cases) {
        const auto r = cli({"check", c.file});
        EXPECT_EQ(r.exitCode, c.exitCode) << c.file;
        EXPECT_EQ(r.out, c.out) << c.file;
        EXPECT_EQ(r.err, "") << c.file;
    }
}

TEST(CliRewrite, WritesWhatTheEditorWouldAndReplacesTheTarget) {
    testkit::TempFolder folder;
    const ByteText middle = sample().chunk("PERS", 1, "late", "person").build();
    const std::string in = folder.write("in.iff", middle);
    const std::string out = folder.write("out.iff", ByteText(100000, 'x'));
    const auto r = cli({"rewrite", in, out});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(readWholeFile(out), chunks().chunk("PERS", 1, "late", "person").map().build());   // the map last

    const auto broken = cli({"rewrite", folder.write("bad.iff", "short"), folder / "x.iff"});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(broken.out, "Error 62 - Input past end of file\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "x.iff"));

    const auto unwritable = cli({"rewrite", in, folder / "no folder/out.iff"});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(unwritable.err,
              folder / "no folder/out.iff" + ": Error 76 - Path not found (No such file or directory)\n");
}

TEST(CliInfo, ListsChunksInFileOrder) {
    testkit::TempFolder folder;
    const std::string file = folder.write("user00012.iff", sample().build());
    const auto r = cli({"info", file});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out,
              "{\"hasRsmp\":true,\"chunks\":["
              "{\"type\":\"OBJD\",\"id\":128,\"idField\":\"00 80 00 00\",\"label\":\"user00012\",\"size\":84,\"offset\":64},"
              "{\"type\":\"CTSS\",\"id\":2000,\"idField\":\"07 D0 00 10\",\"label\":\"user00012\",\"size\":101,\"offset\":148},"
              "{\"type\":\"STR#\",\"id\":200,\"idField\":\"00 C8 00 10\",\"label\":\"body strings\",\"size\":95,\"offset\":249},"
              "{\"type\":\"BMP_\",\"id\":3,\"idField\":\"00 03 00 00\",\"label\":\"rel. images\",\"size\":81,\"offset\":344}"
              "]}\n");
}

TEST(CliStrings, DecodesTheChosenSetWithBytesAsCodePoints) {
    testkit::TempFolder folder;
    testkit::StringSetLayout layout;
    layout.trailer = ByteText("\0\xAB", 2);
    const std::string file = folder.write(
        "u.iff", sample()
                     .chunk("STR#", 300, testkit::stringSetData({{"x", "note", 7}}, layout))
                     .chunk("STR#", 301, testkit::stringSetData(std::vector<std::string>{"a"}).substr(0, 6))
                     .build());
    auto r = cli({"strings", file});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"format\":\"FDFF\",\"count\":2,\"entries\":["
              "{\"language\":1,\"text\":\"adult\",\"comment\":\"\"},"
              "{\"language\":1,\"text\":\"caf\xC3\xA9\",\"comment\":\"\"}],\"trailer\":\"\"}\n");
    r = cli({"strings", file, "--ctss", "--id", "07 d0 00 10"});
    EXPECT_NE(r.out.find("\"text\":\"Bella Goth\""), std::string::npos) << r.out;
    r = cli({"strings", file, "--id", "01 2C 00 00"});
    EXPECT_EQ(r.out,
              "{\"format\":\"FDFF\",\"count\":1,\"entries\":["
              "{\"language\":7,\"text\":\"x\",\"comment\":\"note\"}],\"trailer\":\"00AB\"}\n");

    struct Failing {
        std::vector<std::string> args;
        int exitCode;
        std::string err;
    };
    const Failing failing[] = {
        {{"strings", file, "--id", "00 C9 00 10"}, 1, "no STR# chunk with ID field 00 C9 00 10\n"},
        {{"strings", file, "--id", "01 2D 00 00"}, 1, file + ": Error 5 - Invalid procedure call or argument\n"},
    };
    for (const auto& f : failing) {
        r = cli(f.args);
        EXPECT_EQ(r.exitCode, f.exitCode);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, f.err);
    }
    // Anything but four two-digit hex bytes is a usage error, never read as zeros.
    for (const std::string id : {"C8", "GG C8 00 10", "0 C8 00 10 ", "00 C8 00  1"}) {
        r = cli({"strings", file, "--id", id});
        EXPECT_EQ(r.exitCode, 2) << id;
        EXPECT_NE(r.err.find("--id needs four hexadecimal bytes"), std::string::npos) << r.err;
    }
}

TEST(CliExportBitmaps, WritesPicturesAndListsTheirNames) {
    testkit::TempFolder folder;
    const std::string dir = folder.makeFolder("program");
    folder.write("program/relimages.BMP", ByteText(50, 'o'));
    const std::string file = folder.write(
        "u.iff", sample().bitmap("web_image", 1, "BMweb").bitmap("", 2, "BM").build());
    const auto r = cli({"export-bitmaps", file, dir});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "[\"relimages.BMP\",\"web_image.BMP\",\".BMP\"]\n");
    EXPECT_EQ(readWholeFile(folder / "program/relimages.BMP"), "BMrel");

    const auto noFolder = cli({"export-bitmaps", file, folder / "nowhere"});
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_EQ(noFolder.err, folder / "nowhere" + ": Error 76 - Path not found (No such file or directory)\n");
}
