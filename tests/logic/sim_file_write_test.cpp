#include <gtest/gtest.h>

#include "tests/logic/wardrobe_fixtures.h"
#include "wardrobe/sim_file.h"

using namespace drapeline;
using namespace drapeline::wardrobe;
using namespace drapeline::wardrobe_fixtures;

namespace {

// A decoded set whose every entry carries its own language code and comment, so that a
// write that touches more than the entry text shows.
StringSet decodedSet(const std::vector<std::string>& texts) {
    std::vector<testkit::StringItem> items;
    for (std::size_t i = 0; i < texts.size(); ++i)
        items.push_back({texts[i], "note " + std::to_string(i + 1), static_cast<std::uint8_t>(i + 1)});
    return strings::decode(testkit::stringSetData(items, {ByteText("\xFD\xFF", 2), {}, "tail"}));
}

// Fields that differ from everything in the builder's set.
WardrobeFields changedFields(const std::string& age, const std::string& gender) {
    WardrobeFields f;
    for (const OutfitKind kind : AllOutfits) {
        const std::string k = std::to_string(static_cast<int>(kind));
        f.outfit(kind) = {"mesh" + k, "tex" + k};
    }
    for (const HandSlot slot : AllHandSlots) f.hand(slot) = "hand" + std::to_string(static_cast<int>(slot));
    f.age = age;
    f.gender = gender;
    f.name = "Ann  (user1)";
    return f;
}

// Entry numbers whose text differs between the two sets; language codes, comments, the
// format and count fields and the trailer must never differ.
std::vector<std::size_t> changedEntries(const StringSet& before, const StringSet& after) {
    EXPECT_EQ(before.entries.size(), after.entries.size());
    EXPECT_EQ(before.formatCode, after.formatCode);
    EXPECT_EQ(before.countField, after.countField);
    EXPECT_EQ(before.trailer, after.trailer);
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < before.entries.size(); ++i) {
        EXPECT_EQ(before.entries[i].languageCode, after.entries[i].languageCode);
        EXPECT_EQ(before.entries[i].comment, after.entries[i].comment);
        if (before.entries[i].text != after.entries[i].text) changed.push_back(i + 1);
    }
    return changed;
}

const std::string& text(const StringSet& set, std::size_t number) {
    return set.entries.at(number - 1).text;
}

}  // namespace

TEST(WriteFields, WhichEntriesASaveWritesByCountAndAge) {
    const std::vector<std::size_t> base{2, 16, 17, 18, 19, 20, 21, 22, 23, 28, 29, 30};
    const auto with = [&](std::vector<std::size_t> more) {
        more.insert(more.end(), base.begin(), base.end());
        std::sort(more.begin(), more.end());
        return more;
    };
    struct Case {
        std::size_t n;
        std::string age;
        std::vector<std::size_t> written;
    };
    const Case cases[] = {
        {30, "adult", base},
        {33, "adult", with({31, 32, 33})},
        {33, "child", base},   // short, though entries 31 to 33 are there
        {34, "adult", with({31, 32, 33, 34})},
        {40, "", with({31, 32, 33, 34})},
    };
    for (const auto& c : cases) {
        const StringSet before = decodedSet(bodyStrings(c.n, c.age));
        StringSet after = before;
        writeFields(after, changedFields(c.age, "female"));
        EXPECT_EQ(changedEntries(before, after), c.written) << c.n << " " << c.age;
        EXPECT_EQ(strings::encode(after).substr(strings::encode(after).size() - 4), "tail");
    }
}

TEST(WriteFields, OutfitAndHandTextsAnUnwornFormalAndEmptyFormalHands) {
    StringSet set = decodedSet(bodyStrings(34));
    WardrobeFields f = changedFields("adult", "female");
    writeFields(set, f);
    EXPECT_EQ(text(set, 28), "mesh2,BODY=tex2");
    EXPECT_EQ(text(set, 31), "mesh2,BODY=tex2");
    EXPECT_EQ(text(set, 32), "mesh1,BODY=tex1");
    EXPECT_EQ(text(set, 29), "HfLO,HAND=hand0");
    EXPECT_EQ(text(set, 30), "HfRO,HAND=hand1");
    EXPECT_EQ(text(set, 23), "HfRC,HAND=hand7");

    // Without a formal mesh the formal is unworn, whatever its texture field holds.
    f.outfit(OutfitKind::Formal) = {"", "left over"};
    writeFields(set, f);
    EXPECT_EQ(text(set, 28), ",BODY=");
    EXPECT_EQ(text(set, 31), ",BODY=");

    // The hands take their key from the age and gender fields.
    for (const auto& [age, gender, key] : {std::tuple{"adult", "male", "HmLP"},
                                           std::tuple{"child", "female", "HuLP"},
                                           std::tuple{"adult", "Female", "HmLP"}}) {
        writeFields(set, changedFields(age, gender));
        EXPECT_EQ(text(set, 20), std::string(key) + ",HAND=hand4");
    }

    // One empty formal hand empties both.
    for (const HandSlot emptied : {HandSlot::FormalLeft, HandSlot::FormalRight}) {
        f = changedFields("adult", "female");
        f.hand(emptied) = "";
        writeFields(set, f);
        EXPECT_EQ((std::vector{text(set, 29), text(set, 30), text(set, 18)}),
                  (std::vector<std::string>{"", "", "HfLO,HAND=hand2"}));
    }
}

TEST(WriteFields, ChildrenGetAddedAndDefaultOutfitsOnlyForTheExactAgeChild) {
    struct Case {
        std::string age, gender;
        std::string formal, swimsuit, pajamas, winter;
    };
    const Case cases[] = {
        {"child", "male", "ADDED", "s100mcchd_original,BODY=s100mcchdlgt_original",
         "l100mcchd_original,BODY=l100mcchdlgt_original",
         "w100mcchd_original,BODY=w100mcchdlgt_original"},
        {"child", "female", "ADDED", "s100fcchd_original,BODY=s100fcchdlgt_original",
         "l100fcchd_original,BODY=l100fcchdlgt_original",
         "w100fcchd_original,BODY=w100fcchdlgt_original"},
        {"child", "", "ADDED", "s100mcchd_original,BODY=s100mcchdlgt_original",
         "l100mcchd_original,BODY=l100mcchdlgt_original",
         "w100mcchd_original,BODY=w100mcchdlgt_original"},
        {"", "male", "ADDED", ",BODY=", ",BODY=", ",BODY="},
        {"Child", "male", "ADDED", ",BODY=", ",BODY=", ",BODY="},
        {"adult", "male", ",BODY=", ",BODY=", ",BODY=", ",BODY="},
    };
    for (const auto& c : cases) {
        StringSet set = decodedSet(bodyStrings(34, c.age, c.gender));
        WardrobeFields f = changedFields(c.age, c.gender);
        for (const OutfitKind kind : {OutfitKind::Formal, OutfitKind::Swimsuit,
                                      OutfitKind::Pajamas, OutfitKind::Winter})
            f.outfit(kind) = {};
        writeFields(set, f);
        // The short layout's swimsuit slot (17) gets no default.
        EXPECT_EQ((std::vector{text(set, 31), text(set, 32), text(set, 33), text(set, 34), text(set, 17)}),
                  (std::vector<std::string>{c.formal, c.swimsuit, c.pajamas, c.winter, ",BODY="}))
            << c.age << c.gender;
    }
    // A child's chosen outfits are kept.
    StringSet set = decodedSet(bodyStrings(34, "child", "male"));
    writeFields(set, changedFields("child", "male"));
    EXPECT_EQ(text(set, 32), "mesh1,BODY=tex1");
}

TEST(WriteFields, ASetTooShortForTheSaveIsRefusedUnchanged) {
    for (const auto& [n, age] : {std::pair<std::size_t, std::string>{29, "adult"}, {31, "adult"},
                                 {32, "adult"}, {12, "child"}}) {
        const StringSet before = decodedSet(bodyStrings(n, age));
        StringSet set = before;
        const WardrobeFields fields = changedFields(age, "female");
        EXPECT_EQ(testkit::errorNumberOf([&] { writeFields(set, fields); }), 9) << n;
        EXPECT_TRUE(changedEntries(before, set).empty()) << n;
    }
    // A child's set of 31 or 32 entries uses the short layout and saves.
    StringSet child = decodedSet(bodyStrings(31, "child"));
    writeFields(child, changedFields("child", "female"));
}

TEST(WriteFields, WhatWasReadIsWrittenBackUnchangedAndNoPlaceholderReachesTheFile) {
    for (const auto& [n, age] : {std::pair<std::size_t, std::string>{30, "adult"}, {33, "adult"},
                                 {33, "child"}, {34, "adult"}}) {
        auto texts = bodyStrings(n, age);
        // Written as the edit window would have written them: the short formal slot holds
        // the formal shown, the hand keys match the age.
        texts[27] = layoutFor(n, age) == WardrobeLayout::Short ? "f002,BODY=f002lgt" : texts[30];
        if (age != "adult")
            for (const HandSlot slot : AllHandSlots) texts[handEntryNumber(slot) - 1][1] = 'u';
        const IffFile iff = parse(simFile(texts));
        const StringSet before = bodySet(iff);
        StringSet after = before;
        writeFields(after, readFields(iff, before));
        EXPECT_TRUE(changedEntries(before, after).empty()) << n << age;
        for (const auto& e : after.entries) EXPECT_EQ(e.text.find("***"), std::string::npos);
    }
}
