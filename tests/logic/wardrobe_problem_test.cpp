#include <gtest/gtest.h>

#include <random>

#include "tests/logic/wardrobe_fixtures.h"
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

}  // namespace

TEST(WardrobeProblem, TheEditWindowOpensAndSavesExactlyTheAcceptedFilesAndNeverTraps) {
    std::mt19937 random(7);
    testkit::TempFolder folder;
    testkit::FakeMachine machine(folder.makeFolder("program"));
    const shell::GameSession session{folder.path()};
    testkit::TrapRecorder trap;
    int accepted = 0;
    for (int i = 0; i < 300; ++i) {
        const ByteText bytes = variant(random);
        EditSimModel model(machine.services, session);
        const std::string path = folder.write("User1.iff", bytes);
        const auto problem = wardrobeProblem(parse(bytes));
        accepted += !problem;
        machine.dialogs.replies = {platform::MessageReply::Yes};
        EXPECT_EQ(model.open(path), !problem) << i << ": " << problem.value_or("");
        EXPECT_EQ(model.save(i % 2 == 0) == wardrobe::EditSimModel::SaveOutcome::Saved, !problem) << i;
        EXPECT_EQ(trap.calls, 0) << i;
    }
    // Both kinds must be well represented for the comparison to mean anything.
    EXPECT_GT(accepted, 40);
    EXPECT_LT(accepted, 240);
}
