// The command that draws a sim dressed, as the edit window's dressed preview does.

#include <cmath>
#include <ostream>

#include "cli/command.h"
#include "cli/json.h"
#include "cli/png_file.h"
#include "cli/sim_access.h"
#include "core/string_set.h"
#include "figure/dressing.h"
#include "figure/renderer.h"
#include "platform/files.h"
#include "wardrobe/sim_file.h"

namespace drapeline::cli {

namespace {

using wardrobe::HandPose;
using wardrobe::OutfitKind;

const std::pair<const char*, OutfitKind> Outfits[] = {
    {"normal", OutfitKind::Normal}, {"swimsuit", OutfitKind::Swimsuit}, {"formal", OutfitKind::Formal},
    {"pajamas", OutfitKind::Pajamas}, {"nude", OutfitKind::Nude},       {"winter", OutfitKind::Winter}};
const std::pair<const char*, HandPose> Poses[] = {
    {"formal", HandPose::Formal}, {"open", HandPose::Open}, {"point", HandPose::Point}, {"closed", HandPose::Closed}};

template <class T, std::size_t N>
T choose(const std::pair<const char*, T> (&table)[N], const std::string& value, const char* what) {
    for (const auto& [name, v] : table)
        if (value == name) return v;
    std::string names;
    for (const auto& [name, v] : table) names += (names.empty() ? "" : ", ") + std::string(name);
    throw UsageError(std::string(what) + " must be one of " + names + ": " + value);
}

int number(const Arguments& args, const std::string& name, int fallback, int low, int high) {
    const auto text = args.option(name);
    if (!text) return fallback;
    try {
        std::size_t used = 0;
        const int value = std::stoi(*text, &used);
        if (used == text->size() && value >= low && value <= high) return value;
    } catch (const std::exception&) {
    }
    throw UsageError("--" + name + " must be a whole number from " + std::to_string(low) + " to " +
                     std::to_string(high) + ": " + *text);
}

// The game folder of a character file in its usual place: GAME/UserData*/Characters/FILE.
std::string gameOf(const Arguments& args, const std::string& file) {
    if (const auto game = args.option("game")) {
        if (!platform::folderExists(*game)) throw Failure("game folder not found: " + *game);
        return *game;
    }
    return platform::folderOf(platform::folderOf(platform::folderOf(file)));
}

int renderCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
    args.expectPositional(2, 2);
    const std::string& path = args.positional()[0];
    const std::string& target = args.positional()[1];
    const OutfitKind outfit = choose(Outfits, args.required("outfit"), "--outfit");
    const auto named = args.option("hands");
    const HandPose hands = named ? choose(Poses, *named, "--hands") : figure::handsWornWith(outfit);
    const int angle = number(args, "angle", 0, -3600, 3600);
    const int size = number(args, "size", 400, 16, 4096);

    const IffFile iff = readChecked(path);
    refuseUnshowable(iff, path);
    const StringSet set = strings::decode(strings::findStringChunk(iff, WardrobeIdField, false)->data);
    const wardrobe::WardrobeFields fields = wardrobe::readFields(iff, set);

    figure::ModelLibrary library(gameOf(args, path));
    const figure::DressedFigure dressed = figure::dress(library, figure::dressRequest(fields, figure::headEntry(set), outfit, hands));
    figure::Camera camera;
    camera.setYaw(static_cast<float>(angle));
    const RgbaImage image = figure::Renderer().render(dressed, camera, size, size);
    replaceOrFail(target, encodePng(image));
    for (const auto& line : dressed.missing) err << line << "\n";
    JsonWriter json;
    json.beginObject().key("saved").path(target).key("missing").beginArray();
    for (const auto& line : dressed.missing) json.value(line);
    json.endArray().endObject();
    out << json.str() << "\n";
    return 0;
}

}  // namespace

std::vector<Command> renderCommands() {
    return {
        {"render",
         "render FILE --outfit KIND [--hands POSE] [--angle DEG] [--size PX] [--game DIR] OUT.png  "
         "draw the sim dressed as a PNG picture",
         {}, renderCommand},
    };
}

}  // namespace drapeline::cli
