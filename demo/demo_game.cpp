#include "demo/demo_game.h"

#include <algorithm>

#include "testkit/bitmap.h"
#include "demo/models.h"
#include "demo/portraits.h"
#include "testkit/random.h"
#include "demo/roster.h"
#include "demo/sim_file.h"
#include "demo/skin_catalogue.h"
#include "platform/files.h"
#include "testkit/mesh_builder.h"

namespace drapeline::demo {

using namespace testkit;  // the demo game is drawn and built with the testkit's builders

namespace {

// Text files of the game's world end their lines with CR LF.
std::string lines(const std::vector<std::string>& text) {
    std::string out;
    for (const auto& line : text) out += line + "\r\n";
    return out;
}

// The body mesh a model's suit hangs on PELVIS; models of one kind of body share it.
std::string bodyMeshName(const SkinModel& model) {
    const BodyShape shape = model.child ? BodyShape::Fit : bodyShapeOf(model.mesh);
    const char* body = model.child ? "chd" : shape == BodyShape::Fat ? "fat" : shape == BodyShape::Skinny ? "skn" : "fit";
    return std::string("xskin-body-") + (model.female ? "f" : "m") + (model.child ? "c" : "a") + body + "-PELVIS-BODY";
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
    std::vector<std::string> bodies;
    for (const auto& model : skins.models) {
        const std::string folder(SkinFolders[model.folder]);
        const std::string body = bodyMeshName(model);
        game.files.push_back({folder + "/" + model.mesh + ".cmx",
                              characterText({{}, {oneMeshSuit(model.mesh, "PELVIS", body)}, 0})});
        ++game.meshes;
        if (std::find(bodies.begin(), bodies.end(), body) == bodies.end()) {
            bodies.push_back(body);
            game.files.push_back({std::string(SkinFolders[Base]) + "/" + body + ".skn",
                                  meshText(bodyMesh(body, model.female, model.child,
                                                    model.child ? BodyShape::Fit : bodyShapeOf(model.mesh)))});
        }
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

// The parts the game keeps in archives, in their binary forms: the skeletons, heads and
// hands, and the heads' textures.
void addArchive(DemoGame& game, const std::vector<SimPlan>& sims) {
    std::vector<FarItem> items;
    for (const bool child : {false, true})
        items.push_back({std::string(child ? "child" : "adult") + "-skeleton.cmx.bcf",
                         characterBinary({{demoSkeleton(child)}, {}, 0})});

    CharacterData heads;
    std::vector<std::string> textures;
    for (const auto& sim : sims) {
        const std::string& entry = sim.bodyStrings.size() > 2 ? sim.bodyStrings[2] : std::string();
        const auto comma = entry.find(",HEAD-HEAD=");
        if (comma == std::string::npos) continue;
        const std::string suit = entry.substr(0, comma), texture = entry.substr(comma + 11);
        const std::string mesh = std::string("xskin-head-") + (sim.female ? "f" : "m") + (sim.adult ? "a" : "c") + "-HEAD-HEAD";
        if (std::none_of(heads.suits.begin(), heads.suits.end(), [&](const Suit& s) { return s.name == suit; }))
            heads.suits.push_back(oneMeshSuit(suit, "HEAD", mesh));
        if (std::find(textures.begin(), textures.end(), texture) != textures.end()) continue;
        textures.push_back(texture);
        items.push_back({texture + ".bmp", encode8(drawHeadTexture(sim.look))});
    }
    // Many suits in one file, as the game keeps them: found by what they hold, not by name.
    items.push_back({"demo-heads.cmx.bcf", characterBinary(heads)});
    for (const char* who : {"fa", "ma", "fc", "mc"}) {
        const std::string name = std::string("xskin-head-") + who + "-HEAD-HEAD";
        items.push_back({name + ".bmf", meshBinary(headMesh(name, who[1] == 'c'))});
    }

    CharacterData hands;
    const std::pair<char, HandShape> poses[] = {{'O', HandShape::Open}, {'P', HandShape::Point}, {'C', HandShape::Closed}};
    for (const bool child : {false, true})
        for (const char side : {'L', 'R'})
            for (const auto& [letter, shape] : poses) {
                const std::string bone = side == 'L' ? "L_HAND" : "R_HAND";
                const std::string mesh = std::string("xskin-hand-") + (child ? "c" : "a") + side + letter + "-" + bone + "-HAND";
                items.push_back({mesh + ".bmf", meshBinary(handMesh(mesh, child, side == 'L', shape))});
                for (const char g : child ? std::string("u") : std::string("fm"))
                    hands.suits.push_back(oneMeshSuit(std::string{'H', g, side, letter}, bone, mesh));
            }
    items.push_back({"demo-hands.cmx.bcf", characterBinary(hands)});
    game.files.push_back({ArchivePath, farArchive(items)});
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
    addArchive(game, sims);
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
