#pragma once
// Batch repairs and the skin-name export over every character file of a neighbourhood.
// Each file is read once and processed from memory, one at a time. A file that can not
// be processed is skipped with its reason and the run goes on; a file the rules leave
// alone is never written. Nothing here shows anything or raises the error trap: the
// window asks the question, shows the busy pointer and the closing message.

#include <string>
#include <vector>

#include "platform/clock.h"

namespace drapeline::tools {

inline constexpr char FixFitQuestion[] =
    "This function will fix the fit to skinny sim problem that was introduced with Hot Date. "
    "Any sim in the selected neighborhood whose swimsuit, formal or pajamas does not match "
    "their normal outfit body type (Fit, Fat or Skn) will have the outfit replaced with the "
    "default outfit of the correct body type.\r\n\r\nDo you wish to proceed?";

inline constexpr char PinkHandsQuestion[] =
    "This function will remove the Pink Gorilla formal hands from the sims in the selected "
    "neighborhood. This bug affects both House Party and Hot Date. The sims that are "
    "afflicted will have their formal hands restored to the proper default for their "
    "gender.\r\n\r\nDo you wish to proceed?";

struct Skipped {
    std::string file;
    std::string reason;
};

struct BatchReport {
    int examined = 0;                    // every name of the list
    std::vector<std::string> rewritten;  // bytes changed, written back (in a dry run: would be)
    std::vector<std::string> changed;    // of those, the ones whose wardrobe the rules change
    std::vector<Skipped> skipped;        // could not be processed; not written
    std::vector<std::string> backups;    // paths of the backups made, in run order
    int unwritten = 0;                   // of the skipped, the ones whose write or backup failed
};

struct RepairOptions {
    bool dryRun = false;   // report what would be written, write nothing
    // When set, each file whose bytes will change is first copied into the Backup folder
    // under the name a save gives it ("_2", ... rather than over an older one), with this
    // clock's time. No backups when null.
    const platform::Clock* backupClock = nullptr;
    // Whether each write leaves its copy in usertemp.iff, as a save's does.
    bool keepUserTemp = true;
};

// Every adult with more than 30 wardrobe entries gets its formal, swimsuit and pajamas
// replaced by the default outfit of the normal outfit's body type where theirs differs.
// Only files whose bytes change are written; children and shorter sets never are.
BatchReport fixFitToSkinny(const std::string& characterFolder,
                           const std::vector<std::string>& simFiles,
                           const std::string& programFolder, const RepairOptions& options = {});

// Every non-child whose left formal hand wears exactly "guao_pinkg" gets the formal hands
// of its gender (a woman "gfao_bride", a man none); no other file is written.
BatchReport removePinkGorillaHands(const std::string& characterFolder,
                                   const std::vector<std::string>& simFiles,
                                   const std::string& programFolder,
                                   const RepairOptions& options = {});

// "Operation Complete", an empty line, "Changed: N sims" and the rewritten files (20 at
// most, then "and N more"), and below them the skipped files, one a line, so that a run
// that left files alone never reads as a complete success.
std::string completionMessage(const BatchReport& report);

struct ExportReport {
    std::string headPath, bodyPath;   // "" when nothing was written (no sims)
    int exported = 0;
    std::vector<Skipped> skipped;
};

// Writes programFolder/headskins.txt and bodyskins.txt anew: one line per readable sim,
// file + ";" + sim name + ";" + texture, CR LF, in list order. With no sims nothing is
// written. Each file is replaced whole, so a failure leaves the previous export.
// Throws RuntimeError when either file can not be written.
ExportReport exportSkinNames(const std::string& characterFolder,
                             const std::vector<std::string>& simFiles,
                             const std::string& programFolder);

// "Exported:" and the two paths, one a line, and the skipped files below as in
// completionMessage.
std::string exportMessage(const ExportReport& report);

}  // namespace drapeline::tools
