#include "demo/showcases.h"

#include <functional>
#include <set>
#include <stdexcept>

#include "demo/skin_catalogue.h"

namespace drapeline::demo {

namespace {

class Picker {
public:
    explicit Picker(std::vector<SimPlan>& sims) : sims_(sims) {}

    // The n-th sim (from 0) of `folder` that fits and has no part in a showcase yet.
    SimPlan& pick(std::string_view folder, int n, const std::function<bool(const SimPlan&)>& fits) {
        for (std::size_t i = 0; i < sims_.size(); ++i) {
            const SimPlan& s = sims_[i];
            if (s.neighbourhood != folder || taken_.count(i) || !fits(s)) continue;
            if (n-- == 0) {
                taken_.insert(i);
                return sims_[i];
            }
        }
        throw std::logic_error("the demo roster lacks a sim for a showcase");
    }
    SimPlan& at(std::string_view folder, std::size_t index) {
        for (std::size_t i = 0; i < sims_.size(); ++i)
            if (sims_[i].neighbourhood == folder && index-- == 0) {
                taken_.insert(i);
                return sims_[i];
            }
        throw std::logic_error("the demo roster is smaller than expected");
    }

private:
    std::vector<SimPlan>& sims_;
    std::set<std::size_t> taken_;
};

std::string& entry(SimPlan& sim, std::size_t number) { return sim.bodyStrings.at(number - 1); }

bool adultWoman(const SimPlan& s) { return s.adult && s.female; }
bool adultMan(const SimPlan& s) { return s.adult && !s.female; }

void givePinkHands(SimPlan& sim, bool bothHands) {
    const std::string who = !sim.adult ? "u" : sim.female ? "f" : "m";
    entry(sim, 29) = "H" + who + "LO,HAND=guao_pinkg";
    entry(sim, 30) = bothHands ? "H" + who + "RO,HAND=guao_pinkg"
                     : sim.female ? "H" + who + "RO,HAND=gfao_bride" : "";
    sim.notes.push_back(bothHands ? "pink gorilla formal hands" : "pink gorilla left formal hand");
    // A child's pink hands are left alone by the repair, so they are no fault to report.
    if (sim.adult) sim.faults.push_back("pink-hands");
}

// Outfits cut for another body type than the normal outfit's, as Hot Date left them.
void misfit(SimPlan& sim, int variant) {
    const std::string g = sim.female ? "fa" : "ma";
    std::string other;
    for (int i = 1; i <= 3 && other.empty(); ++i) {
        const std::string candidate(BodyTypes[static_cast<std::size_t>(variant + i) % 3]);
        if (candidate != sim.body) other = candidate;
    }
    // Which of formal, swimsuit and pajamas are wrong.
    static const bool wrong[][3] = {{true, false, false}, {false, true, true}, {true, true, true},
                                    {true, false, true},  {false, true, false}, {true, true, true}};
    const char* prefixes[] = {"f100", "s100", "l100"};
    const char* names[] = {"formal", "swimsuit", "pajamas"};
    std::string which;
    for (int o = 0; o < 3; ++o) {
        if (!wrong[variant % 6][o]) continue;
        const std::string mesh = std::string(prefixes[o]) + g + other + "_original";
        entry(sim, static_cast<std::size_t>(31 + o)) = mesh + ",BODY=" + textureName(mesh, sim.tone);
        which += (which.empty() ? "" : ", ") + std::string(names[o]);
    }
    sim.notes.push_back(which + " cut for body type " + other + ", normal outfit " + sim.body);
    sim.faults.push_back("body-type");
}

// The texture part of an outfit entry, replaced.
void wearTexture(SimPlan& sim, std::size_t number, const std::string& texture) {
    std::string& e = entry(sim, number);
    e = e.substr(0, e.find('=') + 1) + texture;
}

// A swimsuit whose texture came from a download that was deleted since.
void missingTexture(SimPlan& sim) {
    const std::string& e = entry(sim, 32);
    const std::string mesh = e.substr(0, e.find(','));
    wearTexture(sim, 32, textureName(mesh.substr(0, mesh.find('_')) + "_stripes", sim.tone));
    sim.notes.push_back("swimsuit texture not installed");
    sim.faults.push_back("missing-texture");
}

// Dressed from an ensemble saved from a sim of another skin tone: the normal outfit and
// the open hands are the other tone's.
void otherTone(SimPlan& sim) {
    const std::string other = sim.tone == "med" ? "drk" : "med";
    const std::string& normal = entry(sim, 2);
    wearTexture(sim, 2, textureName(normal.substr(0, normal.find(',')), other));
    for (const std::size_t hand : {18, 19}) {
        const std::string& e = entry(sim, hand);
        const std::string texture = e.substr(e.find('=') + 1);
        wearTexture(sim, hand, texture.substr(0, texture.size() - 3) + other);
    }
    sim.notes.push_back("normal outfit and open hands of " + other + " skin, the sim's is " + sim.tone);
    sim.faults.push_back("skin-tone");
}

// The Hot Date fault at its plainest: a fit formal on a skinny sim.
void fitOnSkinny(SimPlan& sim) {
    const std::string mesh = std::string("f100") + (sim.female ? "fa" : "ma") + "fit_original";
    entry(sim, 31) = mesh + ",BODY=" + textureName(mesh, sim.tone);
    sim.notes.push_back("formal cut for body type fit on a skinny sim");
    sim.faults.push_back("body-type");
}

}  // namespace

void addShowcases(std::vector<SimPlan>& sims) {
    Picker picker(sims);

    SimPlan& unreadable = picker.at("UserData2", 12);
    unreadable.unreadable = true;
    unreadable.notes.push_back("can not be read: the file ends in the middle of a chunk");
    unreadable.faults.push_back("unreadable");

    SimPlan& nameless = picker.at("UserData3", 6);
    nameless.named = false;
    nameless.notes.push_back("no name set (no CTSS chunk): the thumbnail has no name");

    const auto withFormalHands = [](const SimPlan& s) { return s.bodyStrings.size() >= 30; };
    givePinkHands(picker.pick("UserData", 1, adultWoman), true);
    givePinkHands(picker.pick("UserData", 5, adultWoman), false);
    givePinkHands(picker.pick("UserData", 10, adultWoman), true);
    givePinkHands(picker.pick("UserData2", 2, adultWoman), true);
    givePinkHands(picker.pick("UserData2", 1, adultMan), true);
    givePinkHands(picker.pick("UserData3", 0, [&](const SimPlan& s) { return !s.adult && withFormalHands(s); }), true);

    const auto adultWith = [](std::size_t n) {
        return [n](const SimPlan& s) { return s.adult && s.bodyStrings.size() == n; };
    };
    misfit(picker.pick("UserData", 0, adultWith(34)), 0);
    misfit(picker.pick("UserData", 3, adultWith(34)), 1);
    misfit(picker.pick("UserData", 8, adultWith(34)), 2);
    misfit(picker.pick("UserData2", 1, adultWith(34)), 3);
    misfit(picker.pick("UserData2", 4, adultWith(34)), 4);
    misfit(picker.pick("UserData3", 0, adultWith(33)), 5);

    // Faults only the overview finds, on sims far down the first neighbourhood's list.
    const auto lateAdultWith = [](std::size_t n, const char* body) {
        return [n, body](const SimPlan& s) {
            return s.adult && s.bodyStrings.size() == n && (!*body || s.body == body) && s.fileName > "User00030.iff";
        };
    };
    missingTexture(picker.pick("UserData", 0, lateAdultWith(34, "")));
    otherTone(picker.pick("UserData", 1, lateAdultWith(34, "")));
    fitOnSkinny(picker.pick("UserData", 0, lateAdultWith(34, "skn")));

    for (const auto folder : {"UserData", "UserData2", "UserData3"}) {
        SimPlan& child = picker.pick(folder, 0, [](const SimPlan& s) {
            return !s.adult && s.bodyStrings.size() == 34;
        });
        child.notes.push_back("child with 34 entries: entry 31 holds ADDED");
    }
}

}  // namespace drapeline::demo
