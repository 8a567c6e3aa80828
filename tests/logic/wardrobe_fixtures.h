#pragma once
// Character files for the wardrobe tests, built in memory.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/iff_file.h"
#include "core/string_set.h"
#include "tests/support/iff_builder.h"

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

inline ByteText simFile(const std::vector<std::string>& texts) {
    testkit::SimOptions sim;
    sim.bodyStrings = texts;
    sim.otherChunks = 3;
    return testkit::characterFile(sim).build();
}

inline IffFile parse(const ByteText& bytes) {
    IffFile iff;
    EXPECT_EQ(iff::parseChecked(iff, bytes), "");
    return iff;
}

inline StringSet bodySet(const IffFile& iff) {
    const IffChunk* chunk = strings::findStringChunk(iff, WardrobeIdField, false);
    return chunk ? strings::decode(chunk->Data) : StringSet{};
}

}  // namespace drapeline::wardrobe_fixtures
