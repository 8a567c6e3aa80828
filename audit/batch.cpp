#include "audit/batch.h"

#include <algorithm>
#include <unordered_set>

#include "audit/audit_rules.h"
#include "core/ascii.h"
#include "ensembles/ensemble_file.h"
#include "neighbourhood/listing.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "tools/backups.h"
#include "tools/sim_pass.h"
#include "wardrobe/default_rules.h"

namespace drapeline::audit {

std::string recordText(const BatchRecord& record);
std::string writeRecord(BatchRecord& record, const std::string& programFolder, const platform::LocalTime& time);
void rewriteRecord(const BatchRecord& record);

namespace {

using wardrobe::OutfitKind;
using tools::detail::Verdict;

std::string lowerCaption(OutfitKind kind) { return ascii::lower(wardrobe::outfitCaption(kind)); }

std::string sims(std::size_t n) { return std::to_string(n) + (n == 1 ? " sim" : " sims"); }

// What the action does to one sim's fields; Skip with a reason when it can not.
// `ensemble` is the ensemble file's content, read once for the whole batch.
Verdict changeFields(const BatchAction& action, const ByteText& ensemble, wardrobe::OpenedSim& sim,
                     const skins::InstalledSkins& skins, std::vector<std::string>& left) {
    StringSet& set = sim.bodyStrings;
    wardrobe::WardrobeFields before;
    if (auto why = wardrobe::wardrobeProblem(sim.iff, set, before)) return Verdict::skip(*why);
    wardrobe::WardrobeFields fields = before;
    const auto entryText = [&](std::size_t n) { return set.entries[n - 1].text; };
    const std::string age = entryText(wardrobe::entry::Age);
    switch (action.kind) {
    case BatchAction::LoadEnsemble:
        if (auto why = ensembles::applyEnsemble(ensemble, fields, wardrobe::layoutFor(set.entries.size(), age)))
            return Verdict::skip(*why);
        break;
    case BatchAction::SetDefault: {
        const std::string& normal = fields.outfit(OutfitKind::Normal).mesh;
        const wardrobe::RuleInputs in{age, entryText(wardrobe::entry::Gender), wardrobe::bodyTypeText(normal),
                                      entryText(wardrobe::entry::SkinTone), set.entries.size()};
        const auto names = wardrobe::defaultOutfit(action.outfit, in);
        if (!names) {
            const std::string reason = wardrobe::noDefaultReason(action.outfit, in);
            return Verdict::skip(reason.empty() ? "the normal outfit has no default" : reason);
        }
        fields.outfit(action.outfit) = *names;
        break;
    }
    case BatchAction::MatchTone: {
        ToneMatch match = matchSkinTone(fields, entryText(wardrobe::entry::SkinTone), skins);
        left = std::move(match.left);
        break;
    }
    case BatchAction::FixFit:
    case BatchAction::RemovePinkHands: return Verdict::leave();   // the repairs' own rules
    }
    if (fields == before) return Verdict::leave();
    wardrobe::writeFields(set, fields);
    return Verdict::rewrite(true);
}

}  // namespace

std::optional<std::string> parseAction(std::string_view name, std::string_view argument, BatchAction& action) {
    if (name == "fix-fit") action.kind = BatchAction::FixFit;
    else if (name == "pink-hands") action.kind = BatchAction::RemovePinkHands;
    else if (name == "match-tone") action.kind = BatchAction::MatchTone;
    else if (name == "ensemble") {
        if (argument.empty()) return std::string("the action ensemble needs an ensemble file");
        action.kind = BatchAction::LoadEnsemble;
        action.ensemblePath = std::string(argument);
    } else if (name == "default") {
        action.kind = BatchAction::SetDefault;
        for (const OutfitKind kind : wardrobe::AllOutfits)
            if (kind != OutfitKind::Normal && argument == lowerCaption(kind)) {
                action.outfit = kind;
                return std::nullopt;
            }
        return "the action default needs an outfit: swimsuit, formal, pajamas, nude or winter, not \"" +
               std::string(argument) + "\"";
    } else {
        return "unknown action \"" + std::string(name) +
               "\" (ensemble FILE, default KIND, fix-fit, pink-hands, match-tone)";
    }
    return std::nullopt;
}

std::string actionText(const BatchAction& action) {
    switch (action.kind) {
    case BatchAction::LoadEnsemble: return "load the ensemble " + platform::fileNameOf(action.ensemblePath);
    case BatchAction::SetDefault: return "set the " + lowerCaption(action.outfit) + " outfit to its default";
    case BatchAction::FixFit: return "fix the fit of formal, swimsuit and pajamas";
    case BatchAction::RemovePinkHands: return "remove the pink gorilla formal hands";
    case BatchAction::MatchTone: return "match the textures to the skin tone";
    }
    return {};
}

std::string batchQuestion(const BatchAction& action, std::size_t count) {
    return "Change " + sims(count) + ": " + actionText(action) +
           ".\r\nEach changed file is backed up first; Undo Last Batch puts them all back.\r\n\r\nAre You Sure?";
}

ToneMatch matchSkinTone(wardrobe::WardrobeFields& fields, std::string_view toneCode, const skins::InstalledSkins& skins) {
    ToneMatch match;
    if (wardrobe::skinToneWord(toneCode).empty()) return match;
    const auto one = [&](std::string& texture, const std::string& where, bool hand) {
        const auto code = toneCodeOf(texture);
        if (!code || *code == toneCode || wardrobe::isPlaceholder(texture)) return;
        const std::string wanted = withTone(texture, toneCode);
        if (hand ? skins.handTexture(wanted) : skins.texture(wanted)) {
            texture = wanted;
            ++match.changed;
        } else {
            match.left.push_back("the " + ascii::lower(where) + " texture " + texture + ": no " +
                                 wardrobe::skinToneWord(toneCode) + " version (" + wanted + ") is installed");
        }
    };
    for (const OutfitKind kind : wardrobe::AllOutfits) one(fields.outfit(kind).texture, wardrobe::outfitCaption(kind), false);
    for (const wardrobe::HandSlot slot : wardrobe::AllHandSlots) one(fields.hand(slot), wardrobe::handCaption(slot), true);
    return match;
}

std::optional<ToneOffer> toneMatchOffer(const wardrobe::WardrobeFields& fields, const std::string& gameLocation) {
    std::string code;
    for (const char* c : {"lgt", "med", "drk"})
        if (wardrobe::skinToneWord(c) == fields.skinTone) code = c;
    if (code.empty()) return std::nullopt;
    ToneOffer offer{{}, fields};
    const ToneMatch match = matchSkinTone(offer.matched, code, skins::InstalledSkins::list(gameLocation));
    if (match.changed == 0) return std::nullopt;
    offer.question = "The ensemble has " + std::to_string(match.changed) +
                     (match.changed == 1 ? " texture" : " textures") + " of another skin tone than this sim's " +
                     fields.skinTone + " skin.\r\n\r\nMatch " + (match.changed == 1 ? "it" : "them") + " to " +
                     fields.skinTone + " skin?";
    return offer;
}

BatchResult runBatchChange(const BatchPlace& place, const std::vector<std::string>& simFiles,
                           const BatchAction& action, const platform::Clock& clock) {
    BatchResult result;
    result.action = actionText(action);
    const std::string characterFolder = neighbourhood::characterFolder(place.gameLocation, place.neighbourhood);
    // Only tone matching asks what is installed; the folders are listed once for all sims.
    std::optional<skins::InstalledSkins> skins;
    if (action.kind == BatchAction::MatchTone) skins = skins::InstalledSkins::list(place.gameLocation);
    const skins::InstalledSkins none;

    ByteText ensemble;
    if (action.kind == BatchAction::LoadEnsemble) {
        try {
            ensemble = platform::readFile(action.ensemblePath);
        } catch (const RuntimeError& e) {
            result.refused.push_back({platform::fileNameOf(action.ensemblePath),
                                      "the ensemble file can not be read (" + e.textWithReason() + ")"});
            result.unchanged = simFiles;
            return result;
        }
    }
    tools::detail::SimRule rule;
    if (action.kind == BatchAction::FixFit) {
        rule = [](const std::string&, wardrobe::OpenedSim& sim) { return tools::detail::fixFitRule(sim.bodyStrings.entries); };
    } else if (action.kind == BatchAction::RemovePinkHands) {
        rule = [](const std::string&, wardrobe::OpenedSim& sim) { return tools::detail::pinkHandsRule(sim.bodyStrings.entries); };
    } else {
        rule = [&](const std::string& name, wardrobe::OpenedSim& sim) {
            std::vector<std::string> left;
            const Verdict verdict = changeFields(action, ensemble, sim, skins ? *skins : none, left);
            for (auto& text : left) result.notes.push_back({name, std::move(text)});
            return verdict;
        };
    }
    BatchRecord record;
    record.action = result.action;
    record.neighbourhood = place.neighbourhood;
    tools::RepairOptions options;
    options.backupClock = &clock;
    options.keepUserTemp = false;
    const tools::BatchReport report = tools::detail::runBatch(
        characterFolder, simFiles, place.programFolder, options, rule,
        [&](const tools::detail::Written& w) { record.files.push_back({w.path, w.backup, w.identity}); });

    result.changed = report.rewritten;
    result.refused = report.skipped;
    result.backups = report.backups;
    std::unordered_set<std::string> done(result.changed.begin(), result.changed.end());
    for (const auto& s : result.refused) done.insert(s.file);
    for (const auto& file : simFiles)
        if (!done.count(file)) result.unchanged.push_back(file);
    if (!record.files.empty()) {
        writeRecord(record, place.programFolder, clock.now());
        result.id = record.id;
    }
    return result;
}

std::string batchReport(const BatchResult& r) {
    // A report of a whole neighbourhood must still fit a message box: 20 lines a list at
    // most, as the repairs' report has; the command line gives every name.
    constexpr std::size_t Listed = 20;
    std::string text;
    const auto list = [&](std::size_t n, const auto& line) {
        for (std::size_t i = 0; i < n && i < Listed; ++i) text += "\r\n  " + line(i);
        if (n > Listed) text += "\r\n  and " + std::to_string(n - Listed) + " more";
    };
    const auto reasoned = [](const std::vector<tools::Skipped>& all) {
        return [&all](std::size_t i) { return all[i].file + ": " + all[i].reason; };
    };
    text += "Changed: " + sims(r.changed.size());
    list(r.changed.size(), [&](std::size_t i) { return r.changed[i]; });
    text += "\r\nUnchanged: " + sims(r.unchanged.size());
    if (!r.refused.empty()) {
        text += "\r\nRefused: " + sims(r.refused.size());
        list(r.refused.size(), reasoned(r.refused));
    }
    if (!r.notes.empty()) {
        text += "\r\nLeft as they were:";
        list(r.notes.size(), reasoned(r.notes));
    }
    if (!r.id.empty()) text += "\r\n\r\nBackups are listed under " + r.id + " in the Backup folder.";
    return text;
}

UndoResult undoBatch(const BatchRecord& record, const std::string& programFolder, const platform::Clock& clock) {
    UndoResult result;
    for (const BatchFile& file : record.files) {
        try {
            if (!platform::fileExists(file.backup)) {
                result.refused.push_back({file.path, "its backup " + platform::fileNameOf(file.backup) + " is gone"});
                continue;
            }
            const ByteText backup = platform::readFile(file.backup);
            // What the file holds now must be what the batch wrote; the replacement checks
            // it again under the lock.
            if (!platform::fileExists(file.path) || identityOf(platform::readFile(file.path)) != file.written) {
                result.refused.push_back({file.path, "it was changed after the batch"});
                continue;
            }
            wardrobe::replaceCharacterFile(
                backup, file.path, programFolder,
                [&] {
                    IffFile iff;
                    ByteText bytes;
                    const bool readable = iff::readChecked(iff, file.path, bytes).empty();
                    wardrobe::makeUserBackup(programFolder, file.path,
                                             readable ? tools::detail::backupSimName(iff) : std::string(), clock.now());
                },
                file.written);
            result.restored.push_back(file.path);
        } catch (const wardrobe::CharacterFileChanged&) {
            result.refused.push_back({file.path, "it was changed after the batch"});
        } catch (const platform::FileBusy&) {
            result.refused.push_back({file.path, "it is in use by another program"});
        } catch (const RuntimeError& e) {
            result.refused.push_back({file.path, "it could not be written (" + e.textWithReason() + ")"});
        }
    }
    BatchRecord done = record;
    done.undone = true;
    rewriteRecord(done);
    return result;
}

std::string undoReport(const BatchRecord& record, const UndoResult& result) {
    std::string text = "Undone: " + record.id + " (" + record.action + ")\r\nRestored: " + sims(result.restored.size());
    for (const auto& f : result.restored) text += "\r\n  " + platform::fileNameOf(f);
    if (!result.refused.empty()) {
        text += "\r\nRefused: " + sims(result.refused.size());
        for (const auto& s : result.refused) text += "\r\n  " + platform::fileNameOf(s.file) + ": " + s.reason;
    }
    return text;
}

}  // namespace drapeline::audit
