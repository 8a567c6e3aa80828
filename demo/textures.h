#pragma once
// Clothing and hand textures. A body texture is drawn as the cut-out pieces of one garment
// (front, back, legs, sleeves, shoes) so that it reads as clothes in the skin chooser's
// thumbnails; the parts of the body that the garment leaves bare are painted in the skin
// tone the texture is named for. The same style also dresses the sim's portraits, so a
// sim's thumbnail wears the colours of its normal outfit.

#include <string_view>

#include "testkit/canvas.h"

namespace drapeline::demo {

using namespace testkit;  // the demo game is drawn and built with the testkit's builders

enum class Garment { Normal, Formal, Swimsuit, Underwear, Pajamas, Nude, Winter };

// How one garment looks, derived from a name so that a texture and a portrait agree.
struct OutfitStyle {
    Garment garment = Garment::Normal;
    bool female = false;
    bool child = false;
    Pattern top;
    Pattern bottom;
    Rgb trim;
    bool dress = false;          // the top runs into a skirt
    bool shortSleeves = false;
};

// `key` is the texture's name without its skin-tone code (e.g. "b003fafit_01").
OutfitStyle outfitStyle(Garment garment, bool female, bool child, std::string_view key);

// The colour of bare skin for a tone code ("lgt", "med", "drk"; anything else medium).
Rgb skinColour(std::string_view tone);

// `size` is 128 or 256 (any size works; the layout scales).
Canvas drawOutfitTexture(const OutfitStyle& style, Rgb skin, int size);

enum class HandPose { Open, Point, Closed };

struct HandStyle {
    HandPose pose = HandPose::Open;
    Rgb skin;
    bool glove = false;
    Pattern gloveFabric;
    bool fur = false;            // the pink gorilla
    bool paintedNails = false;
    Rgb nails;
    bool small = false;          // a child's hand
};

Canvas drawHandTexture(const HandStyle& style, int size = 64);

}  // namespace drapeline::demo
