// A save killed at any moment must leave the character file whole: the old content or
// the new, never a mix, never missing.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/file_io.h"
#include "testkit/fixture_sim.h"
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

}  // namespace

TEST(CrashSafety, AKilledSaveLeavesTheOldOrTheNewFileWhole) {
    testkit::TempFolder folder;
    // Large enough that writing it takes a while, so kills land inside the writes.
    const ByteText original =
        testkit::characterFile().chunk("BHAV", 9000, ByteText(6'000'000, 'b'), "big").build();
    const std::string sim = folder / "UserData/Characters/User00001.iff";
    const std::vector<std::string> save{"set", sim, "normal.mesh=b009fafat_01",
                                        "--program-folder", folder / "program"};

    folder.write("UserData/Characters/User00001.iff", original);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(Child(save).wait());
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
                           std::chrono::steady_clock::now() - started).count();
    const ByteText saved = readWholeFile(sim);
    ASSERT_FALSE(saved == original);

    int old = 0, updated = 0, killed = 0;
    constexpr int Rounds = 40;
    for (int i = 0; i < Rounds; ++i) {
        folder.write("UserData/Characters/User00001.iff", original);
        Child child(save);
        ASSERT_TRUE(child.started());
        // Spread the kills over the whole run, and a little past it.
        std::this_thread::sleep_for(std::chrono::microseconds(whole * 6 / 5 * i / Rounds));
        child.kill();
        killed += !child.wait();
        const ByteText now = readWholeFile(sim);
        ASSERT_TRUE(now == original || now == saved) << "round " << i << ": " << now.size() << " bytes";
        (now == original ? old : updated)++;
    }
    // How many rounds ended with the new file depends on the machine's load; every round
    // must have ended with a whole one.
    EXPECT_GT(killed, 0);
    EXPECT_GT(old, 0);
    RecordProperty("old", old);
    RecordProperty("new", updated);
}
