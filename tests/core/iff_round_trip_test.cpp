// Reading then writing a character file must give back the file it read, except where
// the writer deliberately normalises it (map last, RsmpSize, dropped stray bytes, no map
// when the offset field says so). These cases pin each exception down.

#include <gtest/gtest.h>

#include "core/binary_support.h"
#include "core/iff_file.h"
#include "core/string_set.h"
#include "testkit/fixture_sim.h"
#include "tests/support/doubles.h"

using namespace drapeline;
using testkit::IffBuilder;
using testkit::MapStyle;

namespace {

using testkit::parsedIff;

ByteText rewritten(const ByteText& bytes) {
    IffFile iff = parsedIff(bytes);
    return iff::serialise(iff);
}

std::int32_t entryOffset(const RsmpEntry& e) { return bytes::int32FromLE(e.offset); }

IffBuilder smallFile() {
    return IffBuilder()
        .chunk("OBJD", 128, ByteText(216, 'o'), "user00012")
        .ctss(2000, {"Bella", "Bella Goth"}, "user00012")
        .strings(200, {"adult", "b001fafitlgt_01,BODY=b001fafitlgt_01"}, "body strings")
        .chunk("BHAV", 4096, "", "empty");
}

}  // namespace

TEST(IffRoundTrip, VariedFilesComeBackByteForByte) {
    MapStyle a3;
    a3.terminator = testkit::NameEnd::A3;
    MapStyle oddPad;
    oddPad.padValue = '\x7E';
    std::vector<std::pair<std::string, ByteText>> files{
        {"character seed 1", testkit::characterFile().build()},
        {"no map", smallFile().build()},
        {"names ending in A3", smallFile().map(a3).build()},
        {"odd pad byte value", smallFile().map(oddPad).build()},
        {"entry without a chunk", smallFile().map().extraEntry("PERS", 9, "ghost").build()},
        {"chunk without an entry", smallFile().chunk("SLOT", 1, "xy").unlisted().map().build()},
        {"only the opening block", IffBuilder().build()},
        {"opening block and map", IffBuilder().map().extraEntry("OBJD", 1, "x").build()},
    };
    for (std::uint32_t seed = 2; seed < 6; ++seed) {
        testkit::SimOptions sim;
        sim.seed = seed;
        sim.otherChunks = static_cast<int>(seed * 7);
        files.push_back({"character seed " + std::to_string(seed), testkit::characterFile(sim).build()});
    }
    for (const auto& [name, bytes] : files) EXPECT_EQ(rewritten(bytes), bytes) << name;
}

TEST(IffRoundTrip, ReadsWhatTheBuilderPutThere) {
    const IffBuilder builder = testkit::characterFile();
    IffFile iff = parsedIff(builder.build());
    EXPECT_TRUE(iff.hasRsmp);
    ASSERT_TRUE(iff.map.read);
    ASSERT_EQ(iff.chunks.size(), builder.chunkCount());
    EXPECT_EQ(iff.chunks[0].typeCode, "OBJD");
    EXPECT_EQ(iff.chunks[0].fileOffset, 65);
    EXPECT_EQ(iff.chunks[2].idField, ByteText(WardrobeIdField));
    std::size_t listed = 0;
    for (const auto& type : iff.map.types) {
        EXPECT_EQ(static_cast<std::size_t>(type.count), type.entries.size());
        listed += type.entries.size();
    }
    EXPECT_EQ(listed, iff.chunks.size());
}

TEST(IffRoundTrip, MapInTheMiddleMovesBehindTheLastChunkAndRsmpSizeBecomesTheMapLengthMinusOne) {
    IffBuilder last = smallFile();
    last.chunk("PERS", 1, "late", "person").map();
    EXPECT_EQ(rewritten(smallFile().map().chunk("PERS", 1, "late", "person").build()), last.build());
    MapStyle trueLength;
    trueLength.rsmpSize = 0;   // whatever the file said
    EXPECT_EQ(rewritten(smallFile().map(trueLength).build()), smallFile().map().build());
}

TEST(IffRoundTrip, AStrayLastByteIsDropped) {
    // After the last chunk, and after the map's last entry when its size covered one more.
    const ByteText plain = smallFile().build();
    EXPECT_EQ(rewritten(plain + "Z"), plain);

    MapStyle covered;
    covered.afterEntries = "Z";
    const IffBuilder builder = smallFile().map(covered);
    const ByteText withMap = builder.build();
    // The map is one byte shorter as written, and so is its RsmpSize; its chunk size
    // field is kept as read.
    covered.rsmpSize = static_cast<std::int32_t>(withMap.size() - builder.mapOffset() - 2);
    const ByteText expected = smallFile().map(covered).build();
    EXPECT_EQ(rewritten(withMap), expected.substr(0, expected.size() - 1));
}

TEST(IffRoundTrip, OffsetFieldZeroOrDigitsZeroMeansNoMapIsWritten) {
    for (const std::string_view field : {std::string_view("\0\0\0\0", 4), std::string_view("0000")}) {
        IffFile iff = parsedIff(smallFile().map().offsetField(field).build());
        EXPECT_FALSE(iff.hasRsmp);
        EXPECT_TRUE(iff.map.read);   // the map chunk was read, but is not written
        EXPECT_EQ(iff::serialise(iff), smallFile().build());
    }
}

TEST(IffRoundTrip, OffsetFieldPromisingAMissingMapWritesNone) {
    IffFile iff = parsedIff(smallFile().offsetField(std::string_view("\0\0\x10\0", 4)).build());
    EXPECT_TRUE(iff.hasRsmp);
    EXPECT_FALSE(iff.map.read);
    EXPECT_EQ(iff::serialise(iff), smallFile().build());
}

TEST(IffRoundTrip, MapOffsetsFollowAChunkThatGrew) {
    IffFile iff = parsedIff(testkit::characterFile().build());
    IffChunk& body = iff.chunks[2];
    body.data += "0123456789";
    body.sizeField = bytes::int32ToBE(static_cast<std::int32_t>(body.data.size() + 76));
    std::vector<std::int32_t> before;
    for (const auto& c : iff.chunks) before.push_back(c.fileOffset);

    IffFile again = parsedIff(iff::serialise(iff));
    ASSERT_EQ(again.chunks.size(), iff.chunks.size());
    for (std::size_t i = 0; i < again.chunks.size(); ++i)
        EXPECT_EQ(again.chunks[i].fileOffset, before[i] + (i > 2 ? 10 : 0)) << i;
    // Every entry points at its chunk's new place.
    for (const auto& type : again.map.types)
        for (const auto& e : type.entries) {
            const auto at = entryOffset(e);
            const auto it = std::find_if(again.chunks.begin(), again.chunks.end(),
                                         [&](const IffChunk& c) { return c.fileOffset - 1 == at; });
            ASSERT_NE(it, again.chunks.end());
            EXPECT_EQ(bytes::reverseTypeCode(type.typeCode), it->typeCode);
        }
}

TEST(IffRoundTrip, TwoChunksWithOneIdShareTheFirstEntry) {
    const IffBuilder builder =
        IffBuilder().chunk("BHAV", 7, "first", "a").chunk("TTAB", 1, "").chunk("BHAV", 7, "second!", "b").map();
    const ByteText bytes = builder.build();
    IffFile iff = parsedIff(bytes);
    ASSERT_EQ(iff.map.types[0].entries.size(), 2u);
    // Grow the first chunk so that both chunks move and the difference is visible.
    iff.chunks[0].data += "++";
    iff.chunks[0].sizeField = bytes::int32ToBE(76 + 7);
    IffFile again = parsedIff(iff::serialise(iff));
    const auto& entries = again.map.types[0].entries;
    EXPECT_EQ(entryOffset(entries[0]), again.chunks[2].fileOffset - 1);
    EXPECT_EQ(entryOffset(entries[1]), static_cast<std::int32_t>(builder.chunkOffset(2)));
}

TEST(IffRoundTrip, WriterRefusesChunksItCouldNotStoreFaithfully) {
    const auto expectInvalid = [](IffFile iff) {
        EXPECT_EQ(testkit::errorNumberOf([&] { iff::serialise(iff); }), 5);
    };
    const IffFile good = parsedIff(smallFile().map().build());
    IffFile staleSize = good;
    staleSize.chunks[1].data += "x";
    expectInvalid(staleSize);
    IffFile shortLabel = good;
    shortLabel.chunks[0].label.pop_back();
    expectInvalid(shortLabel);
    IffFile badEntry = good;
    badEntry.map.types[0].entries[0].idField = "12";
    expectInvalid(badEntry);
}

TEST(IffRoundTrip, ASecondMapRightAfterTheFirstIsReadAsTheMap) {
    // Kept as an ordinary chunk, it would be written ahead of the map and read back as
    // the map next time, so the file would change with every save.
    const IffBuilder first = smallFile().map();
    const ByteText second = IffBuilder().map().extraEntry("OBJD", 128, "other").build().substr(64);
    IffFile iff = parsedIff(first.build() + second);
    ASSERT_EQ(iff.chunks.size(), 4u);
    ASSERT_EQ(iff.map.types.size(), 1u);
    EXPECT_EQ(iff.map.types[0].entries[0].name, ByteText("other\0", 6));
    const ByteText written = iff::serialise(iff);
    IffFile again = parsedIff(written);
    EXPECT_EQ(iff::serialise(again), written);
}
