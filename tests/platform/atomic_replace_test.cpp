#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/files.h"
#include "tests/support/doubles.h"
#include "tests/support/process.h"
#include "tests/support/temp_folder.h"
#ifndef _WIN32
#include "tests/support/unprivileged.h"   // POSIX permissions
#endif

namespace fs = std::filesystem;

namespace drapeline::platform {
namespace {

using testkit::TempFolder;

std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ReplaceFileAtomically, CreatesOrReplacesAndLeavesNothingElse) {
    TempFolder root;
    const std::string target = root / "User00001.iff";
    replaceFileAtomically(target, "first");
    EXPECT_EQ(readFile(target), "first");

    const std::string binary("\0\x01\xFF tail", 8);
    replaceFileAtomically(target, binary);
    EXPECT_EQ(readFile(target), binary);
    replaceFileAtomically(target, "");   // shorter: no tail of the old content survives
    EXPECT_EQ(readFile(target), "");
    EXPECT_EQ(entriesOf(root.path()), std::vector<std::string>{"User00001.iff"});
}

#ifndef _WIN32
TEST(ReplaceFileAtomically, KeepsTheTargetsPermissions) {
    TempFolder root;
    const std::string target = root.write("ro.iff", "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    replaceFileAtomically(target, "new");
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}
#endif

TEST(ReplaceFileAtomically, FailureLeavesTheOldFileAndNoTemporary) {
    TempFolder root;
    // The rename fails after the temporary file is written: a folder is in the way.
    root.makeFolder("Game/User00001.iff");
    root.write("Game/User00001.iff/keep", "inside");
    EXPECT_THROW(replaceFileAtomically(root / "Game/User00001.iff", "new"), RuntimeError);
    EXPECT_EQ(entriesOf(root / "Game"), std::vector<std::string>{"User00001.iff"});
    EXPECT_EQ(readFile(root / "Game/User00001.iff/keep"), "inside");

    EXPECT_EQ(testkit::errorNumberOf([&] { replaceFileAtomically(root / "Missing/User00001.iff", "new"); }),
              err::PathNotFound);
}

#ifndef _WIN32
TEST(ReplaceFileAtomically, UnwritableFolderKeepsTheOldFile) {
    DRAPELINE_RUN_UNPRIVILEGED();
    TempFolder root;
    const std::string target = root.write("Locked/User00001.iff", "old");
    fs::permissions(root / "Locked", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(testkit::errorNumberOf([&] { replaceFileAtomically(target, "new"); }), err::PermissionDenied);
    fs::permissions(root / "Locked", fs::perms::owner_all);
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(entriesOf(root / "Locked"), std::vector<std::string>{"User00001.iff"});
}

TEST(ReplaceFileAtomically, AReadOnlyFileIsRefusedAndLeftAlone) {
    DRAPELINE_RUN_UNPRIVILEGED();
    TempFolder root;
    const std::string target = root.write("User00001.iff", "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    try {
        replaceFileAtomically(target, "new");
        FAIL() << "replaced a read-only file";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.text(), "Error 75 - Path/File access error");
        EXPECT_EQ(e.systemReason(), "Permission denied");
    }
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(entriesOf(root.path()), std::vector<std::string>{"User00001.iff"});
    // A new file is not refused, and a writable one is replaced as ever.
    replaceFileAtomically(root / "User00002.iff", "new");
    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
    replaceFileAtomically(target, "new");
    EXPECT_EQ(readFile(target), "new");
}

TEST(ReplaceFileAtomically, WriteFailingMidwayKeepsTheOldFile) {
    TempFolder root;
    const std::string target = root.write("User00001.iff", "old");
    // A file size limit makes the write itself fail part way, as a full disk would.
    testkit::withFileSizeLimit(4096, [&] {
        EXPECT_THROW(replaceFileAtomically(target, std::string(64 * 1024, 'n')), RuntimeError);
    });

    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(entriesOf(root.path()), std::vector<std::string>{"User00001.iff"});
}

#endif

// Readers racing with writers only ever see one complete version, and writers racing with
// each other neither fail nor leave temporary files: each has its own.
TEST(ReplaceFileAtomically, ConcurrentReadersAndWritersSeeWholeVersions) {
    TempFolder root;
    const std::string target = root / "User00001.iff";
    const std::string a(64 * 1024, 'a'), b(16 * 1024, 'b');
    replaceFileAtomically(target, a);

    std::atomic<bool> done{false};
    std::atomic<int> failures{0}, torn{0};
    auto writer = [&](const std::string& content) {
        for (int i = 0; i < 25; ++i) {
            try {
                replaceFileAtomically(target, content);
            } catch (const RuntimeError&) {
                ++failures;
            }
        }
    };
    std::thread reader([&] {
        while (!done) {
            try {
                const std::string seen = readFile(target);
                if (seen != a && seen != b) ++torn;
            } catch (const RuntimeError&) {
#ifndef _WIN32
                ++torn;   // the file was missing or shrank while being read
#endif
                // Windows refuses to open a file for the moment it is being replaced: a
                // refusal, never a torn version.
            }
        }
    });
    std::thread w1(writer, a), w2(writer, b);
    w1.join();
    w2.join();
    done = true;
    reader.join();

#ifndef _WIN32
    // Windows refuses to replace a file that a reader holds open; a reader in a tight loop
    // can outlast the writers' patience, and those saves are refused with the file whole.
    EXPECT_EQ(failures, 0);
#endif
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(entriesOf(root.path()), std::vector<std::string>{"User00001.iff"});
}

}  // namespace
}  // namespace drapeline::platform
