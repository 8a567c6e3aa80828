// Broken character files: every one must give an error text (checked reader) or the
// error trap (stopping reader), never a crash, an over-read or a huge allocation.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/binary_support.h"
#include "core/iff_file.h"
#include "tests/support/doubles.h"
#include "testkit/fixture_sim.h"
#include "tests/support/temp_folder.h"

using namespace drapeline;
using testkit::IffBuilder;
using testkit::MapStyle;

namespace {

std::string checked(const ByteText& bytes) {
    IffFile iff;
    return iff::parseChecked(iff, bytes);
}

IffBuilder threeChunks() {
    return IffBuilder()
        .chunk("OBJD", 128, ByteText(40, 'o'), "user00012")
        .strings(200, {"adult", "", "x"}, "body strings")
        .bitmap("web_image", 1, testkit::solidBitmap(3, 2, {1, 2, 3}));
}

// The map's first type record's count field.
std::size_t firstCountAt(const IffBuilder& b) { return b.mapOffset() + 96 + 4; }

void put32LE(ByteText& bytes, std::size_t at, std::int32_t v) {
    bytes.replace(at, 4, bytes::int32ToLE(v));
}

}  // namespace

TEST(IffCheckedRead, ReportsEachKindOfDamage) {
    const IffBuilder mapped = threeChunks().map();
    const ByteText good = mapped.build();

    ByteText hugeCount = good;
    put32LE(hugeCount, firstCountAt(mapped), 1001);
    ByteText countAtLimit = good;
    put32LE(countAtLimit, firstCountAt(mapped), 1000);
    ByteText noTypes = good;
    put32LE(noTypes, mapped.mapOffset() + 92, 0);
    ByteText negativeCount = good;
    put32LE(negativeCount, firstCountAt(mapped), -3);
    const ByteText nameAtEnd = IffBuilder().chunk("OBJD", 1, "", "ab").map().build();
    EXPECT_EQ(checked(nameAtEnd), "");

    const std::vector<std::pair<std::string, ByteText>> cases{
        {"RSMP UNREADABLE (RSMP)", hugeCount},
        {"Error 62 - Input past end of file (RSMP)", countAtLimit},
        {"Error 62 - Input past end of file (RSMP)", good.substr(0, good.size() - 3)},
        {"Error 62 - Input past end of file (RSMP)", good.substr(0, mapped.mapOffset() + 90)},
        {"Error 62 - Input past end of file (RSMP)", nameAtEnd.substr(0, nameAtEnd.size() - 2)},   // never ends
        {"Error 62 - Input past end of file (RSMP)", nameAtEnd.substr(0, nameAtEnd.size() - 1)},   // pad byte missing
        {"Error 9 - Subscript out of range (RSMP)", noTypes},
        {"Error 9 - Subscript out of range (RSMP)", negativeCount},
        {"Error 5 - Invalid procedure call or argument", threeChunks().sizeField(75).build()},
        {"Error 5 - Invalid procedure call or argument", threeChunks().sizeField(-1).build()},
        {"Error 62 - Input past end of file", threeChunks().sizeField(1 << 30).build()},
        {"Error 62 - Input past end of file", threeChunks().build().substr(0, 63)},
        {"Error 62 - Input past end of file", ByteText()},
    };
    for (const auto& [text, bytes] : cases) EXPECT_EQ(checked(bytes), text) << text;
}

TEST(IffCheckedRead, ATailTooShortForAChunkHeaderIsAnErrorButOneByteIsNot) {
    const ByteText file = threeChunks().build();
    EXPECT_EQ(checked(file + "x"), "");
    for (std::size_t n = 2; n <= 75; ++n)
        EXPECT_EQ(checked(file + ByteText(n, 'x')), "Error 62 - Input past end of file") << n;
}

TEST(IffCheckedRead, ReportsFilesThatCanNotBeOpened) {
    testkit::TempFolder folder;
    IffFile iff;
    EXPECT_EQ(iff::readIffChecked(iff, folder / "missing.iff"),
              "Error 53 - File not found");
    EXPECT_EQ(iff::readIffChecked(iff, folder.makeFolder("a folder")),
              "Error 75 - Path/File access error");
    const std::string file = folder.write("user00001.iff", testkit::characterFile().build());
    EXPECT_EQ(iff::readIffChecked(iff, file), "");
    EXPECT_FALSE(iff.chunks.empty());
}

TEST(IffCheckedRead, LeavesTheSameStageMarkersAndNeverTraps) {
    testkit::TrapRecorder trap;
    const IffBuilder mapped = threeChunks().map();
    const ByteText good = mapped.build();
    const std::size_t firstName = mapped.mapOffset() + 96 + 8 + 8;
    const std::pair<ByteText, std::int32_t> cases[] = {
        {good.substr(0, 30), 1000},
        {good.substr(0, mapped.mapOffset() + 50), 1000},
        {good.substr(0, mapped.mapOffset() + 100), 2000},
        {good.substr(0, firstName - 2), 3000},
        {good.substr(0, firstName + 2), 4000},
        {threeChunks().sizeField(3).build(), 2000},
    };
    for (const auto& [bytes, location] : cases) {
        markStage(-1);
        EXPECT_NE(checked(bytes), "");
        EXPECT_EQ(errorContext().stage, location);
    }
    EXPECT_EQ(trap.calls, 0);
}

TEST(IffCheckedRead, MoreThan32767ChunksIsAnErrorNotAnOverflow) {
    IffBuilder many;
    for (int i = 0; i < 32767; ++i) many.chunk("BHAV", static_cast<std::uint16_t>(i), "");
    ByteText bytes = many.build();
    IffFile iff;
    EXPECT_EQ(iff::parseChecked(iff, bytes), "");
    EXPECT_EQ(iff.chunks.size(), 32767u);
    bytes += bytes.substr(64, 76);
    EXPECT_EQ(checked(bytes), "Error 6 - Overflow");
}

// Every prefix of a valid file, and every 4-byte window overwritten with sizes and counts
// that lie: the reader answers with a text or succeeds, and whatever it accepted is
// written and read back to the same chunks and map.
TEST(IffCheckedRead, SurvivesTruncationAndLyingFieldsEverywhere) {
    // Small, so that every window can be tried; it has every kind of field.
    const ByteText good = IffBuilder()
                              .chunk("OBJD", 128, "objd", "user00012")
                              .ctss(2000, {"Bella"}, "user00012")
                              .strings(200, {"adult", "b001"}, "body strings")
                              .map()
                              .bitmap("web_image", 1, testkit::solidBitmap(1, 1, {1, 2, 3}))
                              .build();
    const auto reReadMatches = [](IffFile& iff) {
        IffFile again;
        const ByteText bytes = iff::serialise(iff);
        ASSERT_EQ(iff::parseChecked(again, bytes), "");
        ASSERT_EQ(again.chunks.size(), iff.chunks.size());
        for (std::size_t i = 0; i < iff.chunks.size(); ++i) {
            EXPECT_EQ(again.chunks[i].typeCode, iff.chunks[i].typeCode);
            EXPECT_EQ(again.chunks[i].data, iff.chunks[i].data);
        }
        EXPECT_EQ(iff::serialise(again), bytes);
    };
    for (std::size_t n = 0; n <= good.size(); ++n) {
        IffFile iff;
        if (iff::parseChecked(iff, std::string_view(good).substr(0, n)).empty()) reReadMatches(iff);
    }
    const std::int32_t lies[] = {0, 1, -1, 75, 76, 77, 1000, 1001, 65536, 0x7FFFFFFF,
                                 static_cast<std::int32_t>(0x80000000)};
    for (std::size_t at = 0; at + 4 <= good.size(); ++at) {
        for (const auto lie : lies) {
            for (const auto& field : {bytes::int32ToLE(lie),
                                      bytes::int32ToBE(lie)}) {
                ByteText bytes = good;
                bytes.replace(at, 4, field);
                IffFile iff;
                if (iff::parseChecked(iff, bytes).empty()) reReadMatches(iff);
                if (testing::Test::HasFatalFailure()) FAIL() << "at " << at << " lie " << lie;
            }
        }
    }
}

TEST(IffStoppingRead, TrapsWithModuleProcedureAndStage) {
    testkit::TrapRecorder trap;
    testkit::TempFolder folder;
    const IffBuilder mapped = threeChunks().map();
    const ByteText good = mapped.build();
    const std::size_t firstName = mapped.mapOffset() + 96 + 8 + 8;
    struct Case {
        std::string file;
        std::int32_t number;
        std::string procedure;
        std::int32_t location;
    };
    const Case cases[] = {
        {folder / "missing.iff", 53, "gsReadIFF", 1000},
        {folder.write("short.iff", good.substr(0, 20)), 62, "gsReadIFF", 1000},
        {folder.write("size.iff", threeChunks().sizeField(10).build()), 5, "gsReadIFF", 2000},
        {folder.write("map.iff", good.substr(0, mapped.mapOffset() + 40)), 62, "gsReadRSMP", 1000},
        {folder.write("name.iff", good.substr(0, firstName + 1)), 62, "gsReadRSMP", 4000},
    };
    for (const auto& c : cases) {
        IffFile iff;
        EXPECT_THROW(iff::readIff(iff, c.file), ProgramEnded);
        EXPECT_EQ(trap.last.number, c.number) << c.file;
        EXPECT_EQ(trap.last.module, "modIFFsupport");
        EXPECT_EQ(trap.last.procedure, c.procedure) << c.file;
        EXPECT_EQ(trap.last.stage, c.location) << c.file;
    }
    EXPECT_EQ(trap.calls, 5);
}

TEST(IffStoppingRead, HasNoLimitOnEntryCountsButReadsTheSameFiles) {
    testkit::TrapRecorder trap;
    testkit::TempFolder folder;
    IffBuilder many;
    for (int i = 0; i < 1001; ++i) many.chunk("BHAV", static_cast<std::uint16_t>(i), "");
    many.map();
    const std::string path = folder.write("many.iff", many.build());
    IffFile iff;
    EXPECT_EQ(iff::readIffChecked(iff, path), "RSMP UNREADABLE (RSMP)");
    iff::readIff(iff, path);
    EXPECT_EQ(iff.map.types.at(0).entries.size(), 1001u);
    EXPECT_EQ(trap.calls, 0);
}
