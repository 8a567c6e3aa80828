#pragma once
// Runs a program as a child process and captures what it prints (POSIX).

#include <string>
#include <vector>

namespace drapeline::testkit {

struct ProcessResult {
    int exitCode = -1;      // -1 when the child did not exit normally (a crash)
    std::string out;
    std::string err;
};

// Runs `program` with `args`; `environment` entries "NAME=VALUE" are added to the
// child's environment.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& environment = {});

}  // namespace drapeline::testkit
