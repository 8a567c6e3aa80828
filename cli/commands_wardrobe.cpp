// Commands on one sim's wardrobe: show it as the edit window does, and change and save it
// as the edit window's Save does. A file that can not be read or a wardrobe that can not
// be shown is refused before anything could reach the error trap.

#include <functional>
#include <optional>
#include <ostream>

#include "cli/cli_services.h"
#include "cli/command.h"
#include "cli/json.h"
#include "cli/sim_access.h"
#include "core/iff_file.h"
#include "core/string_set.h"
#include "platform/files.h"
#include "skins/skin_catalogue.h"
#include "wardrobe/checked_names.h"
#include "wardrobe/edit_sim_model.h"
#include "wardrobe/sim_file.h"

namespace drapeline::cli {

namespace {

using wardrobe::HandSlot;
using wardrobe::OutfitKind;
using wardrobe::WardrobeFields;

struct OutfitKey {
    const char* name;
    OutfitKind kind;
};
constexpr OutfitKey OutfitKeys[] = {
    {"normal", OutfitKind::Normal},   {"swimsuit", OutfitKind::Swimsuit},
    {"formal", OutfitKind::Formal},   {"pajamas", OutfitKind::Pajamas},
    {"nude", OutfitKind::Nude},       {"winter", OutfitKind::Winter},
};

struct HandKey {
    const char* name;
    HandSlot slot;
};
constexpr HandKey HandKeys[] = {
    {"formalLeft", HandSlot::FormalLeft}, {"formalRight", HandSlot::FormalRight},
    {"openLeft", HandSlot::OpenLeft},     {"openRight", HandSlot::OpenRight},
    {"pointLeft", HandSlot::PointLeft},   {"pointRight", HandSlot::PointRight},
    {"closedLeft", HandSlot::ClosedLeft}, {"closedRight", HandSlot::ClosedRight},
};

const char* layoutName(wardrobe::WardrobeLayout layout) {
    switch (layout) {
    case wardrobe::WardrobeLayout::Long: return "Long";
    case wardrobe::WardrobeLayout::AdultMiddle: return "AdultMiddle";
    case wardrobe::WardrobeLayout::Short: return "Short";
    }
    return "";
}

std::string bodyTypeName(wardrobe::BodyType type) {
    return type == wardrobe::BodyType::None ? std::string() : wardrobe::bodyTypeCode(type);
}

// The JSON we print maps byte N to code point N; a value typed back in is taken the same
// way when it is UTF-8 within Latin-1, and as raw bytes otherwise.
std::string bytesFromArgument(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
        } else if ((b == 0xC2 || b == 0xC3) && i + 1 < text.size() &&
                   (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            out += static_cast<char>(((b & 0x03) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F));
        } else {
            return text;
        }
    }
    return out;
}

std::string fieldsJson(const WardrobeFields& f, wardrobe::WardrobeLayout layout) {
    JsonWriter json;
    json.beginObject()
        .key("name").value(f.name)
        .key("age").value(f.age)
        .key("gender").value(f.gender)
        .key("skinTone").value(f.skinTone)
        .key("bodyType").value(bodyTypeName(f.bodyType))
        .key("layout").value(layoutName(layout))
        .key("outfits").beginObject();
    for (const auto& o : OutfitKeys)
        json.key(o.name).beginObject()
            .key("mesh").value(f.outfit(o.kind).mesh)
            .key("texture").value(f.outfit(o.kind).texture)
            .endObject();
    json.endObject().key("hands").beginObject();
    for (const auto& h : HandKeys) json.key(h.name).value(f.hand(h.slot));
    json.endObject().endObject();
    return json.str();
}

int showWardrobe(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(1, 1);
    const std::string& path = args.positional()[0];
    const IffFile iff = readChecked(path);
    refuseUnshowable(iff, path);
    const StringSet set = strings::decode(strings::findStringChunk(iff, WardrobeIdField, false)->data);
    const WardrobeFields fields = wardrobe::readFields(iff, set);
    out << fieldsJson(fields, wardrobe::layoutFor(set.entries.size(), fields.age)) << "\n";
    return 0;
}

struct Assignment {
    std::string key;
    std::optional<OutfitKind> outfit;   // none for a hand
    std::optional<HandSlot> hand;       // none for an outfit
    std::string value;
    std::function<void(WardrobeFields&)> apply;
};

Assignment parseAssignment(const std::string& argument) {
    const auto equals = argument.find('=');
    if (equals == std::string::npos) throw UsageError("expected KEY=VALUE, got '" + argument + "'");
    const std::string key = argument.substr(0, equals);
    const std::string value = bytesFromArgument(argument.substr(equals + 1));
    for (const auto& o : OutfitKeys) {
        const std::string name = o.name;
        const OutfitKind kind = o.kind;
        if (key == name + ".mesh")
            return {key, kind, std::nullopt, value, [=](WardrobeFields& f) { f.outfit(kind).mesh = value; }};
        if (key == name + ".texture")
            return {key, kind, std::nullopt, value,
                    [=](WardrobeFields& f) { f.outfit(kind).texture = value; }};
    }
    for (const auto& h : HandKeys) {
        const HandSlot slot = h.slot;
        if (key == std::string("hands.") + h.name)
            return {key, std::nullopt, slot, value, [=](WardrobeFields& f) { f.hand(slot) = value; }};
    }
    throw UsageError("unknown key '" + key + "'");
}

// A change the file can not hold must not be reported as saved: it is refused before
// anything is written.
void refuseUnstorable(const Assignment& a, const wardrobe::EditSimModel& sim, const std::string& path) {
    const std::string file = platform::fileNameOf(path);
    if (a.outfit && !wardrobe::layoutHolds(sim.layout(), *a.outfit))
        throw Failure(file + " has no " + wardrobe::outfitCaption(*a.outfit) +
                      " entry (its wardrobe has " + std::to_string(sim.bodyStrings().entries.size()) +
                      " entries), so " + a.key + " can not be stored; nothing was saved");
    if (wardrobe::isPlaceholder(a.value))
        throw Failure(a.key + " can not be set to the placeholder text " + a.value +
                      "; nothing was saved to " + file);
    if (auto problem = wardrobe::nameProblem(a.value))
        throw Failure(a.key + " " + *problem + "; nothing was saved to " + file);
}

// With every assignment made: a name left missing where the save can not write an empty
// entry would be stored broken, or (a lone formal hand) silently dropped. The last
// assignment of a key is the one that counts, so it is the one named.
void refuseGaps(const std::vector<Assignment>& assignments, const WardrobeFields& fields,
                const std::string& path) {
    for (auto it = assignments.rbegin(); it != assignments.rend(); ++it) {
        const Assignment& a = *it;
        auto gap = a.outfit ? wardrobe::outfitGapProblem(fields, *a.outfit)
                            : wardrobe::handGapProblem(fields, *a.hand);
        if (gap)
            throw Failure(a.key + "=" + a.value + " is refused: " + *gap + "; nothing was saved to " +
                          platform::fileNameOf(path));
    }
}

// The assignments whose names the game's skin folders do not hold, looked up as the
// chooser would find them.
std::vector<const Assignment*> notInstalled(const std::vector<Assignment>& assignments,
                                            const std::string& game) {
    std::vector<const Assignment*> missing;
    for (const auto& a : assignments) {
        if (a.value.empty()) continue;
        const bool mesh = a.key.ends_with(".mesh");
        const bool installed = a.hand ? skins::handTextureInstalled(game, a.value)
                               : mesh ? skins::meshInstalled(game, a.value)
                                      : skins::textureInstalled(game, a.value);
        if (!installed) missing.push_back(&a);
    }
    return missing;
}

int setWardrobe(const Arguments& args, std::ostream& out, std::ostream& err) {
    if (args.positional().size() < 2) throw UsageError("give a file and at least one KEY=VALUE");
    const std::string& path = args.positional()[0];
    std::vector<Assignment> assignments;
    for (std::size_t i = 1; i < args.positional().size(); ++i)
        assignments.push_back(parseAssignment(args.positional()[i]));

    // Only with the game folder can a name be looked up; without it nothing is claimed.
    const auto game = args.option("game");
    if (game && !platform::folderExists(*game)) throw Failure("game folder not found: " + *game);
    std::optional<std::vector<std::string>> missing;
    std::string warnings;
    if (game) {
        missing.emplace();
        for (const Assignment* a : notInstalled(assignments, *game)) {
            warnings += "warning: " + a->key + " " + a->value +
                        " is not installed in the game's skin folders; it is saved all the same\n";
            missing->push_back(a->key);
        }
    }
    const std::string report = changeAndSave(
        path, writableProgramFolder(args), args.flag("backup"),
        [&](OpenSim& sim) {
            for (const auto& a : assignments) refuseUnstorable(a, sim.model(), path);
            sim.model().changeFields([&](WardrobeFields& fields) {
                for (const auto& a : assignments) a.apply(fields);
            });
            refuseGaps(assignments, sim.model().fields(), path);
        },
        missing);
    err << warnings;
    out << report << "\n";
    return 0;
}

}  // namespace

std::vector<Command> wardrobeCommands() {
    return {
        {"wardrobe", "wardrobe FILE                    show a sim's wardrobe as the edit window does",
         {}, showWardrobe},
        {"set",
         "set FILE KEY=VALUE... [--backup] [--game DIR]  change outfits (normal.mesh, winter.texture, "
         "...) and hands (hands.formalLeft, ...) and save as the edit window does; with --game, "
         "names not installed in its skin folders are reported",
         {"backup"}, setWardrobe},
    };
}

}  // namespace drapeline::cli
