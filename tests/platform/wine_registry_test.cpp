#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/wine_registry.h"
#include "tests/platform/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace drapeline::platform {
namespace {

using testkit::TempFolder;

const std::string kSims = "Software\\Maxis\\The Sims";

const std::string kSystemReg = R"(WINE REGISTRY Version 2
;; All keys relative to \\Machine

#arch=win32

[Software\\Maxis] 1234567890
"InstallPath"="C:\\wrong\\parent"

[Software\\Maxis\\The Sims] 1234567890
#time=1d2a3b4c5d6e7f8
"InstallPath"="C:\\Program Files\\Maxis\\The Sims"
"Quoted"="say \"hi\" \\\\server\\share"
"Empty"=""
"Count"=dword:00000001
"Blob"=hex:01,02,\
  03,04
"Expand"=str(2):"%ProgramFiles%\\Maxis"
"Multi"=str(7):"a\0b\0"
@="default text"
"Nul"="before\0after"
"Accent"="Caf\xe9 \x263a \xd83d\xde00"
"Controls"="tab\there\r\n"
"Bad"="unterminated
  this line is no value at all
"=
"Spaced" = "around the equals"

[Software\\Maxis\\The Sims\\Sub] 1234567890
"SubOnly"="from the subkey"

[Software\\Other] 1
"Expand"="from another key"
)";

TEST(FindRegistryString, ReadsStringValuesAndRefusesTheRest) {
    struct Case {
        std::string key;
        std::string value;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {kSims, "InstallPath", "C:\\Program Files\\Maxis\\The Sims"},
        {"SOFTWARE\\maxis\\THE SIMS", "installpath", "C:\\Program Files\\Maxis\\The Sims"},
        {"\\Software\\Maxis\\The Sims\\", "InstallPath", "C:\\Program Files\\Maxis\\The Sims"},
        {kSims, "Quoted", "say \"hi\" \\\\server\\share"},
        {kSims, "Empty", ""},
        {kSims, "Expand", "%ProgramFiles%\\Maxis"},
        {kSims, "", "default text"},
        {kSims, "Nul", "before"},
        {kSims, "Accent", "Caf\xC3\xA9 \xE2\x98\xBA \xF0\x9F\x98\x80"},
        {kSims, "Controls", "tab\there\r\n"},
        {kSims, "Spaced", "around the equals"},
        {kSims, "Count", std::nullopt},
        {kSims, "Blob", std::nullopt},
        {kSims, "Multi", std::nullopt},
        {kSims, "Bad", std::nullopt},
        {kSims, "Missing", std::nullopt},
        {kSims, "SubOnly", std::nullopt},   // a subkey's values are not the key's
        {"Software\\Maxis\\The Sims 2", "InstallPath", std::nullopt},
        {"Software\\Maxis", "InstallPath", "C:\\wrong\\parent"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findRegistryString(kSystemReg, c.key, c.value), c.expected)
            << c.key << " / " << c.value;
}

TEST(FindRegistryString, PrefersTheThirtyTwoBitView) {
    const std::string onlyWow =
        "[Software\\\\Wow6432Node\\\\Maxis\\\\The Sims]\n\"InstallPath\"=\"C:\\\\wow\"\n";
    EXPECT_EQ(findRegistryString(onlyWow, kSims, "InstallPath"), "C:\\wow");

    const std::string both = "[Software\\\\Maxis\\\\The Sims]\r\n\"InstallPath\"=\"C:\\\\plain\"\r\n"
                             "[software\\\\WOW6432NODE\\\\maxis\\\\the sims]\r\n"
                             "\"InstallPath\"=\"C:\\\\wow\"\r\n";
    EXPECT_EQ(findRegistryString(both, kSims, "InstallPath"), "C:\\wow");

    // The 32-bit key exists but lacks the value, or holds no string: the other key answers.
    const std::string wowWithout = "[Software\\\\Wow6432Node\\\\Maxis\\\\The Sims]\n\"X\"=\"y\"\n"
                                   "\"InstallPath\"=dword:00000001\n"
                                   "[Software\\\\Maxis\\\\The Sims]\n\"InstallPath\"=\"C:\\\\plain\"\n";
    EXPECT_EQ(findRegistryString(wowWithout, kSims, "InstallPath"), "C:\\plain");
}

TEST(FindRegistryString, SurvivesDamagedFiles) {
    // Every truncation of a real-looking file: sections, escapes and strings cut anywhere.
    for (std::size_t n = 0; n <= kSystemReg.size(); ++n)
        (void)findRegistryString(kSystemReg.substr(0, n), kSims, "Accent");

    const std::string junk[] = {
        std::string("\0\0\0[\0]\n\"\0\"=\"\0\n", 14),
        "[\n[\\\n[\\\\\n\"\n\"\\\n\"a\"\n\"a\"=\n\"a\"=\"\\x\n\"a\"=\"\\777\\xffffff\n@\n@=\n@=str(2)\n",
        std::string(100000, '['),
        std::string(100000, '\\'),
        "[Software\\\\Maxis\\\\The Sims\n\"InstallPath\"=\"C:\\\\nope\"\n",
    };
    for (const std::string& text : junk) EXPECT_EQ(findRegistryString(text, kSims, "InstallPath"), std::nullopt);

    const std::string afterJunk = junk[1] + "[Software\\\\Maxis\\\\The Sims]\n\"InstallPath\"=\"C:\\\\ok\"\n";
    EXPECT_EQ(findRegistryString(afterJunk, kSims, "InstallPath"), "C:\\ok");
}

TEST(MapWindowsPath, DrivesMapIntoThePrefix) {
    struct Case {
        const char* windows;
        const char* native;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Maxis\\The Sims", "/p/drive_c/Program Files/Maxis/The Sims"},
        {"c:/Games//Sims/", "/p/drive_c/Games/Sims"},
        {"C:\\", "/p/drive_c"},
        {"D:\\Games\\The Sims", "/p/dosdevices/d:/Games/The Sims"},
        {"z:\\home\\me", "/p/dosdevices/z:/home/me"},
        {"\\\\server\\share\\The Sims", "\\\\server\\share\\The Sims"},
        {"C:relative", "C:relative"},
        {"1:\\x", "1:\\x"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(mapWindowsPath("/p/", c.windows), c.native) << c.windows;
}

using testkit::ScopedEnv;

std::string installEntry(const std::string& value, const std::string& name = "InstallPath") {
    return "WINE REGISTRY Version 2\n\n[Software\\\\Maxis\\\\The Sims] 1\n\"" + name + "\"=" +
           value + "\n";
}

class WineRegistryTest : public ::testing::Test {
protected:
    std::optional<std::string> read(std::size_t bufferBytes = Registry::kBufferBytes) {
        return WineRegistry(prefix.path()).readString(RegistryHive::LocalMachine, kSims, "InstallPath",
                                                      bufferBytes);
    }
    TempFolder prefix;
};

#ifndef _WIN32
TEST_F(WineRegistryTest, FindsTheGameOnAnotherDriveThroughDosdevices) {
    TempFolder drive;
    drive.write("Games/The Sims/Sims.exe", "");
    prefix.makeFolder("dosdevices");
    fs::create_symlink(drive.path(), prefix / "dosdevices/d:");
    prefix.write("system.reg", installEntry("\"D:\\\\Games\\\\The Sims\""));
    const std::string found = read().value_or("");
    EXPECT_EQ(found, prefix.path() + "/dosdevices/d:/Games/The Sims");
    EXPECT_TRUE(fileExists(joinPath(found, "Sims.exe")));
}
#endif

TEST_F(WineRegistryTest, AnswersNothingForWhatCannotBeRead) {
    EXPECT_EQ(read(), std::nullopt);   // no system.reg at all
    prefix.write("user.reg", installEntry("\"C:\\\\user\""));
    EXPECT_EQ(read(), std::nullopt);   // the user's hive is not the machine's
    EXPECT_EQ(WineRegistry(prefix.path()).readString(RegistryHive::CurrentUser, kSims, "InstallPath"),
              prefix.path() + "/drive_c/user");
    prefix.makeFolder("system.reg");
    EXPECT_EQ(read(), std::nullopt);   // not a file
    fs::remove(prefix / "system.reg");

    prefix.write("system.reg", installEntry("dword:00000001"));
    EXPECT_EQ(read(), std::nullopt);
    prefix.write("system.reg", installEntry("\"C:\\\\x\"", "OtherValue"));
    EXPECT_EQ(read(), std::nullopt);

    prefix.write("system.reg", installEntry("\"\""));
    EXPECT_EQ(read(), "");
}

TEST_F(WineRegistryTest, ValueMustFitTheBufferWithItsNul) {
    const std::string fits(254, 'x'), tooLong(255, 'x');
    prefix.write("system.reg", installEntry("\"" + fits + "\""));
    EXPECT_EQ(read(), fits);

    prefix.write("system.reg", installEntry("\"" + tooLong + "\""));
    EXPECT_EQ(read(), std::nullopt);
    EXPECT_EQ(read(300), tooLong);
}

TEST_F(WineRegistryTest, TheMachineRegistryReadsThePrefixInUse) {
    prefix.write("drive_c/Games/Sims/Sims.exe", "");
    prefix.write("system.reg", installEntry("\"C:\\\\Games\\\\Sims\""));
    ScopedEnv env("WINEPREFIX", (prefix.path() + "/").c_str());
    EXPECT_EQ(winePrefix(), prefix.path());
    EXPECT_EQ(makeMachineRegistry()->readString(RegistryHive::LocalMachine, kSims, "InstallPath"),
              prefix.path() + "/drive_c/Games/Sims");

    ScopedEnv unset("WINEPREFIX", "");
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(winePrefix(), "/home/someone/.wine");
}

}  // namespace
}  // namespace drapeline::platform
