#include <gtest/gtest.h>

#include "core/binary_support.h"
#include "tests/support/doubles.h"

using namespace drapeline;
using namespace drapeline::modBinarySupport;

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
        EXPECT_EQ(gflngStrToLongLE(c.bytes), c.le);
        EXPECT_EQ(gflngStrToLongBE(c.bytes), c.be);
    }
}

TEST(Numbers, WriteBothByteOrdersAndRoundTrip) {
    EXPECT_EQ(gfstrLongToStrLE(300), b({0x2C, 0x01, 0, 0}));
    EXPECT_EQ(gfstrLongToStrBE(300), b({0, 0, 0x01, 0x2C}));
    EXPECT_EQ(gfstrLongToStrLE(-2), b({0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(gfstrLongToStrBE(-2), b({0xFF, 0xFF, 0xFF, 0xFE}));
    for (std::int32_t v : {0, 1, -1, 76, 65536, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(gflngStrToLongLE(gfstrLongToStrLE(v)), v);
        EXPECT_EQ(gflngStrToLongBE(gfstrLongToStrBE(v)), v);
    }
}

TEST(Numbers, AnythingButFourBytesIsAnInvalidCall) {
    for (const char* text : {"", "abc", "abcde"}) {
        try {
            gflngStrToLongLE(text);
            ADD_FAILURE() << text;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 5);
        }
        EXPECT_THROW(gflngStrToLongBE(text), RuntimeError);
    }
}

TEST(Texts, TrimNullCutsAtTheFirstNul) {
    EXPECT_EQ(gfstrTrimNull(std::string_view("web_image\0\0x\0", 13)), "web_image");
    EXPECT_EQ(gfstrTrimNull(std::string_view("\0abc", 4)), "");
    EXPECT_THROW(gfstrTrimNull("no terminator"), RuntimeError);
}

TEST(Texts, ReverseTypeCodeOnlyForFourBytes) {
    EXPECT_EQ(gfstrReverseTypeCode("DJBO"), "OBJD");
    EXPECT_EQ(gfstrReverseTypeCode("#RTS"), "STR#");
    for (const char* odd : {"", "abc", "abcde"}) EXPECT_EQ(gfstrReverseTypeCode(odd), "    ");
}

TEST(Texts, HexToByteIsLenientAboutDigitsButNotLength) {
    const std::pair<const char*, int> cases[] = {
        {"C8", 200}, {"c8", 200}, {"7", 7}, {"G5", 5}, {"5G", 80}, {"FF", 255},
        {"00", 0},   {"", -1},    {"100", -1},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(gfintHexToByte(text), value) << text;
}

TEST(Texts, HexToBytesTakesFourGroups) {
    EXPECT_EQ(gfstrHexToBytes("00 C8 00 10"), b({0x00, 0xC8, 0x00, 0x10}));
    EXPECT_EQ(gfstrHexToBytes("1 2 3 f"), b({1, 2, 3, 15}));
    // The fourth group is the whole rest; too long a group is rejected.
    for (const char* bad : {"00 C8 00", "00C80010", "00 C8 00 10 20", " C8 00 10", "00 C8 00 "}) {
        try {
            gfstrHexToBytes(bad);
            ADD_FAILURE() << bad;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 5) << bad;
        }
    }
}

TEST(Texts, CleanFileNameKeepsOnlySafeCharacters) {
    using modIFFsupport::gfstrCleanFileName;
    EXPECT_EQ(gfstrCleanFileName("Bob's Room #2"), "BobsRoom2");
    EXPECT_EQ(gfstrCleanFileName("rel. images"), "relimages");
    EXPECT_EQ(gfstrCleanFileName("web_image"), "web_image");
    EXPECT_EQ(gfstrCleanFileName(std::string_view("a-b\xE9\xFF/\\:\0c", 10)), "a-bc");
    EXPECT_EQ(gfstrCleanFileName("../.."), "");
}

TEST(Texts, InvalidCallsReachTheCallersGuard) {
    testkit::TrapRecorder trap;
    EXPECT_THROW(guarded("modIFFsupport", "gsDumpBMPs", Stages::None,
                         [] { return gfstrTrimNull("x"); }),
                 ProgramEnded);
    EXPECT_EQ(trap.last.ErrNumber, 5);
    EXPECT_EQ(trap.last.ErrDescription, "Invalid procedure call or argument");
}
