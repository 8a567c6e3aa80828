#pragma once
// Changes to many sims at once, chosen in the overview or on the command line: each file
// is read, changed in memory, backed up (whatever the backup option says) and written
// through the same locked, compared, atomic replacement as a save. Every batch leaves a
// record beside its backups, so that it can be undone as a whole.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_io.h"
#include "platform/clock.h"
#include "skins/installed_skins.h"
#include "tools/neighbourhood_tools.h"
#include "wardrobe/wardrobe_fields.h"

namespace drapeline::audit {

struct BatchAction {
    enum Kind { LoadEnsemble, SetDefault, FixFit, RemovePinkHands, MatchTone } kind = MatchTone;
    wardrobe::OutfitKind outfit = wardrobe::OutfitKind::Formal;   // SetDefault
    std::string ensemblePath;                                   // LoadEnsemble
};

// The action the command line names: "ensemble FILE", "default KIND" (normal, swimsuit,
// formal, pajamas, nude, winter), "fix-fit", "pink-hands", "match-tone"; or why not.
std::optional<std::string> parseAction(std::string_view name, std::string_view argument, BatchAction& action);
// "match the skin tone", "load the ensemble PARTY.ENX", "set the formal outfit to its default", ...
std::string actionText(const BatchAction& action);
// "Change 12 sims: match the skin tone." and the confirmation's closing line.
std::string batchQuestion(const BatchAction& action, std::size_t sims);

// What matching the tone changed and what it left: "the formal texture X: no light
// version (Y) is installed".
struct ToneMatch {
    int changed = 0;
    std::vector<std::string> left;
};
// Gives every texture of another skin tone the sim's tone code where such a texture is
// installed (hands in the base folder, as the chooser finds them); the rest stays.
ToneMatch matchSkinTone(wardrobe::WardrobeFields& fields, std::string_view toneCode,
                        const skins::InstalledSkins& skins);

// After an ensemble is loaded in the edit window: when textures of another tone than the
// sim's (its skin-tone word, "light") can be matched, the question to ask and the fields
// matched; nothing when there is nothing to match.
struct ToneOffer {
    std::string question;
    wardrobe::WardrobeFields matched;
};
std::optional<ToneOffer> toneMatchOffer(const wardrobe::WardrobeFields& fields, const std::string& gameLocation);

struct BatchPlace {
    std::string gameLocation;
    std::string neighbourhood;    // folder name
    std::string programFolder;
};

struct BatchResult {
    std::string id;                           // the record's name, "" when nothing was written
    std::string action;
    std::vector<std::string> changed, unchanged;
    std::vector<tools::Skipped> refused;
    std::vector<tools::Skipped> notes;        // changed or not, what was left as it was
    std::vector<std::string> backups;
};

// Runs the action over `simFiles` of the neighbourhood. Throws RuntimeError only when the
// record can not be written (the files are then changed and backed up all the same).
BatchResult runBatchChange(const BatchPlace& place, const std::vector<std::string>& simFiles,
                           const BatchAction& action, const platform::Clock& clock);

// "Changed: 3 sims", the files, "Unchanged: ...", "Refused:" with reasons, and the notes;
// 20 lines a list at most, then "and N more".
std::string batchReport(const BatchResult& result);

// A batch as its record keeps it.
struct BatchFile {
    std::string path, backup;
    FileIdentity written;
};
struct BatchRecord {
    std::string id, path, time, action, neighbourhood;
    bool undone = false;
    std::vector<BatchFile> files;
};

// Every batch record of the Backup folder, newest first; unreadable records left out.
std::vector<BatchRecord> listBatches(const std::string& programFolder);
// The newest batch not yet undone.
std::optional<BatchRecord> lastBatch(const std::string& programFolder);
std::optional<BatchRecord> findBatch(const std::string& programFolder, std::string_view id);

struct UndoResult {
    std::vector<std::string> restored;
    std::vector<tools::Skipped> refused;
};

// Puts every file of the batch back as its backup holds it, byte for byte, after a backup
// of the file as it is; a file changed since the batch (or whose backup is gone) is
// refused and named, and left alone. The record is then marked undone.
UndoResult undoBatch(const BatchRecord& record, const std::string& programFolder, const platform::Clock& clock);
std::string undoReport(const BatchRecord& record, const UndoResult& result);

}  // namespace drapeline::audit
