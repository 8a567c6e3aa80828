#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/files.h"

namespace drapeline::platform {
namespace {

TEST(WildcardMatch, MatchesWholeNamesWithoutRegardToCase) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"user*.iff", "User00001.IFF", true},
        {"user*.iff", "user.iff", true},
        {"user*.iff", "user01.iff.bak", false},   // whole names, not a prefix
        {"user*.iff", "auser01.iff", false},
        {"*.cmx", "B001FAFit_01.CMX", true},
        {"*.cmx", "cmx", false},
        {"Userdata*", "USERDATA3", true},
        {"Userdata*", "UserDat", false},
        {"S001FAFitlgt_*.bmp", "s001fafitLGT_Alice.BMP", true},
        {"????.txt", "abcd.txt", true},
        {"????.txt", "abc.txt", false},
        {"????.txt", "abcde.txt", false},
        {"a?c", "a.c", true},
        {"*", "", true},
        {"*", "anything at all", true},
        {"", "", true},
        {"", "a", false},
        {"**a**", "bab", true},
        {"*a*b", "aXbXb", true},      // the last b must end the name: backtracking needed
        {"*a*b", "aXbXa", false},
        {"x*", "X", true},
        // Only ASCII letters fold: the bytes of other characters compare exactly.
        {"\xC9t\xC9", "\xE9T\xE9", false},
        {"\xC9t\xC9", "\xC9T\xC9", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wildcardMatch(c.pattern, c.name), c.matches)
            << "pattern \"" << c.pattern << "\" name \"" << c.name << "\"";
}

TEST(WildcardMatch, PathologicalPatternsFinish) {
    // A backtracking matcher needs about name^stars steps here; ours needs about
    // name x pattern. Were it exponential, this test would not end.
    const std::string name(2000, 'a');
    EXPECT_FALSE(wildcardMatch("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b", name));
    EXPECT_TRUE(wildcardMatch("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a", name));
}

TEST(CaseInsensitiveOrder, IsTotalAndIgnoresCaseFirst) {
    std::vector<std::string> names = {"b.bmp", "A.bmp", "a.bmp", "_x", "B.bmp", "ab", "Ab",
                                      "a", "\xE9", "Z"};
    std::sort(names.begin(), names.end(),
              [](const std::string& x, const std::string& y) { return lessIgnoringCase(x, y); });
    // "_" (0x5F) sorts before letters once they are folded to lower case (0x61...), and
    // a name differing only in case comes after its capitalised twin (byte order).
    const std::vector<std::string> expected = {"_x", "a", "A.bmp", "a.bmp", "Ab", "ab",
                                               "B.bmp", "b.bmp", "Z", "\xE9"};
    EXPECT_EQ(names, expected);

    EXPECT_TRUE(equalIgnoringCase("GameData", "gAMEdATA"));
    EXPECT_FALSE(equalIgnoringCase("GameData", "GameData2"));
    EXPECT_FALSE(equalIgnoringCase("[", "{"));   // 0x5B and 0x7B are not case pairs
    EXPECT_FALSE(lessIgnoringCase("a", "a"));
}

TEST(PathTexts, JoinAndSplit) {
    const std::string s(1, nativeSeparator());
    EXPECT_EQ(joinPath("game", "Sims.exe"), "game" + s + "Sims.exe");
    EXPECT_EQ(joinPath("game/", "Sims.exe"), "game/Sims.exe");
    EXPECT_EQ(joinPath("game\\", "Sims.exe"), "game\\Sims.exe");
    EXPECT_EQ(joinPath("", "Sims.exe"), "Sims.exe");

    struct Case {
        const char* path;
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {"/games/The Sims/Sims.exe", "/games/The Sims", "Sims.exe"},
        {"C:\\Games\\The Sims\\Sims.exe", "C:\\Games\\The Sims", "Sims.exe"},
        {"a/b\\c.iff", "a/b", "c.iff"},
        {"a//c.iff", "a", "c.iff"},
        {"c.iff", "", "c.iff"},
        {"/c.iff", "/", "c.iff"},
        {"a/b/", "a/b", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(folderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(fileNameOf(c.path), c.name) << c.path;
    }
}

}  // namespace
}  // namespace drapeline::platform
