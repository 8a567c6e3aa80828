#include "testkit/fixture_sim.h"

#include "testkit/random.h"

namespace drapeline::testkit {

std::vector<std::string> adultFemaleBodyStrings() {
    return {
        "adult",
        "b001fafitlgt_01,BODY=b001fafitlgt_01",
        "c003fa_romance,HEAD-HEAD=c003falgt_romance",
        "", "", "", "", "", "", "", "",
        "",
        "female",
        "",
        "lgt",
        "n001fafitlgt_01,BODY=n001fafitlgt_01",
        "s001fafitlgt_01,BODY=s001fafitlgt_01",
        "HfLO,HAND=gfao_lgt",
        "HfRO,HAND=gfao_lgt",
        "HfLP,HAND=gfap_lgt",
        "HfRP,HAND=gfap_lgt",
        "HfLC,HAND=gfac_lgt",
        "HfRC,HAND=gfac_lgt",
        "", "", "", "",
        "",
        "HfLO,HAND=gfao_bride",
        "HfRO,HAND=gfao_bride",
        "f001fafitlgt_01,BODY=f001fafitlgt_01",
        "s001fafitlgt_01,BODY=s001fafitlgt_01",
        "l001fafitlgt_01,BODY=l001fafitlgt_01",
        "w001fafitlgt_01,BODY=w001fafitlgt_01",
    };
}

IffBuilder characterFile(const SimOptions& sim) {
    Random random(sim.seed);
    const auto filler = [&](std::size_t size) {
        ByteText data(size, '\0');
        for (auto& b : data) b = static_cast<char>(random.below(256));
        return data;
    };
    const std::vector<Rgb> palette = [] {
        std::vector<Rgb> p;
        for (int i = 0; i < 256; ++i)
            p.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                         static_cast<std::uint8_t>(i * 7)});
        return p;
    }();
    const auto picture8 = [&](PictureSize s) {
        return bitmap8(s.width, s.height, palette, [](int x, int y) {
            return static_cast<std::uint8_t>((x * 3 + y * 5) & 0xFF);
        });
    };

    IffBuilder b;
    b.chunk("OBJD", sim.objectId, filler(216), sim.objectLabel);
    b.ctss(2000, sim.names, sim.objectLabel);
    b.strings(200, sim.bodyStrings.empty() ? adultFemaleBodyStrings() : sim.bodyStrings,
              "body strings");
    b.bitmap("web_image", 1, bitmap24(sim.webImage.width, sim.webImage.height, [](int x, int y) {
        return Rgb{static_cast<std::uint8_t>(x * 5), static_cast<std::uint8_t>(y * 3), 90};
    }));
    b.bitmap("faces", 2, picture8(sim.faces));
    b.bitmap("rel. images", 3, picture8(sim.relImages));
    static const char* const kinds[] = {"BHAV", "TTAB", "TTAs", "SLOT", "OBJf", "STR#", "PERS"};
    for (int i = 0; i < sim.otherChunks; ++i) {
        const char* kind = kinds[random.below(std::size(kinds))];
        b.chunk(kind, static_cast<std::uint16_t>(4096 + i), filler(40 + random.below(1200)),
                std::string(kind) + " " + std::to_string(i));
    }
    b.map();
    return b;
}

}  // namespace drapeline::testkit
