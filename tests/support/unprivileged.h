#pragma once
// Tests that need permissions to bind: the superuser (as in CI) ignores them, so such a
// test re-runs itself as an unprivileged user in a child process.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/process.h"

namespace drapeline::testkit {

// Run by the superuser: the current test again, alone, as uid 65534; its result is
// reported here.
inline void rerunCurrentTestUnprivileged() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const auto command = unprivileged(self);
    std::vector<std::string> args(command.begin() + 1, command.end());
    args.push_back(std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name());
    const ProcessResult r = runProcess(command[0], args, {}, 120);
    EXPECT_EQ(r.exitCode, 0) << "as uid 65534:\n" << r.out << r.err;
    EXPECT_EQ(r.out.find("[  SKIPPED ]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("[  PASSED  ] 1 test"), std::string::npos) << r.out;
}

}  // namespace drapeline::testkit

// First line of a test body that must run without the superuser's rights.
#define DRAPELINE_RUN_UNPRIVILEGED()                                                          \
    do {                                                                                      \
        if (::geteuid() != 0) break;                                                          \
        if (auto why = ::drapeline::testkit::whyNotUnprivileged(                              \
                std::filesystem::read_symlink("/proc/self/exe").string()))                    \
            GTEST_SKIP() << *why;                                                             \
        ::drapeline::testkit::rerunCurrentTestUnprivileged();                                 \
        return;                                                                               \
    } while (false)
