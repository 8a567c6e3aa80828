#include "demo/skin_catalogue.h"

namespace drapeline::demo {

namespace {

class CatalogueMaker {
public:
    // One model with its textures in every skin tone; `variants` > 1 adds "_02", ...
    SkinModel& add(Folder folder, const std::string& mesh, Garment garment, bool female,
                   bool child, int variants = 1, int size = 128) {
        SkinModel m{folder, mesh, female, child, {}};
        for (int v = 1; v <= variants; ++v) {
            const std::string variantMesh =
                v == 1 ? mesh : mesh.substr(0, mesh.find('_')) + "_0" + std::to_string(v);
            for (const auto tone : ToneCodes)
                m.textures.push_back(texture(textureName(variantMesh, tone), std::string(tone),
                                             variantMesh, garment, female, child, size));
        }
        catalogue.models.push_back(std::move(m));
        return catalogue.models.back();
    }

    SkinTexture texture(std::string name, std::string tone, std::string key, Garment garment,
                        bool female, bool child, int size) {
        // Every seventh texture is stored in 24 bits, as some of the game's own are.
        const bool eightBit = ++count_ % 7 != 0;
        return {std::move(name), std::move(tone), std::move(key), garment, female, child, size,
                eightBit, false};
    }

    SkinCatalogue catalogue;

private:
    int count_ = 0;
};

void addAdults(CatalogueMaker& c) {
    for (const std::string g : {"f", "m"}) {
        const bool female = g == "f";
        const std::string ga = g + "a";
        for (const auto b : BodyTypes) {
            const std::string body(b);
            for (int n = 1; n <= 3; ++n)
                c.add(Base, "b00" + std::to_string(n) + ga + body + "_01", Garment::Normal, female,
                      false, n == 1 ? 2 : 1, n == 1 ? 256 : 128);
            // The nude mesh doubles as the swimsuit of the older sets, worn with underwear.
            SkinModel& nude = c.add(Base, "n" + g + body + "_01", Garment::Nude, female, false);
            for (const auto tone : ToneCodes)
                nude.textures.push_back(c.texture("u" + g + body + std::string(tone) + "_undies01",
                                                  std::string(tone), "u" + g + body + "_undies01",
                                                  Garment::Underwear, female, false, 128));
            c.add(Base, "n001" + ga + body + "_01", Garment::Nude, female, false);
            c.add(Base, "f" + g + body + "_01", Garment::Formal, female, false);
            c.add(Base, "f002" + ga + body + "_01", Garment::Formal, female, false);
            c.add(Pack3, "f100" + ga + body + "_original", Garment::Formal, female, false);
            c.add(Pack3, "s100" + ga + body + "_original", Garment::Swimsuit, female, false);
            c.add(Shared, "s002" + ga + body + "_01", Garment::Swimsuit, female, false);
            c.add(Pack3, "l100" + ga + body + "_original", Garment::Pajamas, female, false);
            c.add(Shared, "W100" + ga + body + "_original", Garment::Winter, female, false);
        }
    }
    // The same models once more in the other expansion folder, spelt in other letter
    // cases: the chooser lists each model once but each texture twice.
    c.add(Shared, "F100FAFit_original", Garment::Formal, true, false);
    c.add(Shared, "S100MAFat_original", Garment::Swimsuit, false, false);
    c.add(Shared, "L100fASKN_original", Garment::Pajamas, true, false);
}

void addChildren(CatalogueMaker& c) {
    SkinModel& nude = c.add(Base, "nuchd_01", Garment::Nude, false, true);
    for (const std::string g : {"f", "m"})
        for (const auto tone : ToneCodes)
            nude.textures.push_back(c.texture("u" + g + "chd" + std::string(tone) + "_undies01",
                                              std::string(tone), "u" + g + "chd_undies01",
                                              Garment::Underwear, g == "f", true, 128));
    c.add(Base, "n001ucchd_01", Garment::Nude, false, true);
    for (const std::string g : {"f", "m"}) {
        const bool female = g == "f";
        const std::string gc = g + "c";
        for (int n = 1; n <= 3; ++n)
            c.add(Base, "b00" + std::to_string(n) + gc + "chd_01", Garment::Normal, female, true);
        c.add(Pack3, "f100" + gc + "chd_original", Garment::Formal, female, true);
        c.add(Pack3, "s100" + gc + "chd_original", Garment::Swimsuit, female, true);
        c.add(Pack3, "l100" + gc + "chd_original", Garment::Pajamas, female, true);
        c.add(Shared, "W100" + gc + "chd_original", Garment::Winter, female, true);
    }
}

Pattern solidFabric(Rgb colour) {
    Pattern p;
    p.base = p.accent = p.detail = colour;
    return p;
}

void addHands(SkinCatalogue& c) {
    const std::pair<char, HandPose> poses[] = {
        {'o', HandPose::Open}, {'p', HandPose::Point}, {'c', HandPose::Closed}};
    const Rgb nailColours[] = {{200, 30, 60}, {150, 40, 140}, {230, 110, 120}};
    for (const std::string who : {"hua", "hfa", "hma", "huc"})
        for (const auto& [letter, pose] : poses) {
            int shade = 0;
            for (const auto tone : ToneCodes) {
                HandStyle s;
                s.pose = pose;
                s.skin = skinColour(tone);
                s.small = who == "huc";
                s.paintedNails = who == "hfa";
                s.nails = nailColours[shade++];
                c.hands.push_back({who + letter + std::string(tone), s});
            }
        }
    struct Glove {
        std::string prefix, name;
        Pattern fabric;
        bool fur;
    };
    Pattern lace = solidFabric({245, 245, 245});
    lace.kind = Pattern::Kind::Dots;
    lace.accent = {215, 215, 225};
    lace.scale = 6;
    Pattern flowers = solidFabric({240, 230, 205});
    flowers.kind = Pattern::Kind::Flowers;
    flowers.accent = {250, 250, 250};
    flowers.detail = {225, 200, 150};
    flowers.scale = 9;
    Pattern wool = solidFabric({160, 40, 45});
    wool.kind = Pattern::Kind::Checks;
    wool.accent = {110, 25, 30};
    wool.detail = {230, 220, 200};
    wool.scale = 8;
    const Glove gloves[] = {
        {"gfa", "bride", lace, false},
        {"gua", "pinkg", solidFabric({240, 120, 180}), true},
        {"gma", "white", solidFabric({240, 240, 236}), false},
        {"gma", "leather", solidFabric({60, 40, 30}), false},
        {"gfa", "lace", flowers, false},
        {"gua", "wool", wool, false},
    };
    for (const auto& glove : gloves)
        for (const auto& [letter, pose] : poses) {
            HandStyle s;
            s.pose = pose;
            s.glove = true;
            s.gloveFabric = glove.fabric;
            s.fur = glove.fur;
            c.hands.push_back({glove.prefix + letter + "_" + glove.name, s});
        }
}

SkinCatalogue make() {
    CatalogueMaker maker;
    addAdults(maker);
    addChildren(maker);
    // One file under a texture's name that is no picture at all, so that choosing this
    // model for a dark-skinned sim shows the bad-file report.
    for (auto& m : maker.catalogue.models)
        if (m.mesh == "b002mafat_01") {
            SkinTexture bad = maker.texture("b002mafatdrk_02", "drk", "b002mafat_02", Garment::Normal,
                                                     false, false, 128);
            bad.unreadable = true;
            m.textures.push_back(bad);
        }
    addHands(maker.catalogue);
    return std::move(maker.catalogue);
}

}  // namespace

std::string textureName(std::string_view mesh, std::string_view tone) {
    const auto cut = mesh.find('_');
    if (cut == std::string_view::npos) return std::string(mesh) + std::string(tone);
    return std::string(mesh.substr(0, cut)) + std::string(tone) + std::string(mesh.substr(cut));
}

const SkinModel* SkinCatalogue::model(std::string_view mesh) const {
    for (const auto& m : models)
        if (m.mesh == mesh) return &m;
    return nullptr;
}

const SkinCatalogue& demoSkins() {
    static const SkinCatalogue catalogue = make();
    return catalogue;
}

}  // namespace drapeline::demo
