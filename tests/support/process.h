#pragma once
// Runs a program as a child process and captures what it prints (POSIX).

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace drapeline::testkit {

struct ProcessResult {
    int exitCode = -1;      // -1 when the child did not exit normally (a crash)
    std::string out;
    std::string err;
};

// Runs `program` with `args`; `environment` entries "NAME=VALUE" are added to the
// child's environment. A child still running after `timeoutSeconds` (when not 0) is
// killed and reported with exitCode TimedOut.
inline constexpr int TimedOut = -2;
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& environment = {}, int timeoutSeconds = 0);

// The command that runs `program` as an unprivileged user (uid and gid 65534, no extra
// groups): through setpriv when we are the superuser, as it is otherwise. Empty when we
// are the superuser and setpriv is missing.
std::vector<std::string> unprivileged(const std::string& program);

// Hands `path` and everything below it to the unprivileged user when we are the superuser,
// so that a test's files belong to the user the child runs as.
void giveToUnprivilegedUser(const std::string& path);

// Runs `body` with files limited to `bytes` (for this process and the children it starts)
// and the limit's signal ignored, so that writes past it fail as on a full disk.
void withFileSizeLimit(unsigned long bytes, const std::function<void()>& body);

// Why `program` can not be run unprivileged while we are the superuser (no setpriv, or
// the program out of the unprivileged user's reach); nothing when it can, or when we are
// not the superuser anyway.
std::optional<std::string> whyNotUnprivileged(const std::string& program);

}  // namespace drapeline::testkit
