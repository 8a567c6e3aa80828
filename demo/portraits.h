#pragma once
// The three pictures every character file carries, drawn from a sim's looks: the web
// image (two portraits side by side; the main window shows the left one as the thumbnail),
// the faces (four expressions) and the relationship images (small portraits of friends).

#include <cstdint>
#include <vector>

#include "core/errors.h"
#include "testkit/canvas.h"
#include "demo/textures.h"

namespace drapeline::demo {

using namespace testkit;  // the demo game is drawn and built with the testkit's builders

enum class HairStyle { Crop, Spiky, Bald, Curly, Long, Bob, Ponytail, Bun, Pigtails };
enum class Expression { Smile, Laugh, Neutral, Sad, Surprised, Wink };

struct Look {
    bool female = false;
    bool child = false;
    Rgb skin;
    Rgb hair;
    Rgb eyes;
    Rgb lips;
    HairStyle hairStyle = HairStyle::Crop;
    Rgb background;
    OutfitStyle clothes;        // the normal outfit's, so the thumbnail wears it
    bool glasses = false;
    bool beard = false;
    bool moustache = false;
    bool earrings = false;
    bool freckles = false;
    double faceWidth = 1.0;     // about 0.9 to 1.1
    std::uint32_t seed = 1;     // the small irregularities of curls
};

// A head-and-shoulders portrait; a close-up fills the picture with the face.
Canvas portrait(const Look& look, int width, int height, Expression expression, bool closeUp);

inline constexpr int WebImageWidth = 90, WebImageHeight = 60;
inline constexpr int FacesWidth = 192, FacesHeight = 48;
inline constexpr int RelImagesWidth = 240, RelImagesHeight = 60;

ByteText webImage(const Look& look);                              // 24-bit
ByteText facesImage(const Look& look);                            // 8-bit
// The small portrait a sim shows in its friends' relationship pictures; drawn once per
// sim, as most sims appear in several friends' pictures.
Canvas friendPortrait(const Look& look);
ByteText relationshipImage(const std::vector<const Canvas*>& friends);   // 8-bit, up to 4

}  // namespace drapeline::demo
