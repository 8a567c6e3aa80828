#include <gtest/gtest.h>

#include "core/binary_support.h"
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

TEST(Numbers, ReadBothByteOrdersWithSign) {
    struct Case {
        ByteText bytes;
        std::int32_t le, be;
    };
    const Case cases[] = {
        {b({0x02, 0, 0, 0}), 2, 0x02000000},
        {b({0xFF, 0xFF, 0xFF, 0xFF}), -1, -1},
        {b({0, 0, 0x01, 0x2C}), 0x2C010000, 300},
        {b({0x80, 0, 0, 0}), 128, INT32_MIN},
        {b({0x7F, 0xFF, 0xFF, 0xFF}), -129, INT32_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(int32FromLE(c.bytes), c.le);
        EXPECT_EQ(int32FromBE(c.bytes), c.be);
    }
}

TEST(Numbers, WriteBothByteOrdersAndRoundTrip) {
    EXPECT_EQ(int32ToLE(300), b({0x2C, 0x01, 0, 0}));
    EXPECT_EQ(int32ToBE(300), b({0, 0, 0x01, 0x2C}));
    EXPECT_EQ(int32ToLE(-2), b({0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(int32ToBE(-2), b({0xFF, 0xFF, 0xFF, 0xFE}));
    for (std::int32_t v : {0, 1, -1, 76, 65536, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(int32FromLE(int32ToLE(v)), v);
        EXPECT_EQ(int32FromBE(int32ToBE(v)), v);
    }
}

TEST(Numbers, AnythingButFourBytesIsAnInvalidCall) {
    for (const char* text : {"", "abc", "abcde"}) {
        try {
            int32FromLE(text);
            ADD_FAILURE() << text;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 5);
        }
        EXPECT_THROW(int32FromBE(text), RuntimeError);
    }
}

TEST(Texts, TrimNullCutsAtTheFirstNul) {
    EXPECT_EQ(trimNul(std::string_view("web_image\0\0x\0", 13)), "web_image");
    EXPECT_EQ(trimNul(std::string_view("\0abc", 4)), "");
    EXPECT_THROW(trimNul("no terminator"), RuntimeError);
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
    for (const char* bad : {"00 C8 00", "00C80010", "00 C8 00 10 20", " C8 00 10", "00 C8 00 "}) {
        try {
            hexToBytes(bad);
            ADD_FAILURE() << bad;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 5) << bad;
        }
    }
}

TEST(Texts, CleanFileNameKeepsOnlySafeCharacters) {
    using iff::cleanFileName;
    EXPECT_EQ(cleanFileName("Bob's Room #2"), "BobsRoom2");
    EXPECT_EQ(cleanFileName("rel. images"), "relimages");
    EXPECT_EQ(cleanFileName("web_image"), "web_image");
    EXPECT_EQ(cleanFileName(std::string_view("a-b\xE9\xFF/\\:\0c", 10)), "a-bc");
    EXPECT_EQ(cleanFileName("../.."), "");
}

TEST(Texts, InvalidCallsReachTheCallersGuard) {
    testkit::TrapRecorder trap;
    EXPECT_THROW(guarded("modIFFsupport", "gsDumpBMPs", Stages::None,
                         [] { return trimNul("x"); }),
                 ProgramEnded);
    EXPECT_EQ(trap.last.number, 5);
    EXPECT_EQ(trap.last.description, "Invalid procedure call or argument");
}
