#include "tools/sim_pass.h"

#include <exception>

#include "neighbourhood/listing.h"
#include "platform/files.h"
#include "wardrobe/sim_file.h"

namespace drapeline::tools::detail {

std::optional<std::string> openSim(const std::string& characterFolder, const std::string& name,
                                   OpenedSim& sim) {
    // Names come from a folder listing; on Linux one may still hold a backslash.
    if (!neighbourhood::isPlainName(name)) return "its name is not a plain file name";
    const std::string error =
        modIFFsupport::gfstrReadIFFChecked(sim.iff, platform::joinPath(characterFolder, name));
    if (!error.empty()) return "it can not be read (" + error + ")";
    const IffChunk* chunk = strings::findStringChunk(sim.iff, WardrobeIdField, false);
    if (!chunk) return std::string("it has no wardrobe strings");
    try {
        sim.bodyStrings = strings::decode(chunk->Data);
    } catch (const RuntimeError& e) {
        return "its wardrobe strings can not be read (" + e.text() + ")";
    }
    if (sim.bodyStrings.Entries.empty()) return std::string("its wardrobe strings are empty");
    return std::nullopt;
}

std::string missingEntry(std::size_t entryCount, std::size_t number, std::string_view what) {
    return "its wardrobe has only " + std::to_string(entryCount) + " entries, so the " +
           std::string(what) + " entry " + std::to_string(number) + " is missing";
}

BatchReport runBatch(const std::string& characterFolder, const std::vector<std::string>& simFiles,
                     const std::string& programFolder, bool dryRun, const Rule& rule) {
    BatchReport report;
    for (const std::string& name : simFiles) {
        ++report.examined;
        try {
            // One file in memory at a time: the previous one is gone before this is read.
            OpenedSim sim;
            if (auto why = openSim(characterFolder, name, sim)) {
                report.skipped.push_back({name, std::move(*why)});
                continue;
            }
            const Verdict verdict = rule(sim.bodyStrings.Entries);
            if (verdict.kind == Verdict::Skip) {
                report.skipped.push_back({name, verdict.reason});
                continue;
            }
            if (verdict.kind == Verdict::Leave) continue;
            if (!dryRun) {
                strings::store(sim.iff, sim.bodyStrings, WardrobeIdField, false);
                wardrobe::replaceCharacterFile(sim.iff, platform::joinPath(characterFolder, name),
                                               programFolder);
            }
            report.rewritten.push_back(name);
            if (verdict.changed) report.changed.push_back(name);
        } catch (const RuntimeError& e) {
            // The replacement is atomic: a failed write leaves the character file as it was.
            report.skipped.push_back({name, "it could not be written (" + e.textWithReason() + ")"});
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

std::string_view mid(std::string_view text, std::size_t from, std::size_t count) {
    if (from < 1 || from > text.size()) return {};
    return text.substr(from - 1, count);
}

std::string upperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace drapeline::tools::detail
