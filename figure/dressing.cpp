#include "figure/dressing.h"

#include <algorithm>

namespace drapeline::figure {

namespace {

using namespace wardrobe;

Garment garmentOf(std::string_view entry) {
    const auto comma = entry.find(',');
    return {std::string(entry.substr(0, comma)), comma == std::string_view::npos ? std::string() : textAfterFirstEquals(entry)};
}

std::string handSuit(const WardrobeFields& fields, HandSlot slot) {
    const std::string entry = handEntry(handGenderLetter(fields.age, fields.gender), slot, "");
    return entry.substr(0, entry.find(','));
}

class Dresser {
public:
    Dresser(ModelLibrary& library, const DressRequest& request) : library_(library), request_(request) {}

    DressedFigure run() {
        const std::string age = request_.age == "adult" ? "adult" : "child";
        const auto skeleton = library_.skeleton(age);
        if (!skeleton) {
            note(skeleton.damaged ? "Skeleton " + age + " can not be read" : "Skeleton " + age + " is not installed");
        } else {
            keep_ = skeleton.value;   // the library may give it up while we dress
            skeleton_ = keep_.get();
            world_ = restPose(*skeleton_);
        }
        if (isPlaceholder(request_.body.suit) || request_.body.suit.empty())
            note("This sim has no " + request_.outfitCaption + " outfit");
        else
            hang(request_.body, "PELVIS", "Mesh", PartOf::Body);
        if (!request_.head.suit.empty()) hang(request_.head, "HEAD", "Head", PartOf::Head);
        for (const Garment* hand : {&request_.leftHand, &request_.rightHand})
            if (!hand->suit.empty()) hang(*hand, hand == &request_.leftHand ? "L_HAND" : "R_HAND", "Hand", PartOf::Hand);
        measure();
        return std::move(figure_);
    }

private:
    void note(std::string text) {
        if (std::find(figure_.missing.begin(), figure_.missing.end(), text) == figure_.missing.end())
            figure_.missing.push_back(std::move(text));
    }

    void hang(const Garment& garment, std::string_view bone, const std::string& what, PartOf of) {
        const auto suit = library_.suit(garment.suit);
        if (!suit) {
            note(what + " " + garment.suit + (suit.damaged ? " can not be read" : " is not installed"));
            return;
        }
        std::shared_ptr<const RgbaImage> texture;
        if (!garment.texture.empty() && garment.texture != "x") {
            const auto found = library_.texture(garment.texture);
            texture = found.value;
            if (!found) note("Texture " + garment.texture + (found.damaged ? " can not be read" : " is not installed"));
        }
        for (const auto& skin : suit.value->skins) {
            const auto mesh = library_.mesh(skin.meshName);
            if (!mesh) {
                note("Mesh " + skin.meshName + (mesh.damaged ? " can not be read" : " is not installed"));
                continue;
            }
            // Without the skeleton every part would fall onto the origin: nothing is drawn.
            if (!skeleton_) continue;
            std::vector<ByteText> unknown;
            const std::string_view on = skin.boneName.empty() ? bone : std::string_view(skin.boneName);
            figure_.parts.push_back({poseMesh(*mesh.value, *skeleton_, world_, on, &unknown), texture, of});
            for (const auto& name : unknown) note("Bone " + name + " of mesh " + skin.meshName + " is not in the skeleton");
        }
    }

    // The skeleton's joints count with the meshes, so a sim shown without its outfit is
    // framed as it would be with it.
    void measure() {
        bool first = true;
        Bounds& b = figure_.bounds;
        const auto take = [&](const Vector3& p) {
            if (first) b.low = b.high = p, first = false;
            b.low = {std::min(b.low.x, p.x), std::min(b.low.y, p.y), std::min(b.low.z, p.z)};
            b.high = {std::max(b.high.x, p.x), std::max(b.high.y, p.y), std::max(b.high.z, p.z)};
        };
        for (const auto& part : figure_.parts)
            for (const auto& p : part.mesh.positions) take(p);
        if (!figure_.parts.empty())
            for (const auto& w : world_) take(w.translation);
    }

    ModelLibrary& library_;
    const DressRequest& request_;
    const Skeleton* skeleton_ = nullptr;
    std::shared_ptr<const Skeleton> keep_;
    std::vector<Transform> world_;
    DressedFigure figure_;
};

}  // namespace

std::size_t DressedFigure::triangles() const {
    std::size_t n = 0;
    for (const auto& p : parts) n += p.mesh.faces.size();
    return n;
}

std::string headEntry(const StringSet& bodyStrings) {
    return bodyStrings.entries.size() >= entry::Head ? bodyStrings.entries[entry::Head - 1].text : std::string();
}

HandPose handsWornWith(OutfitKind outfit) {
    return outfit == OutfitKind::Formal ? HandPose::Formal : HandPose::Open;
}

OutfitKind outfitWornWith(HandPose pose) {
    return pose == HandPose::Formal ? OutfitKind::Formal : OutfitKind::Normal;
}

DressRequest dressRequest(const WardrobeFields& fields, std::string_view headEntry, OutfitKind outfit, HandPose hands) {
    DressRequest r;
    r.age = fields.age;
    const OutfitNames& names = fields.outfit(outfit);
    r.body = {names.mesh, names.texture};
    r.outfitCaption = outfitCaption(outfit);
    if (headEntry.find(',') != std::string_view::npos) r.head = garmentOf(headEntry);
    // Empty formal hands (most men, and the "Normal" button) mean the sim keeps its open
    // hands in formal wear.
    if (hands == HandPose::Formal && fields.hand(HandSlot::FormalLeft).empty() &&
        fields.hand(HandSlot::FormalRight).empty())
        hands = HandPose::Open;
    const HandSlot left = leftSlot(hands), right = rightSlot(hands);
    if (!fields.hand(left).empty()) r.leftHand = {handSuit(fields, left), fields.hand(left)};
    if (!fields.hand(right).empty()) r.rightHand = {handSuit(fields, right), fields.hand(right)};
    return r;
}

DressedFigure dress(ModelLibrary& library, const DressRequest& request) { return Dresser(library, request).run(); }

void wearBodyTexture(DressedFigure& figure, std::shared_ptr<const RgbaImage> texture) {
    for (auto& part : figure.parts)
        if (part.of == PartOf::Body) part.texture = texture;
}

}  // namespace drapeline::figure
