// The character data, mesh and archive readers: both forms of the same data read alike,
// and every short, lying or inconsistent file is refused with an error, never read.

#include <gtest/gtest.h>

#include <functional>

#include "core/binary_support.h"
#include "core/far_archive.h"
#include "tests/support/doubles.h"
#include "testkit/mesh_builder.h"

using namespace drapeline;
using testkit::errorNumberOf;

namespace {

CharacterData sampleCharacter() {
    CharacterData data{{testkit::sampleSkeleton()}, {testkit::sampleSuit()}, 0};
    // Long enough for the binary form's escaped length.
    data.suits[0].skins[0].properties = {{{"note", ByteText(300, 'v')}}};
    return data;
}

// The text as an editor on Windows leaves it: CR LF and blanks after the values.
ByteText windowsText(const ByteText& text) {
    ByteText out;
    for (const char c : text) out += c == '\n' ? ByteText(" \t\r\n") : ByteText(1, c);
    return out;
}

void put32(ByteText& bytes, std::size_t at, std::int32_t v) { bytes.replace(at, 4, bytes::int32ToLE(v)); }

ByteText replaceLine(const ByteText& text, std::size_t line, const std::string& with) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < line; ++i) start = text.find('\n', start) + 1;
    return text.substr(0, start) + with + text.substr(text.find('\n', start));
}

}  // namespace

TEST(ModelReaders, TextAndBinaryFormsReadAlike) {
    const CharacterData data = sampleCharacter();
    EXPECT_EQ(readCharacterText(testkit::characterText(data)), data);
    EXPECT_EQ(readCharacterText(windowsText(testkit::characterText(data))), data);
    EXPECT_EQ(readCharacterBinary(testkit::characterBinary(data)), data);

    const Mesh mesh = testkit::sampleMesh();
    EXPECT_EQ(readMeshText(testkit::meshText(mesh)), mesh);
    EXPECT_EQ(readMeshText(windowsText(testkit::meshText(mesh))), mesh);
    EXPECT_EQ(readMeshBinary(testkit::meshBinary(mesh)), mesh);
    EXPECT_EQ(mesh.realVertexCount(), 4u);
    EXPECT_FLOAT_EQ(mesh.blends[0].fraction(), 0.5f);
}

TEST(ModelReaders, EveryCutIsRefused) {
    const ByteText bcf = testkit::characterBinary(sampleCharacter());
    const ByteText bmf = testkit::meshBinary(testkit::sampleMesh());
    const ByteText far = testkit::farArchive({{"a.bmf", bmf}, {"b.bcf", bcf}});
    for (std::size_t n = 0; n < bcf.size(); ++n)
        EXPECT_NE(errorNumberOf([&] { readCharacterBinary(bcf.substr(0, n)); }), 0) << n;
    for (std::size_t n = 0; n < bmf.size(); ++n)
        EXPECT_NE(errorNumberOf([&] { readMeshBinary(bmf.substr(0, n)); }), 0) << n;
    for (std::size_t n = 0; n < far.size(); ++n)
        EXPECT_NE(errorNumberOf([&] { readFarArchive(far.substr(0, n)); }), 0) << n;

    const ByteText cmx = testkit::characterText(sampleCharacter());
    const ByteText skn = testkit::meshText(testkit::sampleMesh());
    for (std::size_t n = cmx.find('\n'); n + 1 < cmx.size(); n = cmx.find('\n', n + 1))
        EXPECT_NE(errorNumberOf([&] { readCharacterText(cmx.substr(0, n)); }), 0) << n;
    for (std::size_t n = skn.find('\n'); n + 1 < skn.size(); n = skn.find('\n', n + 1))
        EXPECT_NE(errorNumberOf([&] { readMeshText(skn.substr(0, n)); }), 0) << n;

}

TEST(ModelReaders, LyingCountsAreRefusedBeforeTheyCostMemory) {
    const ByteText bmf = testkit::meshBinary(testkit::sampleMesh());
    const std::size_t vertexCount = bmf.size() - 5 * 24 - 4;
    const ByteText bcf = testkit::characterBinary(sampleCharacter());
    const std::size_t boneCount = 4 + 6;   // after the skeleton count and "adult"
    struct Case {
        bool mesh;
        std::function<void(ByteText&)> lie;
        std::int32_t number;
    };
    const Case binary[] = {
        {true, [&](ByteText& b) { put32(b, vertexCount, 6); }, err::InputPastEnd},
        {true, [&](ByteText& b) { put32(b, vertexCount, -1); }, err::SubscriptOutOfRange},
        {true, [&](ByteText& b) { put32(b, vertexCount, 0x7FFFFFFF); }, err::Overflow},
        {false, [&](ByteText& b) { put32(b, boneCount, 1 << 24); }, err::Overflow},
        {false, [&](ByteText& b) { put32(b, boneCount, 2000); }, err::InputPastEnd},
        {false, [&](ByteText& b) { put32(b, 0, 1 << 16); }, err::InputPastEnd},
        {false, [&](ByteText& b) { b.replace(4, 1, "\xFF\xFF\xFF\xFF\x7F"); }, err::InputPastEnd},
    };
    for (const auto& c : binary) {
        ByteText bytes = c.mesh ? bmf : bcf;
        c.lie(bytes);
        EXPECT_EQ(errorNumberOf([&] { c.mesh ? (void)readMeshBinary(bytes) : (void)readCharacterBinary(bytes); }),
                  c.number);
    }
    try {
        readMeshBinary(bmf.substr(0, bmf.size() - 2));
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.text(), "Error 62 - Input past end of file (5 vertices at byte " + std::to_string(vertexCount) +
                                ", more than the rest of the file holds)");
    }

    const ByteText skn = testkit::meshText(testkit::sampleMesh());
    const std::size_t vertexLine = 18;
    const std::pair<std::string, std::int32_t> text[] = {
        {"6", err::InputPastEnd}, {"-1", err::SubscriptOutOfRange}, {"99999999", err::Overflow},
        {"five", err::TypeMismatch}, {"5 5", err::TypeMismatch}, {"", err::TypeMismatch},
    };
    ASSERT_EQ(replaceLine(skn, vertexLine, "5"), skn);
    for (const auto& c : text)
        EXPECT_EQ(errorNumberOf([&] { readMeshText(replaceLine(skn, vertexLine, c.first)); }), c.second) << c.first;
    EXPECT_EQ(errorNumberOf([&] { readCharacterText("0\n0\n0\n"); }), err::InvalidCall);
}

TEST(ModelReaders, IndicesThatNameNothingAreRefusedInBothForms) {
    const std::function<void(Mesh&)> faults[] = {
        [](Mesh& m) { m.faces[1].c = 4; },   // a blend vertex
        [](Mesh& m) { m.faces[0].a = -1; },
        [](Mesh& m) { m.bindings[1].boneIndex = 2; },
        [](Mesh& m) { m.bindings[1].realCount = 3; },
        [](Mesh& m) { m.bindings[0].firstBlend = 1; },
        [](Mesh& m) { m.blends[0].otherVertex = 4; },
        [](Mesh& m) { m.textureCoordinates.pop_back(); },
        [](Mesh& m) { m.vertices.resize(0); },
    };
    for (std::size_t i = 0; i < std::size(faults); ++i) {
        Mesh mesh = testkit::sampleMesh();
        faults[i](mesh);
        EXPECT_EQ(errorNumberOf([&] { readMeshText(testkit::meshText(mesh)); }), err::SubscriptOutOfRange) << i;
        EXPECT_EQ(errorNumberOf([&] { readMeshBinary(testkit::meshBinary(mesh)); }), err::SubscriptOutOfRange) << i;
    }
}

TEST(FarArchives, EntriesAreFoundAndLyingManifestsRefused) {
    const ByteText far = testkit::farArchive({{"Skins\\B001.bmf", "body"}, {"skins\\b001.bmf", "exact"}, {"e", ""}});
    const FarArchive archive = readFarArchive(far);
    ASSERT_EQ(archive.entries.size(), 3u);
    EXPECT_EQ(archive.entries[1].offset, 20u);
    EXPECT_EQ(archive.entries[1].size, 5u);
    EXPECT_EQ(findFarEntry(archive, "skins\\b001.bmf")->bytes, "exact");
    EXPECT_EQ(findFarEntry(archive, "SKINS\\B001.BMF")->bytes, "body");
    EXPECT_EQ(findFarEntry(archive, "e")->bytes, "");
    EXPECT_EQ(findFarEntry(archive, "b001.bmf"), nullptr);

    const std::size_t manifest = 16 + 9;
    const std::pair<std::function<void(ByteText&)>, std::int32_t> cases[] = {
        {[](ByteText& b) { b[0] = 'f'; }, err::InvalidCall},
        {[](ByteText& b) { put32(b, 8, 2); }, err::InvalidCall},
        {[&](ByteText& b) { put32(b, 12, static_cast<std::int32_t>(b.size() + 1)); }, err::InputPastEnd},
        {[&](ByteText& b) { put32(b, manifest, 100); }, err::InputPastEnd},
        {[&](ByteText& b) { put32(b, manifest + 4, 1000); }, err::InputPastEnd},           // size
        {[&](ByteText& b) { put32(b, manifest + 12, -1); }, err::InputPastEnd},          // offset
        {[&](ByteText& b) { put32(b, manifest + 16, 1 << 30); }, err::InputPastEnd},     // name length
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        ByteText bytes = far;
        cases[i].first(bytes);
        EXPECT_EQ(errorNumberOf([&] { readFarArchive(bytes); }), cases[i].second) << i;
    }
}
