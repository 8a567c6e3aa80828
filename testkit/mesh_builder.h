#pragma once
// Writes character data, meshes and archives in the game's formats: text (CMX, SKN) and
// binary (BCF, BMF) from the same in-memory data, and FAR 1a archives of named entries.
// The tests, the fuzz seeds and the demo game's meshes come from here.
//
//   const ByteText cmx = testkit::characterText({{testkit::sampleSkeleton()}, {}});
//   const ByteText bmf = testkit::meshBinary(testkit::sampleMesh());
//   const ByteText far = testkit::farArchive({{"adult-skeleton.cmx.bcf", bcf}});

#include <string>
#include <vector>

#include "core/cmx.h"
#include "core/mesh.h"

namespace drapeline::testkit {

// Skills are not written: the skill count is written as held, with nothing after it.
ByteText characterText(const CharacterData& data);     // .cmx, LF line ends
ByteText characterBinary(const CharacterData& data);   // .bcf
ByteText meshText(const Mesh& mesh);                   // .skn, LF line ends
ByteText meshBinary(const Mesh& mesh);                 // .bmf

struct FarItem {
    std::string name;
    ByteText bytes;
};
// Header, the entries' bytes in order, then the manifest.
ByteText farArchive(const std::vector<FarItem>& items);

// ---- Small data ------------------------------------------------------------------------

Bone bone(std::string name, std::string parent, Vector3 translation, Quaternion rotation = {});

// "adult": ROOT (parent NULL) and PELVIS above it, PELVIS with one property list.
Skeleton sampleSkeleton();

// A suit with one skin: the mesh "xskin-NAME-PELVIS-BODY" on PELVIS.
Suit sampleSuit(const std::string& name = "b001fafit_01");

// "xskin-b001fafit_01-PELVIS-BODY": a quad of four real vertices on two bones (PELVIS
// carries 0 and 1, SPINE 2 and 3) and one blend vertex that pulls vertex 2 half way
// toward PELVIS.
Mesh sampleMesh();

}  // namespace drapeline::testkit
