#include "tests/support/process.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <thread>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/file_io.h"

extern char** environ;

namespace drapeline::testkit {

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& environment, int timeoutSeconds) {
    char outName[] = "/tmp/drapeline-out-XXXXXX";
    char errName[] = "/tmp/drapeline-err-XXXXXX";
    const int outFd = mkstemp(outName);
    const int errFd = mkstemp(errName);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    posix_spawn_file_actions_adddup2(&actions, errFd, 2);

    std::vector<std::string> argStore{program};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStore) argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<std::string> envStore;
    // A given entry replaces the inherited one: getenv would find the inherited one first.
    for (char** e = environ; *e; ++e) {
        const std::string_view entry(*e);
        const auto name = entry.substr(0, entry.find('=') + 1);
        if (std::none_of(environment.begin(), environment.end(),
                         [&](const std::string& given) { return given.rfind(name, 0) == 0; }))
            envStore.emplace_back(entry);
    }
    envStore.insert(envStore.end(), environment.begin(), environment.end());
    std::vector<char*> envp;
    for (auto& e : envStore) envp.push_back(e.data());
    envp.push_back(nullptr);

    ProcessResult result;
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
        bool timedOut = false;
        while (waitpid(pid, &status, timeoutSeconds > 0 ? WNOHANG : 0) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid, SIGKILL);
                timedOut = true;
                waitpid(pid, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        result.exitCode = timedOut ? TimedOut : WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(outFd);
    close(errFd);
    result.out = readWholeFile(outName);
    result.err = readWholeFile(errName);
    std::remove(outName);
    std::remove(errName);
    return result;
}

namespace {

constexpr const char* Setpriv = "/usr/bin/setpriv";
constexpr uid_t Nobody = 65534;

// Every folder above `path` must let others pass, and the file itself be readable and
// runnable by them.
bool reachableByOthers(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || (st.st_mode & S_IXOTH) == 0) return false;
    for (auto p = path.parent_path(); !p.empty() && p != p.root_path(); p = p.parent_path())
        if (::stat(p.c_str(), &st) != 0 || (st.st_mode & S_IXOTH) == 0) return false;
    return true;
}

}  // namespace

std::vector<std::string> unprivileged(const std::string& program) {
    if (geteuid() != 0) return {program};
    if (::access(Setpriv, X_OK) != 0) return {};
    return {Setpriv, "--reuid=65534", "--regid=65534", "--clear-groups", "--", program};
}

void giveToUnprivilegedUser(const std::string& path) {
    if (geteuid() != 0) return;
    std::error_code ec;
    ::lchown(path.c_str(), Nobody, Nobody);
    for (auto it = std::filesystem::recursive_directory_iterator(path, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        ::lchown(it->path().c_str(), Nobody, Nobody);
}

void withFileSizeLimit(unsigned long bytes, const std::function<void()>& body) {
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct Restore {
        rlimit limit;
        decltype(previous) handler;
        ~Restore() {
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, handler);
        }
    } restore{saved, previous};
    rlimit small = saved;
    small.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
    body();
}

std::optional<std::string> whyNotUnprivileged(const std::string& program) {
    if (geteuid() != 0) return std::nullopt;
    if (unprivileged(program).empty())
        return "setpriv is not installed, so the test can not drop the superuser's rights";
    if (!reachableByOthers(program))
        return "the test program can not be run by an unprivileged user from where it is";
    return std::nullopt;
}

}  // namespace drapeline::testkit
