#include "tools/sim_pass.h"

#include <exception>
#include <optional>

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

BatchReport runBatch(const std::string& characterFolder, const std::vector<std::string>& simFiles,
                     const std::string& programFolder, const RepairOptions& options, const SimRule& rule,
                     const WrittenHandler& written) {
    BatchReport report;
    for (const std::string& name : simFiles) {
        ++report.examined;
        const char* doing = "written";
        try {
            const std::string path = platform::joinPath(characterFolder, name);
            // Locked from the read to the write, so another Drapeline's change between the two
            // is never lost; the write still compares, for programs that do not lock.
            // A file that is not there is reported by the read.
            std::optional<platform::FileLock> lock;
            if (!options.dryRun && neighbourhood::isPlainName(name)) {
                try {
                    lock.emplace(platform::linkTarget(path));
                } catch (const RuntimeError& e) {
                    if (e.number() != err::FileNotFound) throw;
                }
            }
            // One file in memory at a time: the previous one is gone before this is read.
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
            if (!options.dryRun) {
                const std::size_t backupsBefore = report.backups.size();
                const FileIdentity now = wardrobe::replaceCharacterFile(
                    bytes, path, programFolder,
                    [&] {
                        if (!options.backupClock) return;
                        doing = "backed up";
                        // The replacement has compared the file with these bytes under its lock.
                        report.backups.push_back(wardrobe::makeUserBackup(
                            programFolder, path, backupSimName(sim.iff), options.backupClock->now(), &sim.bytes));
                        doing = "written";
                    },
                    identityOf(sim.bytes), options.keepUserTemp);
                if (written)
                    written({name, path, report.backups.size() > backupsBefore ? report.backups.back() : std::string(), now});
            }
            report.rewritten.push_back(name);
            if (verdict.changed) report.changed.push_back(name);
        } catch (const RuntimeError& e) {
            // The replacement is atomic and comes after the backup: a failure leaves the
            // character file as it was.
            report.skipped.push_back({name, std::string("it could not be ") + doing + " (" + e.textWithReason() + ")"});
            ++report.unwritten;
        } catch (const platform::FileBusy&) {
            report.skipped.push_back({name, "it is in use by another program"});
            ++report.unwritten;
        } catch (const wardrobe::CharacterFileChanged&) {
            report.skipped.push_back({name, "another program changed it while it was being repaired"});
            ++report.unwritten;
        } catch (const std::exception& e) {
            report.skipped.push_back({name, std::string("it could not be processed (") + e.what() + ")"});
        }
    }
    return report;
}

std::string withSkipped(std::string message, const std::vector<Skipped>& skipped) {
    if (skipped.empty()) return message;
    message += "\r\n\r\nSkipped:";
    for (const auto& s : skipped) message += "\r\n" + s.file;
    return message;
}



}  // namespace drapeline::tools::detail
