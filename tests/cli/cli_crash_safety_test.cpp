// A save killed at any moment must leave the character file whole: the old content or
// the new, never a mix, never missing; saves running together must lose no update.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/file_io.h"
#include "core/iff_file.h"
#include "testkit/fixture_sim.h"
#include "tests/cli/cli_support.h"
#include "tests/support/process.h"
#include "tests/support/temp_folder.h"

extern char** environ;

using namespace drapeline;

namespace {

class Child {
public:
    explicit Child(std::vector<std::string> args) {
        args.insert(args.begin(), DRAPELINE_CLI_PATH);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid_, DRAPELINE_CLI_PATH, &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Child() { wait(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool started() const { return pid_ > 0; }
    void kill() const { ::kill(pid_, SIGKILL); }
    // True when the child ran to its end.
    bool wait() {
        if (pid_ <= 0) return false;
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

private:
    pid_t pid_ = -1;
};

// Runs `command` to its end once, then kills it at moments spread over that run and a
// little past it; `whole` says whether what is on disk afterwards is acceptable.
template <class Prepare, class Whole>
void killAcrossTheRun(const std::vector<std::string>& command, Prepare prepare, Whole whole) {
    prepare();
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(Child(command).wait());
    const auto duration = std::chrono::duration_cast<std::chrono::microseconds>(
                              std::chrono::steady_clock::now() - started).count();
    whole(-1);   // round -1: the run that was not killed
    int killed = 0;
    constexpr int Rounds = 40;
    for (int i = 0; i < Rounds; ++i) {
        prepare();
        Child child(command);
        ASSERT_TRUE(child.started());
        std::this_thread::sleep_for(std::chrono::microseconds(duration * 6 / 5 * i / Rounds));
        child.kill();
        killed += !child.wait();
        whole(i);
        if (::testing::Test::HasFatalFailure()) return;
    }
    // How many rounds ended with the new file depends on the machine's load; every round
    // must have ended with a whole one.
    EXPECT_GT(killed, 0);
}

std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        names.push_back(e.path().filename().string());
    return names;
}

// Large enough that writing it takes a while, so kills land inside the writes.
ByteText bigSim(char fill) {
    return testkit::characterFile().chunk("BHAV", 9000, ByteText(6'000'000, fill), "big").build();
}

}  // namespace

TEST(CrashSafety, AKilledSaveLeavesTheOldOrTheNewFileWholeAndNoTornBackup) {
    testkit::TempFolder folder;
    const ByteText original = bigSim('b');
    const std::string sim = folder / "UserData/Characters/User00001.iff";
    const std::string backups = folder / "program/Backup";
    const std::vector<std::string> save{"set", sim, "normal.mesh=b009fafat_01", "--backup",
                                        "--program-folder", folder / "program"};
    ByteText saved;
    int old = 0;
    killAcrossTheRun(
        save,
        [&] {
            folder.write("UserData/Characters/User00001.iff", original);
            std::filesystem::remove_all(backups);
        },
        [&](int round) {
            const ByteText now = readWholeFile(sim);
            if (round < 0) saved = now;
            ASSERT_TRUE(now == original || now == saved) << "round " << round << ": " << now.size() << " bytes";
            old += now == original;
            for (const auto& name : entriesOf(backups))
                if (name[0] != '.') {
                    ASSERT_TRUE(readWholeFile(backups + "/" + name) == original) << "round " << round << ": " << name;
                }
        });
    EXPECT_FALSE(saved == original);
    EXPECT_GT(old, 0);
}

TEST(CrashSafety, AKilledRewriteLeavesTheOldOrTheNewOutputWhole) {
    testkit::TempFolder folder;
    const std::string in = folder.write("in.iff", bigSim('n'));
    const ByteText old = bigSim('o');
    const std::string out = folder / "out.iff";
    IffFile read;
    ASSERT_EQ(iff::readIffChecked(read, in), "");
    const ByteText rewritten = iff::serialise(read);
    killAcrossTheRun(
        {"rewrite", in, out}, [&] { folder.write("out.iff", old); },
        [&](int round) {
            const ByteText now = readWholeFile(out);
            ASSERT_TRUE(now == old || now == rewritten) << "round " << round << ": " << now.size() << " bytes";
        });
}

// Concurrent commands on one sim, and other programs' locks: no update may be lost and no
// lock ignored.
TEST(Concurrency, SetsRunningTogetherLoseNoUpdateAndOtherProgramsLocksAreRespected) {
    testkit::TempFolder folder;
    const std::string sim = folder.write("UserData/Characters/User00001.iff", testkit::characterFile().build());
    const std::string program = folder / "program";
    std::vector<std::string> assignments;
    for (const char* hand : {"formalLeft", "formalRight", "openLeft", "openRight", "pointLeft",
                             "pointRight", "closedLeft", "closedRight"})
        assignments.push_back(std::string("hands.") + hand + "=h" + hand);
    for (const char* outfit : {"normal", "swimsuit", "formal", "pajamas", "nude", "winter"}) {
        assignments.push_back(std::string(outfit) + ".mesh=m" + outfit);
        assignments.push_back(std::string(outfit) + ".texture=t" + outfit);
    }
    {
        std::vector<std::unique_ptr<Child>> running;
        for (const auto& a : assignments)
            running.push_back(std::make_unique<Child>(std::vector<std::string>{"set", sim, a, "--program-folder", program}));
        for (auto& child : running) EXPECT_TRUE(child->wait());
    }
    const std::string shown = testkit::cli({"wardrobe", sim}).out;
    for (const auto& a : assignments)
        EXPECT_NE(shown.find('"' + a.substr(a.find('=') + 1) + '"'), std::string::npos) << "lost: " << a;

    // A lock taken with flock is waited for; a classic record lock held on is refused.
    const ByteText before = readWholeFile(sim);
    const int fd = ::open(sim.c_str(), O_RDWR);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    {
        Child waiting({"set", sim, "normal.texture=after_the_wait", "--program-folder", program});
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_TRUE(readWholeFile(sim) == before);
        ::flock(fd, LOCK_UN);
        EXPECT_TRUE(waiting.wait());
    }
    ::close(fd);
    const ByteText waited = readWholeFile(sim);
    EXPECT_NE(waited.find("after_the_wait"), std::string::npos);

    const int record = ::open(sim.c_str(), O_RDWR);
    struct flock range {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(record, F_SETLK, &range), 0);
    const testkit::ProcessResult refused =
        testkit::cli({"set", sim, "normal.texture=never", "--program-folder", program});
    ::close(record);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find(sim + " is in use by another program; nothing was saved"), std::string::npos)
        << refused.err;
    EXPECT_TRUE(readWholeFile(sim) == waited);
}
