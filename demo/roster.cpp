#include "demo/roster.h"

#include <algorithm>
#include <cstdio>

#include "testkit/random.h"
#include "demo/skin_catalogue.h"
#include "demo/showcases.h"

namespace drapeline::demo {

using namespace testkit;  // the demo game is drawn and built with the testkit's builders

namespace {

const std::vector<std::string> womenNames{
    "Ann", "Beatrix", "Clara", "Dolores", "Edith", "Fiona", "Greta", "Hazel", "Ines", "Judith",
    "Kara", "Lena", "Mabel", "Nora", "Olive", "Petra", "Rosa", "Selma", "Tilda", "Ursula",
    "Vera", "Wanda", "Yara", "Zoe", "Agnes", "Bianca", "Celia", "Dina", "Elsa", "Flora",
    "Gina", "Helga", "Iris", "Joy", "Lucia", "Maud", "Nina", "Opal", "Pia", "Ruth"};
const std::vector<std::string> menNames{
    "Albert", "Bruno", "Cyril", "Dexter", "Emil", "Felix", "Gordon", "Hugo", "Ivan", "Jonas",
    "Karl", "Leon", "Marvin", "Nils", "Oscar", "Pablo", "Quentin", "Rufus", "Stan", "Theo",
    "Umar", "Victor", "Walter", "Xavier", "Yusuf", "Amos", "Boris", "Carlos", "Dario", "Elias",
    "Frank", "Gus", "Hank", "Igor", "Jasper", "Kurt", "Lars", "Milo", "Ned", "Otto"};
const std::vector<std::string> girlNames{
    "Amy", "Bella", "Cleo", "Daisy", "Emma", "Fay", "Gwen", "Holly", "Ivy", "Jenny",
    "Kitty", "Lily", "Mia", "Nell", "Polly", "Ruby", "Sally", "Tess", "Wendy", "Zelda"};
const std::vector<std::string> boyNames{
    "Alfie", "Ben", "Charlie", "Danny", "Eddie", "Freddie", "George", "Harry", "Jack", "Kevin",
    "Louie", "Max", "Ollie", "Pete", "Robbie", "Sammy", "Timmy", "Toby", "Willy", "Zack"};
const std::vector<std::string> surnames{
    "Newbie", "Pleasant", "Roomies", "Lothario", "Bachelor", "Burb", "Dreamer", "Goodman",
    "Fairweather", "Lemon", "Tinker", "Bramble", "Oakley", "Winslow", "Marsh", "Quill",
    "Hartley", "Pepper", "Sparrow", "Whitlock", "Crumb", "Dunmore", "Fitch", "Gale"};
const std::vector<std::string> pastimes{
    "loves gardening and late-night jazz.", "collects garden gnomes.", "paints badly but often.",
    "never misses the morning run.", "cooks a mean lasagne.", "dreams of the stars.",
    "plays chess with the neighbours.", "reads everything twice.", "fixes anything with tape.",
    "dances when nobody watches.", "keeps the pool spotless.", "tells the worst jokes in town."};

const std::vector<Rgb> hairColours{{25, 20, 20},  {70, 45, 30},  {110, 70, 40}, {150, 90, 45},
                                   {200, 160, 70}, {230, 205, 130}, {160, 60, 30}, {60, 35, 25}};
const std::vector<Rgb> eyeColours{{60, 120, 180}, {70, 140, 80}, {90, 60, 35}, {130, 100, 50}, {120, 130, 140}};
const std::vector<Rgb> lipColours{{190, 60, 80}, {200, 40, 50}, {140, 50, 90}, {225, 110, 100}};
const std::vector<Rgb> backgrounds{{90, 140, 200}, {200, 120, 80}, {120, 190, 140}, {150, 120, 200},
                                   {210, 180, 90}, {90, 170, 180}, {200, 110, 150}, {130, 150, 110}};

struct Outfit {
    std::string mesh, texture;
    std::string entry() const { return mesh + ",BODY=" + texture; }
};

Outfit wearing(const std::string& mesh, const std::string& tone) {
    return {mesh, textureName(mesh, tone)};
}

std::string hand(const std::string& who, char side, char pose, const std::string& texture) {
    return "H" + who + side + pose + ",HAND=" + texture;
}

std::string twoDigits(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n % 100);
    return text;
}

const char* styleName(HairStyle style) {
    switch (style) {
    case HairStyle::Crop: return "crop";
    case HairStyle::Spiky: return "spiky";
    case HairStyle::Bald: return "bald";
    case HairStyle::Curly: return "curly";
    case HairStyle::Long: return "long";
    case HairStyle::Bob: return "bob";
    case HairStyle::Ponytail: return "ponytail";
    case HairStyle::Bun: return "bun";
    case HairStyle::Pigtails: return "pigtails";
    }
    return "crop";
}

class RosterMaker {
public:
    RosterMaker() : random_(2026) {}

    std::vector<SimPlan> make() {
        for (const auto& [folder, count] : Neighbourhoods) {
            const std::size_t first = sims_.size();
            int number = 1;
            while (static_cast<int>(sims_.size() - first) < count) {
                const int left = count - static_cast<int>(sims_.size() - first);
                household(std::string(folder), number, std::min(left, random_.between(1, 4)), first);
            }
        }
        return std::move(sims_);
    }

private:
    void household(const std::string& folder, int& number, int size, std::size_t neighbourhoodStart) {
        const std::string surname = random_.pick(surnames);
        const std::string tone(ToneCodes[random_.below(3)]);
        const Rgb hair = random_.pick(hairColours);
        const std::size_t start = sims_.size();
        const bool firstFemale = random_.chance(50);
        for (int i = 0; i < size; ++i) {
            const bool adult = i == 0 || (i == 1 && random_.chance(65));
            const bool female = i == 0 ? firstFemale : (i == 1 && adult ? random_.chance(20) != firstFemale : random_.chance(50));
            SimPlan sim;
            sim.neighbourhood = folder;
            const std::string digits = "000" + twoDigits(number++);
            sim.fileName = "User" + digits + ".iff";
            sim.label = "user" + digits;
            sim.adult = adult;
            sim.female = female;
            sim.lastName = surname;
            sim.tone = random_.chance(15) ? std::string(ToneCodes[random_.below(3)]) : tone;
            sim.body = adult ? std::string(BodyTypes[random_.below(3)]) : std::string(ChildBody);
            sim.firstName = nextName(adult, female);
            sim.description = sim.firstName + " " + surname + " " + random_.pick(pastimes);
            sim.look = looks(sim, random_.chance(70) ? hair : random_.pick(hairColours));
            dress(sim);
            sims_.push_back(std::move(sim));
        }
        // Friends: the household first, then neighbours.
        for (std::size_t i = start; i < sims_.size(); ++i) {
            for (std::size_t j = start; j < sims_.size() && sims_[i].friends.size() < 3; ++j)
                if (j != i) sims_[i].friends.push_back(j);
            const std::size_t known = start - neighbourhoodStart;
            for (int extra = 0; extra < 2 && known > 0 && sims_[i].friends.size() < 4; ++extra) {
                const std::size_t f = neighbourhoodStart + random_.below(static_cast<std::uint32_t>(known));
                auto& list = sims_[i].friends;
                if (std::find(list.begin(), list.end(), f) == list.end()) list.push_back(f);
            }
        }
    }

    std::string nextName(bool adult, bool female) {
        auto& pool = adult ? (female ? women_ : men_) : (female ? girls_ : boys_);
        const auto& all = adult ? (female ? womenNames : menNames) : (female ? girlNames : boyNames);
        if (pool.empty()) pool = all;
        // Not simply in order, but each name once before any comes again.
        const auto at = pool.begin() + random_.below(static_cast<std::uint32_t>(pool.size()));
        std::string name = *at;
        pool.erase(at);
        return name;
    }

    Look looks(const SimPlan& sim, Rgb hair) {
        Look look;
        look.female = sim.female;
        look.child = !sim.adult;
        const Rgb base = skinColour(sim.tone);
        const int jitter = random_.between(-10, 10);
        look.skin = {clampByte(base.r + jitter), clampByte(base.g + jitter), clampByte(base.b + jitter)};
        look.hair = sim.adult && random_.chance(10) ? Rgb{170, 170, 175} : hair;
        look.eyes = random_.pick(eyeColours);
        look.lips = random_.pick(lipColours);
        look.background = random_.pick(backgrounds);
        using H = HairStyle;
        const std::vector<H> styles = sim.adult ? (sim.female ? std::vector<H>{H::Long, H::Bob, H::Ponytail, H::Bun, H::Curly}
                                                              : std::vector<H>{H::Crop, H::Spiky, H::Curly, H::Crop, H::Bald})
                                                : (sim.female ? std::vector<H>{H::Pigtails, H::Long, H::Ponytail, H::Bob}
                                                              : std::vector<H>{H::Crop, H::Spiky, H::Curly});
        look.hairStyle = random_.pick(styles);
        look.glasses = random_.chance(sim.adult ? 18 : 6);
        look.beard = sim.adult && !sim.female && random_.chance(22);
        look.moustache = sim.adult && !sim.female && !look.beard && random_.chance(18);
        look.earrings = sim.female && sim.adult && random_.chance(40);
        look.freckles = random_.chance(sim.adult ? 6 : 25);
        look.faceWidth = 0.9 + random_.unit() * 0.2;
        look.seed = random_.next();
        return look;
    }

    void dress(SimPlan& sim) {
        const std::string& t = sim.tone;
        const std::string g = sim.female ? "f" : "m";
        const std::string& b = sim.body;
        const bool adult = sim.adult;
        const std::string who = adult ? g + "a" : g + "c";
        const int roll = random_.between(0, 99);
        const int count = adult ? (roll < 55 ? 34 : roll < 80 ? 33 : 30) : (roll < 40 ? 34 : roll < 70 ? 33 : 30);

        const int model = random_.between(1, 3);
        Outfit normal = wearing("b00" + std::to_string(model) + who + b + "_01", t);
        if (model == 1 && adult && random_.chance(50))
            normal.texture = textureName("b001" + who + b + "_02", t);
        const Outfit nude = adult ? wearing(random_.chance(85) ? "n" + g + b + "_01" : "n001" + who + b + "_01", t)
                                  : wearing(random_.chance(85) ? "nuchd_01" : "n001ucchd_01", t);
        const Outfit undies = adult ? Outfit{"n" + g + b + "_01", "u" + g + b + t + "_undies01"}
                                    : Outfit{"nuchd_01", "u" + g + "chd" + t + "_undies01"};
        const Outfit formalOld = wearing("f" + g + b + "_01", t);
        const Outfit formal = wearing(random_.chance(65) ? "f100" + who + b + "_original" : "f002" + who + b + "_01", t);
        const Outfit swimsuit = wearing(!adult || random_.chance(70) ? "s100" + who + b + "_original" : "s002" + who + b + "_01", t);
        const Outfit pajamas = wearing("l100" + who + b + "_original", t);
        const Outfit winter = wearing("W100" + who + b + "_original", t);

        const std::string head = "c0" + twoDigits(random_.between(1, 40)) + (adult ? g + "a" : g + "c");
        const std::string hair = styleName(sim.look.hairStyle);

        std::vector<std::string> e(static_cast<std::size_t>(count) + 1);   // e[0] unused
        e[1] = adult ? "adult" : "child";
        e[2] = normal.entry();
        e[3] = head + "_" + hair + ",HEAD-HEAD=" + head + t + "_" + hair;
        // Accessories ride on the head like the head itself; the editor passes them through.
        const std::string age = adult ? "a" : "c";
        if (sim.look.glasses) e[5] = "a001" + g + age + "_glasses,HEAD-HEAD=a001" + g + age + "_glasses";
        if (sim.look.earrings) e[6] = "a002fa_earrings,HEAD-HEAD=a002fa_earrings";
        if (sim.look.beard || sim.look.moustache) {
            const std::string kind = sim.look.beard ? "beard" : "moustache";
            e[7] = "a003ma_" + kind + ",HEAD-HEAD=a003ma" + t + "_" + kind;
        }
        e[13] = sim.female ? "female" : "male";
        e[15] = t;
        e[16] = nude.entry();
        e[17] = undies.entry();
        const std::string key = adult ? g : "u";
        const std::string handSet = !adult ? (random_.chance(50) ? "huc" : "hua")
                                   : random_.chance(72) ? "hua" : sim.female ? "hfa" : "hma";
        const char poses[] = {'O', 'P', 'C'};
        for (int p = 0; p < 3; ++p) {
            const std::string texture = handSet + static_cast<char>(poses[p] - 'A' + 'a') + t;
            e[static_cast<std::size_t>(18 + 2 * p)] = hand(key, 'L', poses[p], texture);
            e[static_cast<std::size_t>(19 + 2 * p)] = hand(key, 'R', poses[p], texture);
        }
        if (adult) {
            e[28] = formalOld.entry();
            const int gloves = random_.between(0, 99);
            const std::string formalHands = sim.female ? (gloves < 75 ? "gfao_bride" : "gfao_lace")
                                                       : (gloves < 70 ? "" : gloves < 90 ? "gmao_white" : "gmao_leather");
            if (!formalHands.empty()) {
                e[29] = hand(key, 'L', 'O', formalHands);
                e[30] = hand(key, 'R', 'O', formalHands);
            }
        }
        if (count >= 31) {
            e[31] = adult ? formal.entry() : count >= 34 ? "ADDED" : "";
            e[32] = swimsuit.entry();
            e[33] = pajamas.entry();
        }
        if (count >= 34) e[34] = winter.entry();
        sim.bodyStrings.assign(e.begin() + 1, e.end());
        sim.look.clothes = outfitStyle(Garment::Normal, sim.female, !adult, styleKeyOf(normal.texture, t));
    }

    static std::string styleKeyOf(const std::string& texture, const std::string& tone) {
        const auto at = texture.find(tone + "_");
        return at == std::string::npos ? texture : texture.substr(0, at) + texture.substr(at + tone.size());
    }

    Random random_;
    std::vector<SimPlan> sims_;
    std::vector<std::string> women_, men_, girls_, boys_;
};

}  // namespace

std::vector<SimPlan> demoRoster() {
    auto sims = RosterMaker().make();
    addShowcases(sims);
    return sims;
}

}  // namespace drapeline::demo
