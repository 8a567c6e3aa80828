#include <gtest/gtest.h>

#include <random>

#include "tests/logic/wardrobe_fixtures.h"
#include "tests/support/doubles.h"
#include "tests/support/temp_folder.h"
#include "wardrobe/edit_sim_model.h"
#include "wardrobe/sim_file.h"

using namespace drapeline;
using namespace drapeline::wardrobe;
using namespace drapeline::wardrobe_fixtures;

namespace {

// A random character file of the kinds the game and other tools leave behind: any entry
// count, any age, outfit entries that are empty, unworn, marked, not outfits at all, and
// now and then a broken label or name.
ByteText variant(std::mt19937& random) {
    const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    static const std::size_t counts[] = {1, 12, 17, 28, 29, 30, 31, 32, 33, 34, 35, 60};
    static const char* const ages[] = {"adult", "child", "", "Adult"};
    static const char* const outfits[] = {"m,BODY=t", "", ",BODY=", "ADDED", "notanoutfit", "a,b"};
    auto texts = bodyStrings(counts[pick(std::size(counts))], ages[pick(std::size(ages))]);
    for (std::size_t e : {2, 16, 17, 28, 31, 32, 33, 34, 29, 30})
        if (e <= texts.size() && pick(3) == 0) texts[e - 1] = outfits[pick(std::size(outfits))];

    testkit::IffBuilder b;
    b.chunk("OBJD", 1, "x", "user1");
    if (pick(12) == 0) b.rawLabel(ByteText(64, 'L'));
    b.ctss(2000, {"Ann"});
    if (pick(12) == 0) b.chunk("CTSS", 2, ByteText("\1\2\3\4\5name", 9));
    if (pick(15) != 0) b.strings(200, texts);
    if (pick(15) == 0) b.chunkWithIdField("STR#", testkit::idField(200, 0, 0x10), "\1\0\7\0");
    b.bitmap("faces", 1, testkit::solidBitmap(2, 2, {}));
    if (pick(12) == 0) b.rawLabel(ByteText(64, 'B'));
    return b.map().build();
}

// Opening and saving as the edit window does, in memory: what may fail there.
bool opensAndSaves(const IffFile& read) {
    try {
        IffFile iff = read;
        const IffChunk* chunk = strings::findStringChunk(iff, WardrobeIdField, false);
        if (!chunk) return false;
        StringSet set = strings::decode(chunk->Data);
        const WardrobeFields fields = readFields(iff, set);
        writeFields(set, fields);
        strings::store(iff, set, WardrobeIdField, false);
        iff::serialise(iff);
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

}  // namespace

TEST(WardrobeProblem, AcceptsExactlyTheFilesThatOpenAndSave) {
    std::mt19937 random(20020330);
    int accepted = 0;
    for (int i = 0; i < 1500; ++i) {
        const IffFile iff = parse(variant(random));
        const auto problem = wardrobeProblem(iff);
        EXPECT_EQ(!problem.has_value(), opensAndSaves(iff)) << i << ": " << problem.value_or("");
        accepted += !problem;
    }
    // Both kinds must be well represented for the comparison to mean anything.
    EXPECT_GT(accepted, 200);
    EXPECT_LT(accepted, 1200);
}

TEST(WardrobeProblem, TheEditWindowOpensAndSavesEveryAcceptedFileAndRefusesTheRest) {
    std::mt19937 random(7);
    testkit::TempFolder folder;
    testkit::FakeMachine machine(folder.makeFolder("program"));
    const app::GameSession session{folder.path()};
    testkit::TrapRecorder trap;
    for (int i = 0; i < 120; ++i) {
        const ByteText bytes = variant(random);
        EditSimModel model(machine.services, session);
        const std::string path = folder.write("User1.iff", bytes);
        const bool accepted = !wardrobeProblem(parse(bytes));
        machine.dialogs.replies = {platform::MessageReply::Yes};
        EXPECT_EQ(model.open(path), accepted) << i;
        EXPECT_EQ(model.save(i % 2 == 0), accepted) << i;
        EXPECT_EQ(trap.calls, 0) << i;
    }
}
