#pragma once
// Character files for the wardrobe tests, built in memory.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/iff_file.h"
#include "core/string_set.h"
#include "platform/files.h"
#include "tests/support/doubles.h"
#include "testkit/fixture_sim.h"
#include "tests/support/temp_folder.h"
#include "wardrobe/edit_sim_model.h"

namespace drapeline::wardrobe_fixtures {

// The builder's adult woman, cut or padded with empty entries to `n` entries.
inline std::vector<std::string> bodyStrings(std::size_t n, const std::string& age = "adult",
                                            const std::string& gender = "female") {
    std::vector<std::string> texts = testkit::adultFemaleBodyStrings();
    texts.resize(n);
    if (n >= 1) texts[0] = age;
    if (n >= 13) texts[12] = gender;
    return texts;
}

// `texts` with the entries numbered (from 1) in `entries` replaced.
inline std::vector<std::string> withEntries(std::vector<std::string> texts,
                                            const std::map<std::size_t, std::string>& entries) {
    for (const auto& [number, text] : entries) texts.at(number - 1) = text;
    return texts;
}

inline ByteText simFile(const std::vector<std::string>& texts) {
    testkit::SimOptions sim;
    sim.bodyStrings = texts;
    sim.otherChunks = 3;
    return testkit::characterFile(sim).build();
}

inline IffFile parse(const ByteText& bytes) { return testkit::parsedIff(bytes); }

inline StringSet bodySet(const IffFile& iff) {
    const IffChunk* chunk = strings::findStringChunk(iff, WardrobeIdField, false);
    return chunk ? strings::decode(chunk->data) : StringSet{};
}

// The wardrobe entries' texts of a character file.
inline std::vector<std::string> bodyTexts(const ByteText& bytes) {
    std::vector<std::string> texts;
    for (const auto& e : bodySet(parse(bytes)).entries) texts.push_back(e.text);
    return texts;
}

// A program folder and a game folder, with the doubles over them.
class GameFolders : public ::testing::Test {
protected:
    testkit::TempFolder programFolder;
    testkit::TempFolder game;
    testkit::FakeMachine machine{programFolder.path()};
};

// An edit window's model over the game, with the error trap recorded.
class EditSimTest : public GameFolders {
protected:
    shell::GameSession session{game.path()};
    wardrobe::EditSimModel model{machine.services, session};
    testkit::TrapRecorder trap;

    const platform::ShownPicture& preview(wardrobe::OutfitKind k) const {
        return model.outfitPreview(k);
    }
    const platform::ShownPicture& preview(wardrobe::HandSlot s) const {
        return model.handPreview(s);
    }
    // A small bitmap at a path below the game folder.
    std::string installSkin(const std::string& relative, int width = 4) {
        return game.write(relative, testkit::solidBitmap(width, 4, {9, 9, 9}));
    }
    // The folder and file name of a shown picture, or its stock picture.
    static std::string shown(const platform::ShownPicture& p) {
        if (!p.picture) return stock(p.stock);
        return platform::fileNameOf(platform::folderOf(p.path)) + "/" + platform::fileNameOf(p.path);
    }
    static std::string stock(platform::StockPicture s) {
        return "stock " + std::to_string(static_cast<int>(s));
    }
};

}  // namespace drapeline::wardrobe_fixtures
