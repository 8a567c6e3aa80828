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

std::int32_t entryOffset(const RsmpEntry& e) { return bytes::int32FromLE(e.Offset); }

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
    EXPECT_TRUE(iff.HasRsmp);
    ASSERT_TRUE(iff.Map.Read);
    ASSERT_EQ(iff.Chunks.size(), builder.chunkCount());
    EXPECT_EQ(iff.Chunks[0].TypeCode, "OBJD");
    EXPECT_EQ(iff.Chunks[0].FileOffset, 65);
    EXPECT_EQ(iff.Chunks[2].IdField, ByteText(WardrobeIdField));
    std::size_t listed = 0;
    for (const auto& type : iff.Map.Types) {
        EXPECT_EQ(static_cast<std::size_t>(type.Count), type.Entries.size());
        listed += type.Entries.size();
    }
    EXPECT_EQ(listed, iff.Chunks.size());
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
        EXPECT_FALSE(iff.HasRsmp);
        EXPECT_TRUE(iff.Map.Read);   // the map chunk was read, but is not written
        EXPECT_EQ(iff::serialise(iff), smallFile().build());
    }
}

TEST(IffRoundTrip, OffsetFieldPromisingAMissingMapWritesNone) {
    IffFile iff = parsedIff(smallFile().offsetField(std::string_view("\0\0\x10\0", 4)).build());
    EXPECT_TRUE(iff.HasRsmp);
    EXPECT_FALSE(iff.Map.Read);
    EXPECT_EQ(iff::serialise(iff), smallFile().build());
}

TEST(IffRoundTrip, MapOffsetsFollowAChunkThatGrew) {
    IffFile iff = parsedIff(testkit::characterFile().build());
    IffChunk& body = iff.Chunks[2];
    body.Data += "0123456789";
    body.SizeField = bytes::int32ToBE(static_cast<std::int32_t>(body.Data.size() + 76));
    std::vector<std::int32_t> before;
    for (const auto& c : iff.Chunks) before.push_back(c.FileOffset);

    IffFile again = parsedIff(iff::serialise(iff));
    ASSERT_EQ(again.Chunks.size(), iff.Chunks.size());
    for (std::size_t i = 0; i < again.Chunks.size(); ++i)
        EXPECT_EQ(again.Chunks[i].FileOffset, before[i] + (i > 2 ? 10 : 0)) << i;
    // Every entry points at its chunk's new place.
    for (const auto& type : again.Map.Types)
        for (const auto& e : type.Entries) {
            const auto at = entryOffset(e);
            const auto it = std::find_if(again.Chunks.begin(), again.Chunks.end(),
                                         [&](const IffChunk& c) { return c.FileOffset - 1 == at; });
            ASSERT_NE(it, again.Chunks.end());
            EXPECT_EQ(bytes::reverseTypeCode(type.TypeCode), it->TypeCode);
        }
}

TEST(IffRoundTrip, TwoChunksWithOneIdShareTheFirstEntry) {
    const IffBuilder builder =
        IffBuilder().chunk("BHAV", 7, "first", "a").chunk("TTAB", 1, "").chunk("BHAV", 7, "second!", "b").map();
    const ByteText bytes = builder.build();
    IffFile iff = parsedIff(bytes);
    ASSERT_EQ(iff.Map.Types[0].Entries.size(), 2u);
    // Grow the first chunk so that both chunks move and the difference is visible.
    iff.Chunks[0].Data += "++";
    iff.Chunks[0].SizeField = bytes::int32ToBE(76 + 7);
    IffFile again = parsedIff(iff::serialise(iff));
    const auto& entries = again.Map.Types[0].Entries;
    EXPECT_EQ(entryOffset(entries[0]), again.Chunks[2].FileOffset - 1);
    EXPECT_EQ(entryOffset(entries[1]), static_cast<std::int32_t>(builder.chunkOffset(2)));
}

TEST(IffRoundTrip, WriterRefusesChunksItCouldNotStoreFaithfully) {
    const auto expectInvalid = [](IffFile iff) {
        EXPECT_EQ(testkit::errorNumberOf([&] { iff::serialise(iff); }), 5);
    };
    const IffFile good = parsedIff(smallFile().map().build());
    IffFile staleSize = good;
    staleSize.Chunks[1].Data += "x";
    expectInvalid(staleSize);
    IffFile shortLabel = good;
    shortLabel.Chunks[0].Label.pop_back();
    expectInvalid(shortLabel);
    IffFile badEntry = good;
    badEntry.Map.Types[0].Entries[0].IdField = "12";
    expectInvalid(badEntry);
}

TEST(IffRoundTrip, ASecondMapRightAfterTheFirstIsReadAsTheMap) {
    // Kept as an ordinary chunk, it would be written ahead of the map and read back as
    // the map next time, so the file would change with every save.
    const IffBuilder first = smallFile().map();
    const ByteText second = IffBuilder().map().extraEntry("OBJD", 128, "other").build().substr(64);
    IffFile iff = parsedIff(first.build() + second);
    ASSERT_EQ(iff.Chunks.size(), 4u);
    ASSERT_EQ(iff.Map.Types.size(), 1u);
    EXPECT_EQ(iff.Map.Types[0].Entries[0].Name, ByteText("other\0", 6));
    const ByteText written = iff::serialise(iff);
    IffFile again = parsedIff(written);
    EXPECT_EQ(iff::serialise(again), written);
}
