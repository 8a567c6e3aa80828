#include "core/cmx.h"

#include <string>

namespace drapeline {

namespace {

// The fewest bytes (binary) or lines (text) each kind of element can take, so that a count
// is refused when the rest of the file could not hold that many.
struct Least {
    std::size_t skeleton, bone, suit, skin, propertyList, pair;
};
constexpr Least LeastBytes{5, 54, 13, 10, 4, 2};
constexpr Least LeastLines{2, 10, 4, 4, 1, 2};

template <class Fields>
std::vector<PropertyList> readPropertyLists(Fields& in, const Least& least) {
    return readList(in.count("property lists", least.propertyList), [&] {
        return readList(in.count("properties", least.pair), [&] {
            Property property;
            property.key = in.string("property key");
            property.value = in.string("property value");
            return property;
        });
    });
}

template <class Fields>
Bone readBone(Fields& in, const Least& least) {
    Bone bone;
    bone.name = in.string("bone name");
    bone.parentName = in.string("parent bone name");
    bone.properties = readPropertyLists(in, least);
    bone.translation = in.vector3("bone translation");
    bone.rotation = in.quaternion("bone rotation");
    bone.canTranslate = in.int32("bone flags");
    bone.canRotate = in.int32("bone flags");
    bone.canBlend = in.int32("bone flags");
    bone.wiggleValue = in.float32("bone wiggle");
    bone.wigglePower = in.float32("bone wiggle");
    return bone;
}

template <class Fields>
SuitSkin readSkin(Fields& in, const Least& least) {
    SuitSkin skin;
    skin.boneName = in.string("skin bone name");
    skin.meshName = in.string("skin mesh name");
    skin.censorFlags = in.int32("skin censor flags");
    skin.properties = readPropertyLists(in, least);
    return skin;
}

template <class Fields>
CharacterData readCharacter(Fields& in, const Least& least) {
    CharacterData data;
    data.skeletons = readList(in.count("skeletons", least.skeleton), [&] {
        Skeleton skeleton;
        skeleton.name = in.string("skeleton name");
        skeleton.bones = readList(in.count("bones", least.bone), [&] { return readBone(in, least); });
        return skeleton;
    });
    data.suits = readList(in.count("suits", least.suit), [&] {
        Suit suit;
        suit.name = in.string("suit name");
        suit.type = in.int32("suit type");
        suit.properties = readPropertyLists(in, least);
        suit.skins = readList(in.count("skins", least.skin), [&] { return readSkin(in, least); });
        return suit;
    });
    // The skills themselves are never read, so their count is held to no room check.
    data.skillCount = static_cast<std::int32_t>(in.count("skills", 0));
    return data;
}

}  // namespace

CharacterData readCharacterText(std::string_view text) {
    TextFields in(text);
    // The copyright line, and any other comment before the version.
    std::string_view line = in.line("version line");
    while (line.starts_with("//")) line = in.line("version line");
    if (!line.starts_with("version"))
        refuseModel(err::InvalidCall, "line " + std::to_string(in.lineNumber()) +
                                          " is no \"version\" line: not a character data file");
    return readCharacter(in, LeastLines);
}

CharacterData readCharacterBinary(std::string_view bytes) {
    BinaryFields in(bytes);
    return readCharacter(in, LeastBytes);
}

const Bone* findBone(const Skeleton& skeleton, std::string_view name) {
    for (const auto& bone : skeleton.bones)
        if (bone.name == name) return &bone;
    return nullptr;
}

}  // namespace drapeline
