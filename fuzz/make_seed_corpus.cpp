// Writes the fuzz seed corpus: small character files and string sets of every shape the
// fixture builder knows, into DIR/iff and DIR/strings, picture labels into DIR/labels, and
// character data, meshes (both forms of each) and archives into DIR/bcf, DIR/bmf, DIR/far,
// and texture bitmaps into DIR/bmp.

#include <filesystem>
#include <iostream>
#include <string>

#include "core/file_io.h"
#include "testkit/bitmap.h"
#include "testkit/fixture_sim.h"
#include "testkit/mesh_builder.h"
#include "platform/files.h"

using namespace drapeline;
using namespace drapeline::testkit;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_seed_corpus DIR\n";
        return 2;
    }
    const std::filesystem::path dir(argv[1]);
    std::filesystem::create_directories(dir / "iff");
    std::filesystem::create_directories(dir / "strings");
    std::filesystem::create_directories(dir / "labels");
    int n = 0;
    const auto iffSeed = [&](const ByteText& bytes) {
        platform::writeFile((dir / "iff" / ("seed" + std::to_string(n++))).string(), bytes);
    };
    const auto stringSeed = [&](const ByteText& bytes) {
        platform::writeFile((dir / "strings" / ("seed" + std::to_string(n++))).string(), bytes);
    };

    SimOptions small;
    small.webImage = {4, 3};
    small.faces = {2, 2};
    small.relImages = {2, 2};
    small.otherChunks = 2;
    iffSeed(characterFile(small).build());
    small.seed = 7;
    small.otherChunks = 5;
    small.bodyStrings = {"child", "b002mcfitdrk_01,BODY=b002mcfitdrk_01", "", "male"};
    iffSeed(characterFile(small).build());

    const auto plain = [] {
        return IffBuilder()
            .chunk("OBJD", 128, "objd", "user00012")
            .ctss(2000, {"Bella"}, "user00012")
            .strings(200, {"adult", "b001"}, "body strings")
            .bitmap("web_image", 1, solidBitmap(1, 1, {1, 2, 3}));
    };
    MapStyle a3;
    a3.terminator = NameEnd::A3;
    MapStyle covered;
    covered.afterEntries = "Z";
    iffSeed(plain().build());
    iffSeed(plain().map().build());
    iffSeed(plain().map(a3).build());
    iffSeed(plain().map(covered).build());
    iffSeed(plain().map().offsetField("0000").build());
    iffSeed(plain().map().chunk("PERS", 1, "middle", "person").build());
    iffSeed(plain().map().extraEntry("SLOT", 3, "no chunk").build());
    iffSeed(plain().tail("x").build());
    iffSeed(IffBuilder().build());

    StringSetLayout trailer;
    trailer.trailer = ByteText("\0\0end", 5);
    stringSeed(stringSetData(adultFemaleBodyStrings()));
    stringSeed(stringSetData({{"Bella", "first name", 1}, {"", "", 0}}));
    stringSeed(stringSetData(std::vector<std::string>{"a", "b"}, trailer));

    const auto labelSeed = [&](const ByteText& bytes) {
        platform::writeFile((dir / "labels" / ("seed" + std::to_string(n++))).string(), bytes);
    };
    const auto padded = [](std::string label) {
        label.resize(64, '\0');
        return label;
    };
    labelSeed(padded("web_image") + padded("faces") + padded("rel. images"));
    labelSeed(ByteText(64, 'L'));   // no NUL at all
    labelSeed(padded("../../etc/passwd") + padded("C:\\x\\y") + padded(".."));
    labelSeed(padded("CON") + padded("com7") + padded("L P T 1") + padded("nul.bmp"));
    ByteText high;
    for (int b = 0x80; b < 0xC0; ++b) high.push_back(static_cast<char>(b));
    labelSeed(high + "tail");

    const auto seed = [&](const char* folder, const ByteText& bytes) {
        std::filesystem::create_directories(dir / folder);
        platform::writeFile((dir / folder / ("seed" + std::to_string(n++))).string(), bytes);
    };
    const CharacterData character{{sampleSkeleton()}, {sampleSuit()}, 0};
    const CharacterData suitOnly{{}, {sampleSuit("b002mcfat_01"), sampleSuit()}, 0};
    CharacterData longNames = suitOnly;
    longNames.suits[0].skins[0].meshName = ByteText(300, 'm');
    for (const auto& data : {character, suitOnly, longNames, CharacterData{}}) {
        seed("bcf", characterBinary(data));
        seed("bcf", characterText(data));
    }
    const Mesh mesh = sampleMesh();
    const Mesh empty{};
    for (const auto& m : {mesh, empty}) {
        seed("bmf", meshBinary(m));
        seed("bmf", meshText(m));
    }
    seed("far", farArchive({{"adult-skeleton.cmx.bcf", characterBinary(character)},
                            {"Skins\\xskin-b001fafit_01-PELVIS-BODY.bmf", meshBinary(mesh)}}));
    seed("far", farArchive({{"", ""}}));
    seed("far", farArchive({}));
    seed("bmp", solidBitmap(3, 2, {200, 100, 50}));
    seed("bmp", bitmap8(5, 3, {{0, 0, 0}, {255, 255, 255}}, [](int x, int y) { return static_cast<std::uint8_t>((x + y) % 2); }));
    seed("bmp", bitmap24(4, 4, [](int x, int y) { return Rgb{static_cast<std::uint8_t>(x * 60), static_cast<std::uint8_t>(y * 60), 9}; }));
    return 0;
}
