#pragma once
// What the command-line tool's tests share: running the tool, and the character files
// they hand it.

#include <map>
#include <string>
#include <vector>

#include "testkit/fixture_sim.h"
#include "tests/support/process.h"
#include "tests/support/temp_folder.h"

namespace drapeline::testkit {

inline ProcessResult cli(const std::vector<std::string>& args,
                         const std::vector<std::string>& environment = {}, int timeoutSeconds = 0) {
    return runProcess(DRAPELINE_CLI_PATH, args, environment, timeoutSeconds);
}

// The builder's adult woman with the given entries (numbered from 1) replaced, cut to
// `count` entries.
inline ByteText simWith(const std::map<std::size_t, std::string>& entries, std::size_t count = 34) {
    SimOptions sim;
    sim.bodyStrings = adultFemaleBodyStrings();
    for (const auto& [number, text] : entries) sim.bodyStrings.at(number - 1) = text;
    sim.bodyStrings.resize(count);
    return characterFile(sim).build();
}

}  // namespace drapeline::testkit
