#include "demo/demo_game.h"

#include <algorithm>

#include "testkit/bitmap.h"
#include "demo/portraits.h"
#include "testkit/random.h"
#include "demo/roster.h"
#include "demo/sim_file.h"
#include "demo/skin_catalogue.h"
#include "platform/files.h"

namespace drapeline::demo {

using namespace testkit;  // the demo game is drawn and built with the testkit's builders

namespace {

// Text files of the game's world end their lines with CR LF.
std::string lines(const std::vector<std::string>& text) {
    std::string out;
    for (const auto& line : text) out += line + "\r\n";
    return out;
}

// The game's meshes are text files; ours say what they are and carry no geometry.
ByteText meshPlaceholder(const std::string& mesh) {
    return lines({"// " + std::string(MarkerFirstLine) + ": body mesh placeholder, no geometry",
                  "version 300", "1", mesh, "0"});
}

ByteText notAPicture() {
    ByteText bytes = "This is not a picture.\r\n";
    Random random(seedFrom("bad texture"));
    for (int i = 0; i < 2000; ++i) bytes += static_cast<char>(random.below(256));
    return bytes;
}

ByteText textureFile(const SkinTexture& t) {
    if (t.unreadable) return notAPicture();
    const Canvas picture = drawOutfitTexture(outfitStyle(t.garment, t.female, t.child, t.styleKey),
                                             skinColour(t.tone), t.size);
    return t.eightBit ? encode8(picture) : encode24(picture);
}

void addSkins(DemoGame& game) {
    const SkinCatalogue& skins = demoSkins();
    for (const auto& model : skins.models) {
        const std::string folder(SkinFolders[model.folder]);
        game.files.push_back({folder + "/" + model.mesh + ".cmx", meshPlaceholder(model.mesh)});
        ++game.meshes;
        for (const auto& t : model.textures) {
            game.files.push_back({folder + "/" + t.name + ".bmp", textureFile(t)});
            ++game.skins;
        }
    }
    for (const auto& hand : skins.hands) {
        game.files.push_back({std::string(SkinFolders[Base]) + "/" + hand.name + ".bmp",
                              encode8(drawHandTexture(hand.style))});
        ++game.skins;
    }
}

std::vector<std::string> guide(const std::vector<SimPlan>& sims) {
    std::vector<std::string> text{
        MarkerFirstLine,
        "",
        "A game folder made by Drapeline for trying the editor without the game. Nothing",
        "here comes from the game: every picture is drawn and every name chosen by",
        "Drapeline's own code. Sims.exe is a placeholder and does not run.",
        "",
        "Point Drapeline at this folder (Options, Set Path). Sims worth a look:",
        ""};
    for (const auto& sim : sims)
        for (const auto& note : sim.notes)
            text.push_back(sim.neighbourhood + "/Characters/" + sim.fileName + "  " +
                           (sim.named ? sim.firstName + " " + sim.lastName : "(no name)") + ": " + note);
    text.push_back("");
    text.push_back("The folder is made again only when it is deleted: running the demo command");
    text.push_back("on it once more leaves your changes alone.");
    return text;
}

void addSims(DemoGame& game, const std::vector<SimPlan>& sims) {
    std::vector<Canvas> portraits;
    portraits.reserve(sims.size());
    for (const auto& sim : sims) portraits.push_back(friendPortrait(sim.look));
    for (const auto& sim : sims) {
        std::vector<const Canvas*> friends;
        for (const std::size_t f : sim.friends) friends.push_back(&portraits[f]);
        game.files.push_back({sim.neighbourhood + "/Characters/" + sim.fileName,
                              characterFileFor(sim, friends)});
        ++game.sims;
    }
}

std::string nativePath(const std::string& folder, std::string relative) {
    std::replace(relative.begin(), relative.end(), '/', platform::nativeSeparator());
    return platform::joinPath(folder, relative);
}

bool holdsDemoGame(const std::string& folder) {
    const std::string marker = platform::joinPath(folder, MarkerFileName);
    if (!platform::fileExists(marker)) return false;
    const ByteText text = platform::readFile(marker);
    return text.rfind(MarkerFirstLine, 0) == 0;
}

}  // namespace

DemoGame buildDemoGame() {
    DemoGame game;
    const auto sims = demoRoster();
    game.files.push_back({"Sims.exe", lines({"Drapeline demo game: a placeholder, not the game."})});
    game.files.push_back({MarkerFileName, lines(guide(sims))});
    addSkins(game);
    addSims(game, sims);
    return game;
}

DemoSummary createDemoGame(const std::string& folder) {
    DemoSummary summary;
    summary.game = folder;
    if (platform::pathExists(folder) && !platform::folderExists(folder))
        throw DemoFolderError(folder + " is a file, not a folder");
    const bool empty = platform::listFolder(folder, "*", platform::Listing::FilesAndFolders).empty();
    if (platform::folderExists(folder) && !empty && !holdsDemoGame(folder))
        throw DemoFolderError(folder + " is not empty and holds no demo game");

    if (!empty) {
        // Counted, not drawn: the folder is left as it is.
        for (const auto& [name, count] : Neighbourhoods) summary.sims += count;
        for (const auto& model : demoSkins().models) summary.skins += static_cast<int>(model.textures.size());
        summary.skins += static_cast<int>(demoSkins().hands.size());
        return summary;
    }
    const DemoGame game = buildDemoGame();
    summary.sims = game.sims;
    summary.skins = game.skins;

    for (const auto& file : game.files) {
        const std::string path = nativePath(folder, file.path);
        platform::createFolder(platform::folderOf(path));
        platform::writeFile(path, file.bytes);
    }
    summary.created = true;
    return summary;
}

}  // namespace drapeline::demo
