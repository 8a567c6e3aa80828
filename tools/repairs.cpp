// The two repairs of a whole neighbourhood: outfits whose body type does not match the
// normal outfit's, and the pink gorilla formal hands.

#include <array>

#include "tools/neighbourhood_tools.h"
#include "tools/sim_pass.h"
#include "wardrobe/default_rules.h"
#include "wardrobe/wardrobe_record.h"
#include "core/ascii.h"

namespace drapeline::tools {

namespace {

using detail::Verdict;
namespace entry = wardrobe::entry;

struct NewerOutfit {
    std::size_t number;
    wardrobe::OutfitKind kind;
    const char* name;
};
constexpr std::array<NewerOutfit, 3> NewerOutfits{{{entry::FormalLong, wardrobe::OutfitKind::Formal, "formal"},
                                                   {entry::SwimsuitLong, wardrobe::OutfitKind::Swimsuit, "swimsuit"},
                                                   {entry::Pajamas, wardrobe::OutfitKind::Pajamas, "pajamas"}}};

// The body type code of an outfit entry's mesh (the text before the first ","), upper-cased.
std::string bodyType(std::string_view outfitEntry) {
    return ascii::upper(wardrobe::bodyTypeText(outfitEntry.substr(0, outfitEntry.find(','))));
}

std::string notAnOutfit(const char* name, std::size_t number) {
    return std::string("the ") + name + " entry " + std::to_string(number) +
           " is not an outfit (it has no \",\")";
}

}  // namespace

Verdict detail::fixFitRule(std::vector<StringEntry>& e) {
    const std::size_t n = e.size();
    if (e[entry::Age - 1].text == "child" || !wardrobe::holds(n, entry::FormalLong)) return Verdict::leave();
    for (const auto& o : NewerOutfits)
        if (n < o.number) return Verdict::skip(detail::missingEntry(n, o.number, o.name));
    // Every outfit is checked before anything changes, so a refused sim is left whole.
    if (e[entry::Normal - 1].text.find(',') == std::string::npos)
        return Verdict::skip(notAnOutfit("normal outfit", entry::Normal));
    for (const auto& o : NewerOutfits)
        if (e[o.number - 1].text.find(',') == std::string::npos)
            return Verdict::skip(notAnOutfit(o.name, o.number));

    // The adult defaults of the default rules, with the normal outfit's code as written.
    const std::string b = bodyType(e[entry::Normal - 1].text);
    const wardrobe::RuleInputs adult{"adult", e[entry::Gender - 1].text, b, e[entry::SkinTone - 1].text, n};
    bool changed = false;
    for (const auto& o : NewerOutfits) {
        std::string& text = e[o.number - 1].text;
        if (bodyType(text) == b) continue;
        const auto names = wardrobe::defaultOutfit(o.kind, adult);
        text = wardrobe::outfitEntry(names->mesh, names->texture);
        changed = true;
    }
    return Verdict::rewrite(changed);
}

Verdict detail::pinkHandsRule(std::vector<StringEntry>& e) {
    constexpr std::size_t Left = entry::FormalHandLeft, Right = entry::FormalHandRight;
    const std::size_t n = e.size();
    if (e[entry::Age - 1].text == "child") return Verdict::leave();
    if (n < Left) return Verdict::skip(detail::missingEntry(n, Left, "left formal hand"));
    if (wardrobe::textAfterFirstEquals(e[Left - 1].text) != "guao_pinkg") return Verdict::leave();
    if (n < Right) return Verdict::skip(detail::missingEntry(n, Right, "right formal hand"));
    const bool female = e[entry::Gender - 1].text == "female";
    e[Left - 1].text = female ? "HfLO,HAND=gfao_bride" : "";
    e[Right - 1].text = female ? "HfRO,HAND=gfao_bride" : "";
    return Verdict::rewrite(true);
}

BatchReport fixFitToSkinny(const std::string& characterFolder, const std::vector<std::string>& simFiles,
                           const std::string& programFolder, const RepairOptions& options) {
    return detail::runBatch(characterFolder, simFiles, programFolder, options, detail::Rule(detail::fixFitRule));
}

BatchReport removePinkGorillaHands(const std::string& characterFolder,
                                   const std::vector<std::string>& simFiles,
                                   const std::string& programFolder, const RepairOptions& options) {
    return detail::runBatch(characterFolder, simFiles, programFolder, options, detail::Rule(detail::pinkHandsRule));
}

std::string completionMessage(const BatchReport& report) {
    constexpr std::size_t Listed = 20;
    const std::size_t n = report.rewritten.size();
    std::string message = "Operation Complete\r\n\r\nChanged: " + std::to_string(n) +
                          (n == 1 ? " sim" : " sims");
    for (std::size_t i = 0; i < n && i < Listed; ++i) message += "\r\n" + report.rewritten[i];
    if (n > Listed) message += "\r\nand " + std::to_string(n - Listed) + " more";
    return detail::withSkipped(std::move(message), report.skipped);
}

}  // namespace drapeline::tools
