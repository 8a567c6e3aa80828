#pragma once
// The demo game's skeletons and meshes, made by our own code in the game's formats. The
// bodies are laid out on the texture sheet that demo/textures.cpp draws (front and back,
// legs, sleeves, shoes, bare skin), so every demo outfit reads as clothes on a body.
//
// Conventions of the data, as the game's: Y is up, the sim faces +Z, and the space is
// left-handed, so the sim's right side lies at +X. A texture sheet's front piece is the
// front as a person facing the sim sees it: its left edge is the sim's right side.

#include <string>
#include <string_view>
#include <vector>

#include "core/cmx.h"
#include "core/mesh.h"
#include "demo/portraits.h"

namespace drapeline::demo {

enum class BodyShape { Fit, Fat, Skinny };

Skeleton demoSkeleton(bool child);   // named "adult" or "child"

// The body mesh of a sim of that kind, hung on PELVIS and the bones below and beside it.
Mesh bodyMesh(const std::string& name, bool female, bool child, BodyShape shape);
// A head on HEAD, its texture wrapped round: the face in the middle of the sheet.
Mesh headMesh(const std::string& name, bool child);
// A hand on L_HAND or R_HAND, its texture taken from the palm of a hand sheet.
enum class HandShape { Open, Point, Closed };
Mesh handMesh(const std::string& name, bool child, bool left, HandShape shape);

// A suit of one mesh on one bone.
Suit oneMeshSuit(const std::string& name, const std::string& bone, const std::string& mesh);

// The body shape a model's name asks for: "fat" and "skn" in it, else fit.
BodyShape bodyShapeOf(std::string_view modelName);

// The head sheet for a head texture: skin, hair of the style, eyes and mouth.
Canvas drawHeadTexture(const Look& look, int size = 64);

}  // namespace drapeline::demo
