#include "demo/sim_file.h"

#include "testkit/iff_builder.h"
#include "demo/portraits.h"
#include "testkit/random.h"

namespace drapeline::demo {

using namespace testkit;  // the demo game is drawn and built with the testkit's builders

namespace {

ByteText filler(Random& random, std::size_t size) {
    ByteText data(size, '\0');
    for (auto& b : data) b = static_cast<char>(random.below(256));
    return data;
}

// An object definition: a version word, the GUID and then fields we never read.
ByteText objectDefinition(Random& random) {
    ByteText data = filler(random, 216);
    data[0] = '\x8A';
    data[1] = '\0';
    return data;
}

}  // namespace

ByteText characterFileFor(const SimPlan& sim, const std::vector<const Canvas*>& friends) {
    Random random(seedFrom(sim.neighbourhood + "/" + sim.fileName));
    IffBuilder b;
    b.chunk("OBJD", 128, objectDefinition(random), sim.label);
    if (sim.named) b.ctss(2000, {sim.firstName, sim.description}, sim.label);
    b.strings(200, sim.bodyStrings, "");
    b.strings(256, {sim.firstName + " " + sim.lastName, sim.lastName, sim.neighbourhood}, "person text");
    b.bitmap("web_image", 1, webImage(sim.look));
    b.bitmap("faces", 2, facesImage(sim.look));
    b.bitmap("rel. images", 3, relationshipImage(friends));
    static const char* const kinds[] = {"BHAV", "BHAV", "TTAB", "TTAs", "SLOT", "OBJf", "PERS"};
    std::uint16_t id = 4096;
    for (const char* kind : kinds)
        b.chunk(kind, id++, filler(random, 40 + random.below(600)), std::string(kind) + " " + sim.label);
    b.map();
    ByteText bytes = b.build();
    if (sim.unreadable) {
        // Cut inside the faces picture: the map and every later chunk are gone.
        bytes.resize(b.chunkOffset(sim.named ? 5 : 4) + 76 + 300);
    }
    return bytes;
}

}  // namespace drapeline::demo
