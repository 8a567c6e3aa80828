// What only Windows (or Wine) can show: the registry through advapi32 in both of its views,
// replacing a file another program holds open, drive-letter paths and CR LF bytes kept as
// they are. scripts/test-windows.sh writes the registry keys with `wine reg add` first.

#ifdef _WIN32

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "core/errors.h"
#include "platform/files.h"
#include "platform/game_discovery.h"
#include "platform/registry.h"
#include "tests/support/temp_folder.h"

namespace drapeline::platform {
namespace {

using testkit::TempFolder;

TEST(WindowsRegistry, ReadsTheInstallersThirtyTwoBitViewWithReadRightsOnly) {
    if (std::getenv("DRAPELINE_WINE_REGISTRY") == nullptr)
        GTEST_SKIP() << "the keys are written by scripts/test-windows.sh";
    const auto registry = makeMachineRegistry();
    struct Case {
        RegistryHive hive;
        const char* key;
        const char* value;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        // The 64-bit view holds another value under the same name; the game's is the 32-bit one.
        {RegistryHive::LocalMachine, "Software\\Maxis\\The Sims", "InstallPath",
         "C:\\Program Files (x86)\\Maxis\\The Sims"},
        {RegistryHive::LocalMachine, "Software\\Drapeline Test", "Empty", ""},
        {RegistryHive::LocalMachine, "Software\\Drapeline Test", "Fits", std::string(254, 'x')},
        {RegistryHive::LocalMachine, "Software\\Drapeline Test", "TooLong", std::nullopt},
        {RegistryHive::LocalMachine, "Software\\Drapeline Test", "Count", std::nullopt},
        {RegistryHive::LocalMachine, "Software\\Drapeline Test", "Missing", std::nullopt},
        {RegistryHive::LocalMachine, "Software\\No Such Key", "InstallPath", std::nullopt},
        {RegistryHive::LocalMachine, "Software\\Drapeline Test", "OnlySixtyFour", std::nullopt},
        {RegistryHive::CurrentUser, "Software\\Drapeline Test", "Name", "user value"},
    };
    for (const auto& c : cases) EXPECT_EQ(registry->readString(c.hive, c.key, c.value), c.expected) << c.value;
    // A caller's smaller buffer is respected.
    EXPECT_EQ(registry->readString(RegistryHive::LocalMachine, "Software\\Drapeline Test", "Fits", 10),
              std::nullopt);
}

HANDLE openForReading(const std::string& path, DWORD share) {
    return CreateFileW(std::filesystem::path(path).wstring().c_str(), GENERIC_READ, share, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string readHandle(HANDLE h) {
    char buffer[64] = {};
    DWORD read = 0;
    SetFilePointer(h, 0, nullptr, FILE_BEGIN);
    ReadFile(h, buffer, sizeof buffer, &read, nullptr);
    return std::string(buffer, read);
}

TEST(WindowsFiles, ReplaceWaitsForAReaderAndRefusesOneThatStays) {
    TempFolder folder;
    const std::string target = folder.write("User00001.iff", "old bytes");

    // A reader that lets go soon: the save waits for it and then replaces the file.
    HANDLE brief = openForReading(target, FILE_SHARE_READ | FILE_SHARE_DELETE);
    ASSERT_NE(brief, INVALID_HANDLE_VALUE);
    std::thread letGo([brief] {
        Sleep(150);
        CloseHandle(brief);
    });
    replaceFileAtomically(target, "new bytes");
    letGo.join();
    EXPECT_EQ(readFile(target), "new bytes");

    // A reader that stays (the game has the file open): the save is refused as such, the
    // file stays whole and no temporary file is left behind.
    HANDLE staying = openForReading(target, FILE_SHARE_READ);
    ASSERT_NE(staying, INVALID_HANDLE_VALUE);
    try {
        replaceFileAtomically(target, "newer bytes");
        ADD_FAILURE() << "replaced a file another program holds open";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::PermissionDenied);
    }
    EXPECT_EQ(readHandle(staying), "new bytes");
    CloseHandle(staying);
    EXPECT_EQ(readFile(target), "new bytes");
    EXPECT_EQ(listFolder(folder.path(), "*", Listing::FilesAndFolders),
              (std::vector<std::string>{"User00001.iff"}));
}

TEST(WindowsFiles, DriveLetterPathsAndBackslashes) {
    TempFolder folder;
    ASSERT_GE(folder.path().size(), 3u);
    EXPECT_EQ(folder.path()[1], ':');
    EXPECT_EQ(nativeSeparator(), '\\');
    folder.write("The Sims/SIMS.EXE", "MZ");
    folder.write("The Sims/UserData2/Characters/User00001.iff", "x");
    const std::string game = folder / "The Sims";

    EXPECT_TRUE(holdsSimsExe(game));
    std::string forward = game;
    for (char& c : forward) if (c == '\\') c = '/';
    EXPECT_TRUE(holdsSimsExe(forward + "/"));
    // Windows would open any spelling; the path names each part as it is on disk.
    EXPECT_EQ(resolvePath(game, "userdata2\\characters/USER00001.IFF"),
              game + "\\UserData2\\Characters\\User00001.iff");
    EXPECT_EQ(joinPath("C:\\Games\\", "Sims"), "C:\\Games\\Sims");
    EXPECT_EQ(fileNameOf("C:\\Games/The Sims\\Sims.exe"), "Sims.exe");
    EXPECT_EQ(folderOf("C:\\Games\\The Sims\\Sims.exe"), "C:\\Games\\The Sims");
    EXPECT_EQ(listFolder(game + "\\UserData2\\Characters", "user*.iff", Listing::FilesOnly),
              (std::vector<std::string>{"User00001.iff"}));
}

TEST(WindowsFiles, CrLfBytesAreWrittenAndReadAsTheyAre) {
    TempFolder folder;
    const std::string path = folder / "Ensemble.enx";
    const ByteText text = "line one\r\nline two\r\n\n\x1a tail";
    replaceFileAtomically(path, text);
    EXPECT_EQ(std::filesystem::file_size(path), text.size());
    EXPECT_EQ(readFile(path), text);
}

}  // namespace
}  // namespace drapeline::platform

#endif
