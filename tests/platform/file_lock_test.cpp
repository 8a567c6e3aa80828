#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/game_process.h"
#include "tests/support/doubles.h"
#include "tests/support/temp_folder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace drapeline::platform {
namespace {

using namespace std::chrono_literals;
using testkit::TempFolder;

// Another holder of the file, as another program would hold it. Locks of this kind belong
// to their own descriptor or handle, so the process's own FileLock meets them as a stranger's.
class ForeignLock {
public:
#ifdef _WIN32
    explicit ForeignLock(const std::string& path) {
        file_ = CreateFileW(std::filesystem::path(path).wstring().c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
        OVERLAPPED at{};
        held_ = LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at) != 0;
    }
    ~ForeignLock() { CloseHandle(file_); }

private:
    HANDLE file_;
#else
    // A classic record lock can not stand for a stranger's here: it belongs to the whole
    // process, and the lock's own probing closes descriptors, which drops it. The command
    // line tests meet one in another process.
    explicit ForeignLock(const std::string& path) : fd_(::open(path.c_str(), O_RDWR)) {
        held_ = ::flock(fd_, LOCK_EX) == 0;
    }
    ~ForeignLock() { ::close(fd_); }

private:
    int fd_;
#endif
public:
    ForeignLock(const ForeignLock&) = delete;
    ForeignLock& operator=(const ForeignLock&) = delete;
    bool held() const { return held_; }

private:
    bool held_ = false;
};

TEST(FileLock, AnotherHolderIsWaitedForThenRefusedAndOurOwnLocksNest) {
    TempFolder root;
    const std::string sim = root.write("User00001.iff", "sim");
    for (int round = 0; round < 2; ++round) {
        {
            const ForeignLock other(sim);
            ASSERT_TRUE(other.held());
            const auto started = std::chrono::steady_clock::now();
            try {
                FileLock refused(sim, 100ms);
                ADD_FAILURE() << "locked while another holds the file";
            } catch (const FileBusy& busy) {
                EXPECT_EQ(busy.path(), sim);
                EXPECT_EQ(std::string(busy.what()), sim + " is in use by another program");
            }
            EXPECT_GE(std::chrono::steady_clock::now() - started, 100ms);
        }
        // Once the other holder is gone the lock is ours, and locking again nests. The
        // second round finds the file that the first one put in place.
        const FileLock mine(sim, 100ms);
        const FileLock again(sim, 0ms);
        replaceFileAtomically(sim, "replaced while locked");
    }
    EXPECT_EQ(readFile(sim), "replaced while locked");
    EXPECT_EQ(testkit::errorNumberOf([&] { FileLock missing(root / "gone.iff"); }), 53);
}

// A batch skips reading a file again when its stamp is the one taken under the lock: the
// stamp must move with any write, even one of the same size, and with a replacement.
TEST(FileLock, TheStampTakenUnderTheLockMovesWithAnyWrite) {
    TempFolder root;
    const std::string sim = root.write("User00001.iff", "the sim as read");
    const FileLock lock(sim);
    const auto stamp = lock.stamp();
#ifdef _WIN32
    EXPECT_FALSE(stamp);   // no such stamp there: the content is compared instead
    EXPECT_FALSE(fileStamp(sim));
#else
    ASSERT_TRUE(stamp);
    EXPECT_EQ(fileStamp(sim), stamp);
    EXPECT_EQ(FileLock(sim).stamp(), stamp);   // a nested lock shares the first one's
    // Past the clock's tick, as a game writing long after its previous write would be.
    std::this_thread::sleep_for(20ms);
    {
        const int fd = ::open(sim.c_str(), O_WRONLY);   // in place, as a program that does not lock
        ASSERT_EQ(::pwrite(fd, "THE", 3, 0), 3);
        ::close(fd);
    }
    const auto written = fileStamp(sim);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->size, stamp->size);
    EXPECT_NE(written, stamp);
    replaceFileAtomically(sim, "the sim as read");
    EXPECT_NE(fileStamp(sim), written);   // another file now
    EXPECT_FALSE(fileStamp(root / "gone.iff"));
#endif
}

TEST(GameProcess, SimsExeIsFoundAmongTheFirstArgumentsOfAnyProcess) {
    struct Case {
        std::string commandLine;   // arguments separated by NUL
        bool running;
    };
    using namespace std::string_literals;
    const Case cases[] = {
        {"C:\\Program Files\\Maxis\\The Sims\\Sims.exe\0"s, true},                       // Wine
        {"/usr/bin/python3\0proton\0waitforexitandrun\0/g/The Sims/SIMS.EXE\0"s, true},   // Proton
        {"wine\0start\0sims.exe\0-skip_intro\0"s, true},
        {"/usr/bin/bash\0"s, false},
        {"C:\\Games\\NotSims.exe\0"s, false},
        {"grep\0a\0b\0c\0d\0e\0Sims.exe\0"s, false},   // far down a command line: an argument
        {""s, false},                                   // a kernel thread
    };
    for (const auto& c : cases) {
        TempFolder proc;
        proc.write("1/cmdline", "/sbin/init\0"s);
        proc.write("self/cmdline", "Sims.exe"s);   // not a process number
        proc.write("4242/cmdline", c.commandLine);
        EXPECT_EQ(gameProcessUnder(proc.path()), c.running) << c.commandLine;
    }
}

}  // namespace
}  // namespace drapeline::platform
