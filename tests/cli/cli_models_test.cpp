#include <gtest/gtest.h>

#include "tests/cli/cli_support.h"
#include "platform/files.h"
#include "testkit/mesh_builder.h"

using namespace drapeline;
using testkit::cli;

TEST(CliMesh, PrintsEachKindOfModelFileByItsExtension) {
    testkit::TempFolder folder;
    const ByteText bcf = testkit::characterBinary({{testkit::sampleSkeleton()}, {}, 0});
    const ByteText bmf = testkit::meshBinary(testkit::sampleMesh());
    const std::string skeleton = R"({"skeletons":[{"name":"adult","bones":[{"name":"ROOT","parent":"NULL"},)"
                                 R"({"name":"PELVIS","parent":"ROOT"}]}],"suits":[],"skills":0})";
    const std::string mesh = R"({"name":"xskin-b001fafit_01-PELVIS-BODY","texture":"x","bones":["PELVIS","SPINE"],)"
                             R"("faces":2,"bindings":2,"textureCoordinates":4,"blends":1,"vertices":5})";
    const std::pair<std::string, std::string> cases[] = {
        {folder.write("Suit.CMX", testkit::characterText({{}, {testkit::sampleSuit()}, 0})),
         R"({"skeletons":[],"suits":[{"name":"b001fafit_01","type":0,"skins":[{"bone":"PELVIS",)"
         R"("mesh":"xskin-b001fafit_01-PELVIS-BODY","censorFlags":0}]}],"skills":0})"},
        {folder.write("adult-skeleton.cmx.bcf", bcf), skeleton},
        {folder.write("body.skn", testkit::meshText(testkit::sampleMesh())), mesh},
        {folder.write("body.BMF", bmf), mesh},
        {folder.write("x.far", testkit::farArchive({{"a.bmf", bmf}, {"b\\c.bcf", bcf}})),
         R"({"entries":[{"name":"a.bmf","offset":16,"size":)" + std::to_string(bmf.size()) +
             R"(},{"name":"b\\c.bcf","offset":)" + std::to_string(16 + bmf.size()) +
             R"(,"size":)" + std::to_string(bcf.size()) + "}]}"},
    };
    for (const auto& [file, out] : cases) {
        const auto r = cli({"mesh", file});
        EXPECT_EQ(r.exitCode, 0) << file;
        EXPECT_EQ(r.out, out + "\n");
        EXPECT_EQ(r.err, "");
    }

    const std::string cut = folder.write("cut.bmf", bmf.substr(0, 40));
    const auto damaged = cli({"mesh", cut});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_EQ(damaged.out, "");
    EXPECT_EQ(damaged.err, cut + ": Error 62 - Input past end of file (bone name of length 6 at byte 37, longer than the rest of the file)\n");
    EXPECT_EQ(cli({"mesh", folder.write("x.obj", "")}).exitCode, 1);
}

TEST(CliRender, DrawsADemoSimAndNamesWhatIsMissingOnStderr) {
    testkit::TempFolder folder;
    const std::string game = folder / "game";
    ASSERT_EQ(cli({"demo", game}).exitCode, 0);
    const std::string png = folder / "front.png";
    const auto r = cli({"render", game + "/UserData/Characters/User00001.iff", "--outfit", "formal",
                        "--hands", "formal", "--angle", "-90", "--size", "64", png});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "{\"saved\":\"" + png + "\",\"missing\":[]}\n");
    EXPECT_EQ(platform::readFile(png).substr(0, 8), "\x89PNG\r\n\x1a\n");

    const std::string stranger = folder.write("User00999.iff", testkit::simWith({{2, "b003fafit_99,BODY=b003fafitlgt_01"}}));
    const auto missing = cli({"render", stranger, "--outfit", "normal", "--game", game, folder / "stranger.png"});
    EXPECT_EQ(missing.exitCode, 0);
    EXPECT_NE(missing.err.find("Mesh b003fafit_99 is not installed\n"), std::string::npos) << missing.err;
    EXPECT_TRUE(platform::fileExists(folder / "stranger.png"));
    EXPECT_EQ(cli({"render", stranger, "--outfit", "tuxedo", png}).exitCode, 2);
}
