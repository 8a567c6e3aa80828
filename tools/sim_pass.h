#pragma once
// What the batch tools share: opening one character file's wardrobe with every failure
// turned into a reason, and the pass over a neighbourhood that writes back only what a
// rule asks for, through the same replacement as a save.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/iff_file.h"
#include "core/string_set.h"
#include "tools/neighbourhood_tools.h"
#include "wardrobe/sim_file.h"

namespace drapeline::tools::detail {

// Opens characterFolder/name as wardrobe::openSim does; a listed name that is not a plain
// file name (on Linux one may hold a backslash) is a reason too.
std::optional<std::string> openListedSim(const std::string& characterFolder, const std::string& name,
                                         wardrobe::OpenedSim& sim);

// The display name a save gives the sim's backup; a file whose labels can not be read
// still gets a backup, named without it.
std::string backupSimName(const IffFile& iff);

// "its wardrobe has only 29 entries, so the formal hand entry 30 is missing"
std::string missingEntry(std::size_t entryCount, std::size_t number, std::string_view what);

// What a rule decides for one sim. The rule changes the set in place only for Rewrite.
struct Verdict {
    enum Kind { Leave, Rewrite, Skip } kind = Leave;
    bool changed = false;
    std::string reason;   // for Skip

    static Verdict leave() { return {}; }
    static Verdict rewrite(bool changed) { return {Rewrite, changed, {}}; }
    static Verdict skip(std::string why) { return {Skip, false, std::move(why)}; }
};
using Rule = std::function<Verdict(std::vector<StringEntry>& entries)>;
// A rule that needs the whole file (the wardrobe's fields, its identity) and its name.
using SimRule = std::function<Verdict(const std::string& name, wardrobe::OpenedSim& sim)>;

// A file the pass wrote: where, its backup ("" without one) and what it now holds.
struct Written {
    std::string file, path, backup;
    FileIdentity identity;
};
using WrittenHandler = std::function<void(const Written&)>;

BatchReport runBatch(const std::string& characterFolder, const std::vector<std::string>& simFiles,
                     const std::string& programFolder, const RepairOptions& options, const Rule& rule);
BatchReport runBatch(const std::string& characterFolder, const std::vector<std::string>& simFiles,
                     const std::string& programFolder, const RepairOptions& options, const SimRule& rule,
                     const WrittenHandler& written = {});

// The two repairs' rules, for batches over chosen sims.
Verdict fixFitRule(std::vector<StringEntry>& entries);
Verdict pinkHandsRule(std::vector<StringEntry>& entries);

// The skipped files below a first line, one a line.
std::string withSkipped(std::string message, const std::vector<Skipped>& skipped);


}  // namespace drapeline::tools::detail
