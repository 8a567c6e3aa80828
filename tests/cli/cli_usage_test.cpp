#include <gtest/gtest.h>

#include "tests/support/process.h"

using drapeline::testkit::runProcess;

TEST(CliUsage, HelpListsCommandsAndSucceeds) {
    auto r = runProcess(DRAPELINE_CLI_PATH, {"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("Usage: drapeline-cli"), std::string::npos);
}

TEST(CliUsage, UnknownOrMissingCommandIsAUsageError) {
    for (const auto& args : std::vector<std::vector<std::string>>{{}, {"no-such-command"}}) {
        auto r = runProcess(DRAPELINE_CLI_PATH, args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
}
