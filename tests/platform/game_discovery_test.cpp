// Finding the game over fake home folders laid out as Wine, Steam (native, Flatpak, a
// second disk), Proton, Lutris and Bottles leave them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/game_discovery.h"
#include "tests/support/temp_folder.h"

namespace drapeline::platform {
namespace {

using testkit::TempFolder;

std::string libraryVdf(const std::vector<std::string>& paths) {
    std::string text = "\"libraryfolders\"\n{\n";
    for (std::size_t i = 0; i < paths.size(); ++i)
        text += "\t\"" + std::to_string(i) + "\"\n\t{\n\t\t\"path\"\t\t\"" + paths[i] +
                "\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"1\"\n\t\t}\n\t}\n";
    return text + "}\n";
}

TEST(LibraryFolders, ReadsBothFormsAndSurvivesDamage) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> paths;
    };
    const std::vector<Case> cases = {
        {"current form", libraryVdf({"/home/p/.local/share/Steam", "/mnt/disk2/Steam Library"}),
         {"/home/p/.local/share/Steam", "/mnt/disk2/Steam Library"}},
        {"old form", "\"LibraryFolders\"\n{\n\"TimeNextStatsReport\" \"1\"\n\"1\" \"/mnt/old\"\n}\n",
         {"/mnt/old"}},
        {"escapes and comments", "// made by hand\n\"libraryfolders\" { \"0\" { \"path\" \"D:\\\\Games\\\"x\" } }",
         {"D:\\Games\"x"}},
        {"cut off inside a string", "\"libraryfolders\" { \"0\" { \"path\" \"/mnt/a\" } \"1\" { \"path\" \"/mnt/b",
         {"/mnt/a"}},
        {"stray braces and bare words", "}}} path /mnt/bare { { \"path\" } ", {"/mnt/bare"}},
        {"binary noise", std::string("\0\xff{\"\x01", 5), {}},
        {"empty", "", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(parseLibraryFolders(c.text), c.paths) << c.what;
}

// Wine prefixes and Steam's Linux folders exist only on Linux.
#ifndef _WIN32
std::string systemReg(const std::string& installPath) {
    return "WINE REGISTRY Version 2\n\n[Software\\\\Wow6432Node\\\\Maxis\\\\The Sims] 1\n"
           "\"InstallPath\"=\"" + installPath + "\"\n";
}

// A prefix whose registry names `windowsFolder` (C:\\...), with Sims.exe in it.
void installInPrefix(const TempFolder& root, const std::string& prefix,
                     const std::string& windowsFolder, const std::string& unixFolder) {
    root.write(prefix + "/system.reg", systemReg(windowsFolder));
    root.write(prefix + "/drive_c/" + unixFolder + "/Sims.exe", "");
}

struct Found {
    std::string folder, source, kind, prefix;
    bool operator==(const Found&) const = default;
};

std::vector<Found> found(const DiscoveryPlaces& places) {
    std::vector<Found> all;
    for (const auto& install : findGameInstalls(places))
        all.push_back({install.folder, install.source, install.kind, install.prefix});
    return all;
}

std::ostream& operator<<(std::ostream& out, const Found& f) {
    return out << "{" << f.folder << ", " << f.source << ", " << f.kind << ", " << f.prefix << "}";
}

std::optional<std::string> installPath(const DiscoveryPlaces& places) {
    return WinePrefixesRegistry(places).readString(RegistryHive::LocalMachine, "Software\\Maxis\\The Sims",
                                                   "InstallPath");
}

class DiscoveryTest : public ::testing::Test {
protected:
    TempFolder home;
    DiscoveryPlaces places{home.path(), ""};
    const std::string steam = ".local/share/Steam";
};

TEST_F(DiscoveryTest, ProtonPrefixOnlyIsFoundByRegistryAndAnswersTheMachineRegistry) {
    const std::string pfx = steam + "/steamapps/compatdata/3314060/pfx";
    installInPrefix(home, pfx, "C:\\\\Program Files\\\\EA Games\\\\The Sims Legacy",
                    "Program Files/EA Games/The Sims Legacy");
    const std::string folder = home / (pfx + "/drive_c/Program Files/EA Games/The Sims Legacy");
    EXPECT_EQ(found(places), (std::vector<Found>{{folder, "registry", "proton", home / pfx}}));

    EXPECT_EQ(installPath(places), folder);
}

TEST_F(DiscoveryTest, SteamLibraryOnASecondDiskListedInTheVdf) {
    TempFolder disk;
    home.write(steam + "/steamapps/libraryfolders.vdf",
               libraryVdf({home / steam, disk / "SteamLibrary"}));
    disk.write("SteamLibrary/steamapps/common/The Sims Legacy Collection/SIMS.EXE", "");
    disk.write("SteamLibrary/steamapps/common/Another Game/game.exe", "");
    EXPECT_EQ(steamLibraries(places), (std::vector<std::string>{home / steam, disk / "SteamLibrary"}));
    EXPECT_EQ(found(places),
              (std::vector<Found>{{disk / "SteamLibrary/steamapps/common/The Sims Legacy Collection",
                                   "steam library", "steam", ""}}));
}

TEST_F(DiscoveryTest, FlatpakSteamProtonPrefixWithoutRegistryEntry) {
    const std::string pfx = ".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/7/pfx";
    home.write(pfx + "/drive_c/Program Files (x86)/Maxis/The Sims/sims.exe", "");
    home.write(pfx + "/system.reg", "WINE REGISTRY Version 2\n");
    EXPECT_EQ(found(places),
              (std::vector<Found>{{home / (pfx + "/drive_c/Program Files (x86)/Maxis/The Sims"),
                                   "program files", "proton", home / pfx}}));
}

TEST_F(DiscoveryTest, LutrisAndBottlesPrefixesInOrderAfterWine) {
    TempFolder elsewhere;
    home.write(".config/lutris/games/the-sims-1.yml",
               "game:\n  exe: x\nwine:\n  version: lutris\n  prefix: '" + elsewhere.path() +
                   "/lutris-sims'\n");
    installInPrefix(elsewhere, "lutris-sims", "C:\\\\Games\\\\Sims", "Games/Sims");
    installInPrefix(home, ".local/share/bottles/bottles/Sims", "C:\\\\Program Files\\\\Maxis\\\\The Sims",
                    "Program Files/Maxis/The Sims");
    installInPrefix(home, ".PlayOnLinux/wineprefix/TheSims", "C:\\\\TS", "TS");
    installInPrefix(home, ".wine", "C:\\\\Sims", "Sims");
    const auto all = found(places);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0], (Found{home / ".wine/drive_c/Sims", "registry", "wine", home / ".wine"}));
    EXPECT_EQ(all[1].kind, "lutris");
    EXPECT_EQ(all[1].folder, elsewhere / "lutris-sims/drive_c/Games/Sims");
    EXPECT_EQ(all[2].kind, "bottles");
    EXPECT_EQ(all[3].kind, "playonlinux");
    // The same folder found again through "Program Files" is not listed twice.
    EXPECT_EQ(all[2].source, "registry");
}

TEST_F(DiscoveryTest, TwoInstallsAtOnceTheWinePrefixVariableAnswersFirst) {
    TempFolder own;
    installInPrefix(own, "p", "C:\\\\Mine", "Mine");
    installInPrefix(home, steam + "/steamapps/compatdata/1/pfx", "C:\\\\Proton", "Proton");
    places.winePrefix = own / "p";
    const auto all = found(places);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].kind, "WINEPREFIX");
    EXPECT_EQ(all[1].kind, "proton");
    EXPECT_EQ(installPath(places), own / "p/drive_c/Mine");
    // A registry value that names no game is still the registry's answer, but no install.
    home.write(".wine/system.reg", systemReg("C:\\\\Gone"));
    places.winePrefix.clear();
    EXPECT_EQ(installPath(places), home / ".wine/drive_c/Gone");
    EXPECT_EQ(found(places).size(), 1u);
}

TEST_F(DiscoveryTest, DamagedLauncherFilesAreSkipped) {
    home.write(steam + "/steamapps/libraryfolders.vdf", std::string("\"libraryfolders\" { \"0\" { \"path\" \"\xff\0", 30));
    home.write(steam + "/config/libraryfolders.vdf", libraryVdf({"/nonexistent/disk", "", "relative/x"}));
    home.write(steam + "/steamapps/compatdata/5/pfx/system.reg", "[Software\\\\Maxis\\\\The Sims\n\"InstallPath\"=\"C:\\");
    home.write(steam + "/steamapps/common/The Sims/Sims.exe", "");
    home.write(".config/lutris/games/broken.yml", "prefix: \"\n\x01\x02 prefix:");
    home.makeFolder(".PlayOnLinux/wineprefix/not-a-prefix");
    EXPECT_EQ(found(places),
              (std::vector<Found>{{home / (steam + "/steamapps/common/The Sims"), "steam library", "steam", ""}}));
    EXPECT_EQ(installPath(places), std::nullopt);
    EXPECT_TRUE(found(DiscoveryPlaces{}).empty());
}
#endif

// Steam escapes the backslashes of Windows paths in its listing.
std::string escaped(std::string path) {
    for (std::size_t at = 0; (at = path.find('\\', at)) != std::string::npos; at += 2) path.insert(at, 1, '\\');
    return path;
}

TEST(WindowsDiscovery, RegistryThenProgramFilesThenSteamLibrariesEachFolderOnce) {
    TempFolder machine;
    machine.write("Program Files/Maxis/The Sims/Sims.exe", "");
    machine.write("Program Files (x86)/EA Games/The Sims Legacy/SIMS.EXE", "");
    machine.makeFolder("Program Files (x86)/Maxis/The Sims");   // uninstalled: no Sims.exe left
    machine.write("Steam/steamapps/libraryfolders.vdf",
                  libraryVdf({escaped(machine / "Steam"), escaped(machine / "D/SteamLibrary"),
                              escaped(machine / "E/gone")}));
    machine.write("D/SteamLibrary/steamapps/common/The Sims Legacy Collection/Sims.exe", "");
    machine.write("D/SteamLibrary/steamapps/common/Another Game/game.exe", "");
    auto found = [](const WindowsPlaces& places) {
        std::vector<std::string> all;
        for (const auto& install : findWindowsGameInstalls(places))
            all.push_back(install.source + " (" + install.kind + "): " + install.folder);
        return all;
    };
    // The registry names a folder the Program Files search finds again.
    const WindowsPlaces places{machine / "Program Files/Maxis/The Sims", machine / "Steam",
                               {machine / "Program Files", machine / "Program Files (x86)"}};
    EXPECT_EQ(found(places),
              (std::vector<std::string>{
                  "registry (windows): " + machine / "Program Files/Maxis/The Sims",
                  "program files (windows): " +
                      resolvePath(machine / "Program Files (x86)", "EA Games/The Sims Legacy"),
                  "steam library (steam): " + resolvePath(machine / "D/SteamLibrary",
                                                          "steamapps/common/The Sims Legacy Collection"),
              }));
    EXPECT_TRUE(found({"", machine / "no Steam", {"", machine / "nowhere"}}).empty());
    EXPECT_TRUE(found({}).empty());
}

}  // namespace
}  // namespace drapeline::platform
