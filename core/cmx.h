#pragma once
// Character data: the skeletons and suits of a CMX text file or its BCF binary twin. The
// two forms hold the same fields in the same order. Skills (animations) are not read:
// reading stops at their count, so nothing after it can make a file unreadable.

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/model_fields.h"

namespace drapeline {

struct Property {
    ByteText key;
    ByteText value;
    bool operator==(const Property&) const = default;
};
using PropertyList = std::vector<Property>;

struct Bone {
    ByteText name;
    ByteText parentName;   // "NULL" for the root
    std::vector<PropertyList> properties;
    Vector3 translation;
    Quaternion rotation;
    std::int32_t canTranslate = 0;
    std::int32_t canRotate = 0;
    std::int32_t canBlend = 0;
    float wiggleValue = 0;
    float wigglePower = 0;
    bool operator==(const Bone&) const = default;
};

struct Skeleton {
    ByteText name;
    std::vector<Bone> bones;
    bool operator==(const Skeleton&) const = default;
};

// One mesh hung on one bone.
struct SuitSkin {
    ByteText boneName;
    ByteText meshName;   // the mesh file's name without .skn / .bmf
    std::int32_t censorFlags = 0;
    std::vector<PropertyList> properties;
    bool operator==(const SuitSkin&) const = default;
};

struct Suit {
    ByteText name;
    std::int32_t type = 0;
    std::vector<PropertyList> properties;
    std::vector<SuitSkin> skins;
    bool operator==(const Suit&) const = default;
};

struct CharacterData {
    std::vector<Skeleton> skeletons;
    std::vector<Suit> suits;
    std::int32_t skillCount = 0;   // as the file says; the skills themselves are not read
    bool operator==(const CharacterData&) const = default;
};

// Both throw RuntimeError naming the field and its place for a damaged or short file.
CharacterData readCharacterText(std::string_view text);     // .cmx
CharacterData readCharacterBinary(std::string_view bytes);  // .bcf, .cmx.bcf

// The bone of that name in `skeleton`, or nullptr.
const Bone* findBone(const Skeleton& skeleton, std::string_view name);

}  // namespace drapeline
