#include "tools/sim_pass.h"

#include <algorithm>
#include <exception>
#include <map>
#include <optional>
#include <set>

#include "neighbourhood/listing.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "wardrobe/sim_file.h"
#include "core/ascii.h"

namespace drapeline::tools::detail {

std::optional<std::string> openListedSim(const std::string& characterFolder, const std::string& name,
                                         wardrobe::OpenedSim& sim) {
    if (!neighbourhood::isPlainName(name)) return std::string("its name is not a plain file name");
    return wardrobe::openSim(platform::joinPath(characterFolder, name), sim);
}

std::string missingEntry(std::size_t entryCount, std::size_t number, std::string_view what) {
    return "its wardrobe has only " + std::to_string(entryCount) + " entries, so the " +
           std::string(what) + " entry " + std::to_string(number) + " is missing";
}

std::string backupSimName(const IffFile& iff) {
    try {
        const wardrobe::SimIdentity id = wardrobe::readIdentity(iff);
        return wardrobe::displayName(id.catalogueName, id.objectLabel);
    } catch (const RuntimeError&) {
        return {};
    }
}

BatchReport runBatch(const std::string& characterFolder, const std::vector<std::string>& simFiles,
                     const std::string& programFolder, const RepairOptions& options, const Rule& rule) {
    return runBatch(characterFolder, simFiles, programFolder, options,
                    [&rule](const std::string&, wardrobe::OpenedSim& sim) { return rule(sim.bodyStrings.entries); });
}

namespace {

// How many files a pass keeps locked and staged before it puts them in place: the disk's
// flushes of the folders are shared among them.
constexpr std::size_t StagedAtOnce = 64;

// One file of the pass whose new content waits beside it, to be put in place.
struct Staged {
    std::string name, path, target;   // target: the file a link names
    std::optional<platform::FileLock> lock;
    std::optional<platform::FileStamp> stamp;   // taken under the lock, before the read
    FileIdentity read, written;                 // what the file held, what replaces it
    std::string backup;
    std::optional<platform::StagedReplacement> replacement;
    bool changed = false;
};

// Puts the staged files in place: first their backups and new content forced to disk, so
// that no file is replaced whose backup a crash could lose, then each file, compared under
// its lock with what was read, renamed into place, and the folders synced.
void commitStaged(std::vector<Staged>& staged, BatchReport& report, const WrittenHandler& written) {
    // The folders each file needs on disk: its backup's (when it has one) and its own.
    const auto foldersOf = [](const Staged& s) {
        std::vector<std::string> folders{s.replacement->folder()};
        if (!s.backup.empty()) folders.push_back(platform::folderOf(s.backup));
        return folders;
    };
    std::map<std::string, std::string> unflushed;   // folder, the reason
    std::set<std::string> flushed, replaced;
    for (const Staged& s : staged)
        for (const std::string& folder : foldersOf(s)) {
            if (!flushed.insert(folder).second) continue;
            try {
                platform::flushWrites(folder);
            } catch (const RuntimeError& e) {
                unflushed[folder] = e.textWithReason();
            }
        }
    for (Staged& s : staged) {
        try {
            for (const std::string& folder : foldersOf(s))
                if (const auto failed = unflushed.find(folder); failed != unflushed.end())
                    throw RuntimeError(err::PathFileAccess).withSystemReason(failed->second);
            // Untouched since it was stamped before the read: no need to read it again.
            if (!s.stamp || platform::fileStamp(s.target) != s.stamp)
                wardrobe::requireUnchanged(s.target, s.path, s.read);
            s.replacement->commit();
            replaced.insert(s.replacement->folder());
            report.rewritten.push_back(s.name);
            if (s.changed) report.changed.push_back(s.name);
            if (written) written({s.name, s.path, s.backup, s.written});
            continue;
        } catch (const wardrobe::CharacterFileChanged&) {
            // Nothing of ours replaced it: the backup of what another program then
            // replaced goes too, as a save makes none for a file it refuses.
            report.skipped.push_back({s.name, "another program changed it while it was being repaired"});
            if (!s.backup.empty() && platform::removeFile(s.backup)) std::erase(report.backups, s.backup);
        } catch (const RuntimeError& e) {
            report.skipped.push_back({s.name, "it could not be written (" + e.textWithReason() + ")"});
        }
        ++report.unwritten;
    }
    for (const std::string& folder : replaced) platform::syncFolder(folder);
    staged.clear();   // the locks go, and any temporary file not put in place
}

}  // namespace

BatchReport runBatch(const std::string& characterFolder, const std::vector<std::string>& simFiles,
                     const std::string& programFolder, const RepairOptions& options, const SimRule& rule,
                     const WrittenHandler& written) {
    BatchReport report;
    std::vector<Staged> staged;
    staged.reserve(StagedAtOnce);
    for (const std::string& name : simFiles) {
        ++report.examined;
        const char* doing = "written";
        try {
            Staged file;
            file.name = name;
            file.path = platform::joinPath(characterFolder, name);
            // A player who keeps a neighbourhood elsewhere and links its files into the game
            // keeps the link: the file it names is the one replaced.
            file.target = platform::linkTarget(file.path);
            // A file listed twice is read again once the first is in place.
            if (std::any_of(staged.begin(), staged.end(), [&](const Staged& s) { return s.target == file.target; }))
                commitStaged(staged, report, written);
            // Locked from the read to the write, so another Drapeline's change between the two
            // is never lost; the write still compares, for programs that do not lock.
            // A file that is not there is reported by the read.
            if (!options.dryRun && neighbourhood::isPlainName(name)) {
                try {
                    file.stamp = file.lock.emplace(file.target).stamp();
                } catch (const RuntimeError& e) {
                    if (e.number() != err::FileNotFound) throw;
                }
            }
            // One file in memory at a time: the staged ones wait on disk, beside their files.
            wardrobe::OpenedSim sim;
            if (auto why = openListedSim(characterFolder, name, sim)) {
                report.skipped.push_back({name, std::move(*why)});
                continue;
            }
            const Verdict verdict = rule(name, sim);
            if (verdict.kind == Verdict::Skip) {
                report.skipped.push_back({name, verdict.reason});
                continue;
            }
            if (verdict.kind == Verdict::Leave) continue;
            strings::store(sim.iff, sim.bodyStrings, WardrobeIdField, false);
            const ByteText bytes = iff::serialise(sim.iff);
            // A file whose bytes would not change is neither written nor backed up.
            if (bytes == sim.bytes) continue;
            if (options.dryRun) {
                report.rewritten.push_back(name);
                if (verdict.changed) report.changed.push_back(name);
                continue;
            }
            file.changed = verdict.changed;
            file.read = identityOf(sim.bytes);
            file.written = identityOf(bytes);
            // The new content first: a read-only file is refused before its backup is made.
            file.replacement.emplace(file.target, bytes);
            if (options.keepUserTemp) wardrobe::keepUserCopy(programFolder, bytes);
            if (options.backupClock) {
                doing = "backed up";
                file.backup = wardrobe::makeUserBackup(programFolder, file.path, backupSimName(sim.iff),
                                                       options.backupClock->now(), &sim.bytes,
                                                       platform::DiskFlush::ByCaller);
                report.backups.push_back(file.backup);
            }
            staged.push_back(std::move(file));
            if (staged.size() == StagedAtOnce) commitStaged(staged, report, written);
        } catch (const RuntimeError& e) {
            // Nothing is put in place before its round's commit: a failure leaves the
            // character file as it was.
            report.skipped.push_back({name, std::string("it could not be ") + doing + " (" + e.textWithReason() + ")"});
            ++report.unwritten;
        } catch (const platform::FileBusy&) {
            report.skipped.push_back({name, "it is in use by another program"});
            ++report.unwritten;
        } catch (const std::exception& e) {
            report.skipped.push_back({name, std::string("it could not be processed (") + e.what() + ")"});
        }
    }
    commitStaged(staged, report, written);
    return report;
}

std::string withSkipped(std::string message, const std::vector<Skipped>& skipped) {
    if (skipped.empty()) return message;
    message += "\r\n\r\nSkipped:";
    for (const auto& s : skipped) message += "\r\n" + s.file;
    return message;
}



}  // namespace drapeline::tools::detail
