#include <gtest/gtest.h>

#include "core/binary_support.h"
#include "core/string_set.h"
#include "tests/support/doubles.h"
#include "testkit/fixture_sim.h"

using namespace drapeline;
using testkit::StringSetLayout;

namespace {

std::int32_t errorOf(std::string_view data) {
    return testkit::errorNumberOf([&] { strings::decode(data); });
}

using testkit::parsedIff;

}  // namespace

TEST(StringSets, DecodeAndEncodeGiveBackTheSameBytes) {
    StringSetLayout odd;
    odd.formatCode = ByteText("\x01\x02", 2);
    odd.trailer = ByteText("\0tail\xFF", 6);
    const ByteText cases[] = {
        testkit::stringSetData(testkit::adultFemaleBodyStrings()),
        testkit::stringSetData({{"Bella", "first name", 1}, {"", "", 0}, {"\xE9t\xE9", "", 0xFF}}),
        testkit::stringSetData(std::vector<std::string>{"only"}, odd),
    };
    for (const auto& data : cases) EXPECT_EQ(strings::encode(strings::decode(data)), data);

    const StringSet set = strings::decode(cases[1]);
    ASSERT_EQ(set.entries.size(), 3u);
    EXPECT_EQ(set.entries[0].text, "Bella");
    EXPECT_EQ(set.entries[0].comment, "first name");
    EXPECT_EQ(set.entries[2].languageCode, 0xFF);
    const StringSet trailing = strings::decode(cases[2]);
    EXPECT_EQ(trailing.formatCode, ByteText("\x01\x02", 2));
    EXPECT_EQ(trailing.trailer, ByteText("\0tail\xFF", 6));
}

TEST(StringSets, SetsThatCanNotBeDecodedAreRunTimeErrors) {
    StringSetLayout zero;
    zero.count = 0;
    StringSetLayout claimsMore;
    claimsMore.count = 3;
    StringSetLayout over;
    over.count = 32768;
    const std::vector<std::string> many(32768, "");
    const std::pair<ByteText, std::int32_t> cases[] = {
        {testkit::stringSetData(std::vector<std::string>{"a"}, zero), 9},
        {testkit::stringSetData(std::vector<std::string>{"a", "b"}, claimsMore), 5},
        {ByteText("\xFD\xFF\x01\x00\x01no nul", 11), 5},
        {ByteText("\xFD\xFF\x01\x00\x01text\0comment", 17), 5},
        {ByteText("\xFD\xFF\x01", 3), 5},
        {ByteText(), 5},
        {testkit::stringSetData(many, over), 6},
    };
    for (const auto& [data, number] : cases) EXPECT_EQ(errorOf(data), number) << data.size();
    EXPECT_EQ(errorOf(testkit::stringSetData(std::vector<std::string>(32767, ""))), 0);
}

TEST(StringSets, EncodeRefusesWhatWouldReadBackDifferently) {
    StringSet set = strings::decode(testkit::stringSetData(std::vector<std::string>{"a"}));
    set.entries[0].text = ByteText("a\0b", 3);
    EXPECT_THROW(strings::encode(set), RuntimeError);
    set.entries[0].text = "a";
    set.countField = "1";
    EXPECT_THROW(strings::encode(set), RuntimeError);
}

TEST(StringSets, ReadPicksTheFirstMatchingChunkByTypeAndWholeIdField) {
    const IffFile iff = parsedIff(testkit::IffBuilder()
                                   .chunkWithIdField("STR#", testkit::idField(200, 0, 0x11),
                                                     testkit::stringSetData(std::vector<std::string>{"wrong kept bytes"}))
                                   .ctss(200, {"name set"})
                                   .strings(200, {"first"})
                                   .strings(200, {"second"})
                                   .build());
    StringSet set;
    iff::readStringSet(iff, set, WardrobeIdField, false);
    ASSERT_EQ(set.entries.size(), 1u);
    EXPECT_EQ(set.entries[0].text, "first");
    iff::readStringSet(iff, set, WardrobeIdField, true);
    EXPECT_EQ(set.entries[0].text, "name set");
    // No such chunk: the set stays as it was.
    iff::readStringSet(iff, set, bytes::hexToBytes("00 C9 00 10"), false);
    EXPECT_EQ(set.entries[0].text, "name set");
}

TEST(StringSets, WriteStoresEveryMatchingChunkAndItsSize) {
    IffFile iff = parsedIff(testkit::IffBuilder()
                             .strings(200, {"adult", "b001"})
                             .chunk("OBJD", 1, "x")
                             .strings(200, {"adult", "b001"})
                             .build());
    const ByteText objdBefore = iff.chunks[1].data;
    StringSet set;
    iff::readStringSet(iff, set, WardrobeIdField, false);
    const auto sizeBefore = bytes::int32FromBE(iff.chunks[0].sizeField);
    set.entries[1].text += "12345";
    iff::writeStringSet(iff, set, WardrobeIdField, false);
    for (const std::size_t i : {0u, 2u}) {
        EXPECT_EQ(bytes::int32FromBE(iff.chunks[i].sizeField), sizeBefore + 5);
        EXPECT_EQ(iff.chunks[i].data, strings::encode(set));
    }
    EXPECT_EQ(iff.chunks[1].data, objdBefore);
    // Nothing to write to: nothing changes.
    const IffFile before = iff;
    iff::writeStringSet(iff, set, WardrobeIdField, true);
    EXPECT_EQ(iff.chunks[0].data, before.chunks[0].data);
}

TEST(StringSets, GuardedProceduresTrapWithoutStages) {
    testkit::TrapRecorder trap;
    StringSetLayout zero;
    zero.count = 0;
    IffFile iff = parsedIff(testkit::IffBuilder()
                             .chunkWithIdField("STR#", ByteText(WardrobeIdField),
                                               testkit::stringSetData(std::vector<std::string>{"a"}, zero))
                             .build());
    markStage(2000);
    StringSet set;
    EXPECT_THROW(iff::readStringSet(iff, set, WardrobeIdField, false), ProgramEnded);
    EXPECT_EQ(trap.last.number, 9);
    EXPECT_EQ(trap.last.module, "modIFFsupport");
    EXPECT_EQ(trap.last.procedure, "gsReadSTRSegment");
    EXPECT_EQ(trap.last.stage, 0);

    set.formatCode = "x";
    EXPECT_THROW(iff::writeStringSet(iff, set, WardrobeIdField, false), ProgramEnded);
    EXPECT_EQ(trap.last.procedure, "gsWriteSTRSegment");
    EXPECT_EQ(trap.calls, 2);
}
