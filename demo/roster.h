#pragma once
// The sims of the demo game: who they are, what they wear, how they look, and the
// showcases a newcomer should meet (the repair tools' targets, a file that can not
// be read, a sim without a name). Households share a surname, a skin tone and often a
// hair colour, so a neighbourhood looks like one.

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "demo/portraits.h"

namespace drapeline::demo {

// Folder name and number of sims; the first has more than one page of 49 thumbnails.
inline constexpr std::array<std::pair<std::string_view, int>, 3> Neighbourhoods{
    {{"UserData", 60}, {"UserData2", 40}, {"UserData3", 20}}};

struct SimPlan {
    std::string neighbourhood;     // "UserData2"
    std::string fileName;          // "User00013.iff"
    std::string label;             // "user00013"
    std::string firstName;
    std::string lastName;
    std::string description;
    bool adult = true;
    bool female = false;
    std::string tone;              // "lgt", "med" or "drk"
    std::string body;              // "fit", "fat", "skn"; "chd" for a child
    std::vector<std::string> bodyStrings;   // entry 1 first
    Look look;
    std::vector<std::size_t> friends;        // indices into the roster
    bool named = true;             // false: no CTSS chunk
    bool unreadable = false;       // the file is cut off in the middle of a chunk
    std::vector<std::string> notes;          // what this sim shows a newcomer
    // The wardrobe faults planted in this sim, by the names the audit gives them
    // ("missing-texture", "skin-tone", "body-type", "pink-hands", "unreadable").
    std::vector<std::string> faults;
};

std::vector<SimPlan> demoRoster();

}  // namespace drapeline::demo
