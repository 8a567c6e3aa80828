#include <gtest/gtest.h>

#include "core/binary_support.h"
#include "core/file_io.h"
#include "tests/support/doubles.h"

using namespace drapeline;
using namespace drapeline::bytes;

namespace {

ByteText b(std::initializer_list<int> values) {
    ByteText out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

}  // namespace

// Each row read and written both ways, so every value also makes the round trip.
TEST(Numbers, ReadAndWriteBothByteOrdersWithSign) {
    struct Case {
        ByteText bytes;
        std::int32_t le, be;
    };
    const Case cases[] = {
        {b({0x02, 0, 0, 0}), 2, 0x02000000},
        {b({0xFF, 0xFF, 0xFF, 0xFF}), -1, -1},
        {b({0, 0, 0x01, 0x2C}), 0x2C010000, 300},
        {b({0xFE, 0xFF, 0xFF, 0xFF}), -2, -16777217},
        {b({0x80, 0, 0, 0}), 128, INT32_MIN},
        {b({0x7F, 0xFF, 0xFF, 0xFF}), -129, INT32_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(int32FromLE(c.bytes), c.le);
        EXPECT_EQ(int32FromBE(c.bytes), c.be);
        EXPECT_EQ(int32ToLE(c.le), c.bytes);
        EXPECT_EQ(int32ToBE(c.be), c.bytes);
    }
}

TEST(Numbers, AnythingButFourBytesIsAnInvalidCall) {
    for (const char* text : {"", "abc", "abcde"}) {
        EXPECT_EQ(testkit::errorNumberOf([&] { int32FromLE(text); }), 5) << text;
        EXPECT_THROW(int32FromBE(text), RuntimeError);
    }
}

TEST(Texts, TrimNullCutsAtTheFirstNul) {
    EXPECT_EQ(trimNul(std::string_view("web_image\0\0x\0", 13)), "web_image");
    EXPECT_EQ(trimNul(std::string_view("\0abc", 4)), "");
    EXPECT_EQ(testkit::errorNumberOf([] { trimNul("no terminator"); }), 5);
}

TEST(Texts, ReverseTypeCodeOnlyForFourBytes) {
    EXPECT_EQ(reverseTypeCode("DJBO"), "OBJD");
    EXPECT_EQ(reverseTypeCode("#RTS"), "STR#");
    for (const char* odd : {"", "abc", "abcde"}) EXPECT_EQ(reverseTypeCode(odd), "    ");
}

TEST(Texts, HexToByteIsLenientAboutDigitsButNotLength) {
    const std::pair<const char*, int> cases[] = {
        {"C8", 200}, {"c8", 200}, {"7", 7}, {"G5", 5}, {"5G", 80}, {"FF", 255},
        {"00", 0},   {"", -1},    {"100", -1},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(hexToByte(text), value) << text;
}

TEST(Texts, HexToBytesTakesFourGroups) {
    EXPECT_EQ(hexToBytes("00 C8 00 10"), b({0x00, 0xC8, 0x00, 0x10}));
    EXPECT_EQ(hexToBytes("1 2 3 f"), b({1, 2, 3, 15}));
    // The fourth group is the whole rest; too long a group is rejected.
    for (const char* bad : {"00 C8 00", "00C80010", "00 C8 00 10 20", " C8 00 10", "00 C8 00 "})
        EXPECT_EQ(testkit::errorNumberOf([&] { hexToBytes(bad); }), 5) << bad;
}

TEST(Texts, CleanFileNameKeepsOnlySafeCharacters) {
    using iff::cleanFileName;
    EXPECT_EQ(cleanFileName("Bob's Room #2"), "BobsRoom2");
    EXPECT_EQ(cleanFileName("rel. images"), "relimages");
    EXPECT_EQ(cleanFileName("web_image"), "web_image");
    EXPECT_EQ(cleanFileName(std::string_view("a-b\xE9\xFF/\\:\0c", 10)), "a-bc");
    EXPECT_EQ(cleanFileName("../.."), "");
}

// What a writer compares before replacing a file: any one changed byte, anywhere, shows.
TEST(FileIdentity, TellsEveryChangedByteAndKeepsEqualContentEqual) {
    std::string bytes(101, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    const FileIdentity original = identityOf(bytes);
    EXPECT_EQ(identityOf(std::string(bytes)), original);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::string changed = bytes;
        changed[i] = static_cast<char>(changed[i] ^ 1);
        EXPECT_NE(identityOf(changed), original) << i;
    }
}
