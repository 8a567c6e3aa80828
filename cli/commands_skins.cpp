// Commands on skins: the names each Default button of the edit window writes for a sim,
// and the searches the skin chooser runs. Bitmaps are checked by the plain bitmap loader,
// as the command-line tool has no image library.

#include <filesystem>
#include <ostream>
#include <random>

#include "cli/cli_services.h"
#include "core/native_path.h"
#include "cli/command.h"
#include "cli/json.h"
#include "cli/sim_access.h"
#include "core/iff_file.h"
#include "platform/bmp_pictures.h"
#include "platform/files.h"
#include "skins/skin_catalogue.h"
#include "wardrobe/default_rules.h"
#include "wardrobe/edit_sim_model.h"
#include "wardrobe/sim_file.h"

namespace drapeline::cli {

namespace {

using wardrobe::HandPose;
using wardrobe::OutfitKind;

struct OutfitKey {
    const char* name;
    OutfitKind kind;
};
constexpr OutfitKey DefaultOutfits[] = {
    {"formal", OutfitKind::Formal},     {"nude", OutfitKind::Nude},
    {"pajamas", OutfitKind::Pajamas},   {"swimsuit", OutfitKind::Swimsuit},
    {"winter", OutfitKind::Winter},
};

struct PoseKey {
    const char* name;
    HandPose pose;
};
constexpr PoseKey DefaultHands[] = {
    {"formalHands", HandPose::Formal}, {"openHands", HandPose::Open},
    {"pointHands", HandPose::Point},   {"closedHands", HandPose::Closed},
};

// Opening a sim exports its pictures into the program folder; a question about the sim
// must leave the user's program folder as it was, so it gets a folder of its own.
class ScratchFolder {
public:
    ScratchFolder() {
        namespace fs = std::filesystem;
        std::random_device random;
        for (int attempt = 0; attempt < 16; ++attempt) {
            const fs::path candidate =
                fs::temp_directory_path() / ("drapeline-" + std::to_string(random()) +
                                             std::to_string(random()));
            if (fs::create_directory(candidate)) {
                path_ = pathText(candidate);
                return;
            }
        }
        throw Failure("can not create a temporary folder");
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(nativePath(path_), ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

int showDefaults(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(1, 1);
    const std::string& path = args.positional()[0];
    // A scratch program folder: opening exports the sim's pictures, which are not wanted here.
    const ScratchFolder scratch;
    OpenSim sim(path, scratch.path());

    const wardrobe::RuleInputs inputs = sim.model().ruleInputs();
    JsonWriter json;
    json.beginObject();
    for (const auto& o : DefaultOutfits) {
        json.key(o.name);
        if (auto names = wardrobe::defaultOutfit(o.kind, inputs))
            json.beginObject().key("mesh").value(names->mesh).key("texture").value(names->texture).endObject();
        else
            json.null();
    }
    for (const auto& h : DefaultHands) {
        const auto pair = wardrobe::defaultHands(h.pose, inputs);
        json.key(h.name).beginObject().key("left").value(pair.left).key("right").value(pair.right).endObject();
    }
    out << json.endObject().str() << "\n";
    return 0;
}

void writeList(JsonWriter& json, const char* key, const std::vector<std::string>& items) {
    json.key(key).beginArray();
    for (const auto& item : items) json.path(item);
    json.endArray();
}

void writeSearch(JsonWriter& json, const skins::TextureSearch& search) {
    writeList(json, "textures", search.files);
    writeList(json, "bad", search.bad);
}

int showSkins(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(0, 0);
    const std::string game = args.required("game");
    if (!platform::folderExists(game)) throw Failure("no game folder at " + game);
    const platform::BmpPictureLoader loader;
    JsonWriter json;
    json.beginObject();
    if (args.flag("hands")) {
        writeSearch(json, skins::findHandTextures(game, loader));
    } else {
        const std::string code = args.required("code");
        const skins::SkinData data{code};
        writeList(json, "models", args.flag("filtered") ? skins::findFilteredModels(game, data)
                                                        : skins::findModels(game, data));
        if (auto model = args.option("model")) {
            if (model->find_first_of("/\\") != std::string::npos || *model == "." || *model == "..")
                throw UsageError("--model takes a model name such as S001fafit_01, not a path: " +
                                 *model);
            writeSearch(json, skins::findTextures(game, *model, data, loader));
        }
    }
    out << json.endObject().str() << "\n";
    return 0;
}

}  // namespace

std::vector<Command> skinCommands() {
    return {
        {"defaults", "defaults FILE                    the names each Default button writes for a sim",
         {}, showDefaults},
        {"skins",
         "skins --game DIR (--code CODE [--filtered] [--model NAME] | --hands)  the models and "
         "textures the skin chooser offers for a filter code, or the hand textures",
         {"filtered", "hands"}, showSkins},
    };
}

}  // namespace drapeline::cli
