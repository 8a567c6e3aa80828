#pragma once
// The fixture sim that tests and benchmarks share: a realistic character file built from
// the container builder and the bitmap writers beside it.

#include <cstdint>
#include <string>
#include <vector>

#include "testkit/bitmap.h"
#include "testkit/iff_builder.h"

namespace drapeline::testkit {

// ---- Realistic character files --------------------------------------------------------

struct PictureSize {
    int width = 0, height = 0;
};

// What characterFile builds: one sim's file.
struct SimOptions {
    std::string objectLabel = "user00012";
    std::uint16_t objectId = 128;
    std::vector<std::string> names{"Bella", "Bella Goth"};   // the CTSS name set
    std::vector<std::string> bodyStrings;   // empty: adultFemaleBodyStrings()
    PictureSize webImage{40, 52};           // 24-bit
    PictureSize faces{32, 32};              // 8-bit
    PictureSize relImages{24, 24};          // 8-bit
    int otherChunks = 20;                   // behaviour, tables and the like
    std::uint32_t seed = 1;                 // varies the other chunks' contents and sizes
};

// A plausible 34-entry body-strings set of an adult woman.
std::vector<std::string> adultFemaleBodyStrings();

// Opening block, OBJD, CTSS, the body-strings STR# (ID field 00 C8 00 10), the three
// standard pictures, other chunks, and a map listing every chunk, last. Further chunks
// can be added to the builder returned (they follow the map and are listed in it).
IffBuilder characterFile(const SimOptions& sim = {});

}  // namespace drapeline::testkit
