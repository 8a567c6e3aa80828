#include "audit/audit_rules.h"

#include <algorithm>
#include <future>
#include <system_error>

#include "core/ascii.h"
#include "core/iff_file.h"
#include "neighbourhood/listing.h"
#include "platform/cores.h"
#include "platform/files.h"
#include "wardrobe/previews.h"

namespace drapeline::audit {

namespace {

using wardrobe::HandSlot;
using wardrobe::OutfitKind;
namespace entry = wardrobe::entry;

struct KindNames {
    ProblemKind kind;
    const char* id;
    const char* caption;
};
constexpr std::array<KindNames, 7> Kinds{{
    {ProblemKind::Unreadable, "unreadable", "Can not be read"},
    {ProblemKind::Layout, "layout", "Layout"},
    {ProblemKind::MeshMissing, "missing-mesh", "Mesh not installed"},
    {ProblemKind::TextureMissing, "missing-texture", "Texture not installed"},
    {ProblemKind::SkinTone, "skin-tone", "Skin tone"},
    {ProblemKind::BodyType, "body-type", "Body type"},
    {ProblemKind::PinkHands, "pink-hands", "Pink gorilla hands"},
}};

bool isToneCode(std::string_view code) { return code == "lgt" || code == "med" || code == "drk"; }

// Where the tone code of a texture name starts, or npos.
std::size_t tonePosition(std::string_view texture) {
    const std::size_t end = std::min(texture.find('_'), texture.size());
    if (end < 3) return std::string_view::npos;
    return isToneCode(ascii::lower(texture.substr(end - 3, 3))) ? end - 3 : std::string_view::npos;
}

// The age letter, gender letter and body type a mesh's name gives: "b003fafit_01" and
// the short "nffit_01" alike. Empty where the name does not follow either form.
struct MeshCodes {
    char age = 0, gender = 0;
    std::string body;
};
MeshCodes meshCodes(std::string_view mesh) {
    const std::string prefix = ascii::lower(mesh.substr(0, std::min(mesh.find('_'), mesh.size())));
    MeshCodes codes;
    if (prefix.size() == 9) {
        codes.gender = prefix[4];
        codes.age = prefix[5];
        codes.body = prefix.substr(6, 3);
    } else if (prefix.size() == 5) {
        codes.gender = prefix[1];
        codes.body = prefix.substr(2, 3);
        codes.age = codes.body == "chd" ? 'c' : 'a';
    }
    return codes;
}

bool isBodyCode(std::string_view body) { return body == "fit" || body == "fat" || body == "skn" || body == "chd"; }

std::string toneWord(std::string_view code) { return wardrobe::skinToneWord(ascii::lower(code)); }

void addProblem(SimRow& row, Worn& worn, ProblemKind kind, const std::string& where, std::string text) {
    worn.mark = Mark::Problem;
    row.problems.push_back({kind, where, std::move(text)});
}

// The rules that need the skin folders, on a row the others have filled: kept apart so that
// a neighbourhood's files can be read while its skin folders are listed.
void installedChecks(SimRow& row, const skins::InstalledSkins& skins) {
    for (const auto& p : row.problems)
        if (p.where.empty()) return;   // unreadable, or a wardrobe that can not be shown
    for (const OutfitKind kind : wardrobe::AllOutfits) {
        Worn& worn = row.outfits[static_cast<std::size_t>(kind)];
        if (worn.mark == Mark::NotHeld || worn.mark == Mark::Empty || worn.mesh.empty() ||
            wardrobe::isPlaceholder(worn.mesh) || wardrobe::isPlaceholder(worn.texture))
            continue;
        const std::string what = "the " + ascii::lower(wardrobe::outfitCaption(kind));
        if (!skins.mesh(worn.mesh))
            addProblem(row, worn, ProblemKind::MeshMissing, wardrobe::outfitCaption(kind),
                       what + " mesh " + worn.mesh + " is not installed");
        if (!skins.texture(worn.texture))
            addProblem(row, worn, ProblemKind::TextureMissing, wardrobe::outfitCaption(kind),
                       what + " texture " + worn.texture + " is not installed");
    }
    for (const HandSlot slot : wardrobe::AllHandSlots) {
        Worn& worn = row.hands[static_cast<std::size_t>(slot)];
        if (worn.texture.empty() || skins.handTexture(worn.texture)) continue;
        addProblem(row, worn, ProblemKind::TextureMissing, wardrobe::handCaption(slot),
                   "the " + ascii::lower(wardrobe::handCaption(slot)) + " hand texture " + worn.texture +
                       " is not installed");
    }
}

// The rules that need nothing but the sim's own file.
class Auditor {
public:
    explicit Auditor(SimRow& row) : row_(row) {}

    void outfit(OutfitKind kind, const wardrobe::OutfitNames& names, wardrobe::WardrobeLayout layout) {
        Worn& worn = row_.outfits[static_cast<std::size_t>(kind)];
        worn.mesh = names.mesh;
        worn.texture = names.texture;
        const std::string where = wardrobe::outfitCaption(kind);
        if (!wardrobe::layoutHolds(layout, kind)) {
            worn.mark = Mark::NotHeld;
            return;
        }
        if (wardrobe::isPlaceholder(names.mesh) || wardrobe::isPlaceholder(names.texture)) {
            add(worn, ProblemKind::Layout, where, "the " + lowerWhere(where) + " entry holds the text \"" +
                                                      names.mesh + "\", which is no outfit");
            return;
        }
        if (names.mesh.empty()) {
            worn.mark = Mark::Empty;
            return;
        }
        tone(worn, where, names.texture);
        body(worn, kind, where, names.mesh);
    }

    void hand(HandSlot slot, const std::string& texture) {
        Worn& worn = row_.hands[static_cast<std::size_t>(slot)];
        worn.texture = texture;
        const std::string where = wardrobe::handCaption(slot);
        const bool formal = slot == HandSlot::FormalLeft || slot == HandSlot::FormalRight;
        if (texture.empty()) {
            if (formal) worn.mark = Mark::Empty;
            else add(worn, ProblemKind::TextureMissing, where, "the " + lowerWhere(where) + " hand has no texture");
            return;
        }
        // The same test as the repair: a non-child's left formal hand, exactly this name.
        if (slot == HandSlot::FormalLeft && texture == "guao_pinkg" && row_.age != "child")
            add(worn, ProblemKind::PinkHands, where, "the formal hands are the pink gorilla hands");
        tone(worn, where, texture);
    }

private:
    static std::string lowerWhere(const std::string& where) { return ascii::lower(where); }

    void add(Worn& worn, ProblemKind kind, const std::string& where, std::string text) {
        addProblem(row_, worn, kind, where, std::move(text));
    }

    void tone(Worn& worn, const std::string& where, const std::string& texture) {
        const auto code = toneCodeOf(texture);
        if (!code || !isToneCode(row_.skinTone) || *code == row_.skinTone) return;
        add(worn, ProblemKind::SkinTone, where,
            "the " + lowerWhere(where) + " texture " + texture + " is for " + toneWord(*code) +
                " skin, the sim's is " + toneWord(row_.skinTone));
    }

    void body(Worn& worn, OutfitKind kind, const std::string& where, const std::string& mesh) {
        const MeshCodes codes = meshCodes(mesh);
        const char age = row_.age == "adult" ? 'a' : 'c';
        const std::string what = "the " + lowerWhere(where) + " mesh " + mesh;
        if ((codes.age == 'a' || codes.age == 'c') && codes.age != age) {
            add(worn, ProblemKind::BodyType, where, what + " is for " + (codes.age == 'a' ? "an adult" : "a child"));
            return;
        }
        const char gender = wardrobe::genderLetter(row_.gender);
        // A child's models are chosen without regard to gender, as the chooser lists them.
        if (age == 'a' && (codes.gender == 'f' || codes.gender == 'm') && codes.gender != gender) {
            add(worn, ProblemKind::BodyType, where, what + " is for a " + (codes.gender == 'f' ? "woman" : "man"));
            return;
        }
        if (kind != OutfitKind::Normal && isBodyCode(codes.body) && isBodyCode(row_.bodyType) &&
            codes.body != row_.bodyType)
            add(worn, ProblemKind::BodyType, where,
                what + " is cut for body type " + codes.body + ", the normal outfit's is " + row_.bodyType);
    }

    SimRow& row_;
};

const std::string& entryText(const StringSet& set, std::size_t number) {
    static const std::string none;
    return wardrobe::holds(set.entries.size(), number) ? set.entries[number - 1].text : none;
}

}  // namespace

const char* kindId(ProblemKind kind) {
    for (const auto& k : Kinds)
        if (k.kind == kind) return k.id;
    return "";
}

const char* kindCaption(ProblemKind kind) {
    for (const auto& k : Kinds)
        if (k.kind == kind) return k.caption;
    return "";
}

std::optional<ProblemKind> kindFromId(std::string_view id) {
    for (const auto& k : Kinds)
        if (id == k.id) return k.kind;
    return std::nullopt;
}

bool SimRow::readable() const { return !has(ProblemKind::Unreadable); }

bool SimRow::has(ProblemKind kind) const {
    return std::any_of(problems.begin(), problems.end(), [kind](const Problem& p) { return p.kind == kind; });
}

std::optional<std::string> toneCodeOf(std::string_view texture) {
    const std::size_t at = tonePosition(texture);
    if (at == std::string_view::npos) return std::nullopt;
    return ascii::lower(texture.substr(at, 3));
}

std::string withTone(std::string_view texture, std::string_view tone) {
    std::string out(texture);
    const std::size_t at = tonePosition(texture);
    if (at != std::string_view::npos) out.replace(at, 3, tone);
    return out;
}

namespace {

SimRow ownRules(const std::string& path, const wardrobe::OpenedSim& sim, bool portrait) {
    SimRow row;
    row.path = path;
    row.file = platform::fileNameOf(path);
    row.name = wardrobe::listedIdentity(sim.iff).catalogueName;
    if (portrait)
        if (const IffChunk* web = wardrobe::simImageChunk(sim.iff, wardrobe::WebImageFile)) row.portrait = web->data;
    const StringSet& set = sim.bodyStrings;
    row.age = entryText(set, entry::Age);
    row.gender = entryText(set, entry::Gender);
    row.skinTone = entryText(set, entry::SkinTone);
    const std::string& normal = entryText(set, entry::Normal);
    row.bodyType = ascii::lower(wardrobe::bodyTypeText(normal.substr(0, normal.find(','))));

    // A wardrobe the edit window refuses is one problem; its entries are not guessed at.
    wardrobe::WardrobeFields fields;
    if (auto why = wardrobe::wardrobeProblem(sim.iff, set, fields)) {
        row.problems.push_back({ProblemKind::Layout, "", "its wardrobe can not be shown: " + *why});
        for (auto& w : row.outfits) w.mark = Mark::Problem;
        for (auto& w : row.hands) w.mark = Mark::Problem;
        return row;
    }
    const auto layout = wardrobe::layoutFor(set.entries.size(), row.age);
    Auditor auditor(row);
    for (const OutfitKind kind : wardrobe::AllOutfits) auditor.outfit(kind, fields.outfit(kind), layout);
    for (const HandSlot slot : wardrobe::AllHandSlots) auditor.hand(slot, fields.hand(slot));
    return row;
}

SimRow ownRulesOfFile(const std::string& path, bool portrait) {
    wardrobe::OpenedSim sim;
    const std::string error = iff::readChecked(sim.iff, path, sim.bytes);
    if (error.empty()) {
        if (auto why = wardrobe::decodeWardrobe(sim.iff, sim.bodyStrings)) {
            SimRow row;
            row.path = path;
            row.file = platform::fileNameOf(path);
            row.name = wardrobe::listedIdentity(sim.iff).catalogueName;
            row.problems.push_back({ProblemKind::Layout, "", *why});
            return row;
        }
        return ownRules(path, sim, portrait);
    }
    SimRow row;
    row.path = path;
    row.file = platform::fileNameOf(path);
    row.problems.push_back({ProblemKind::Unreadable, "", error});
    for (auto& w : row.outfits) w.mark = Mark::Problem;
    for (auto& w : row.hands) w.mark = Mark::Problem;
    return row;
}

}  // namespace

SimRow auditOpened(const std::string& path, const wardrobe::OpenedSim& sim, const skins::InstalledSkins& skins,
                   bool portrait) {
    SimRow row = ownRules(path, sim, portrait);
    installedChecks(row, skins);
    return row;
}

SimRow auditFile(const std::string& path, const skins::InstalledSkins& skins, bool portrait) {
    SimRow row = ownRulesOfFile(path, portrait);
    installedChecks(row, skins);
    return row;
}

std::vector<SimRow> auditNeighbourhood(const std::string& gameLocation, const std::string& folder,
                                       bool portraits) {
    // The skin folders are listed while the sims are read, the two taking about as long,
    // where a second core can do it.
    const auto list = [&gameLocation] { return skins::InstalledSkins::list(gameLocation); };
    std::future<skins::InstalledSkins> listed;
    try {
        listed = std::async(platform::usableCores() > 1 ? std::launch::async : std::launch::deferred, list);
    } catch (const std::system_error&) {
        listed = std::async(std::launch::deferred, list);
    }
    std::vector<SimRow> rows;
    try {
        const std::string characters = neighbourhood::characterFolder(gameLocation, folder);
        for (const auto& file : neighbourhood::listSimFiles(gameLocation, folder)) {
            rows.push_back(ownRulesOfFile(platform::joinPath(characters, file), portraits));
            rows.back().neighbourhood = folder;
        }
    } catch (...) {
        listed.wait();   // the listing uses this frame's game folder
        throw;
    }
    const skins::InstalledSkins skins = listed.get();
    for (auto& row : rows) installedChecks(row, skins);
    return rows;
}

}  // namespace drapeline::audit
