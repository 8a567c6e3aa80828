// The character data readers on arbitrary bytes, as binary and as text. Whatever reads
// must write back as binary and read again to the same bytes; anything else is a reader
// or writer fault. (NaN floats keep their bits through the binary form, not the text.)

#include <cstdint>
#include <cstdlib>

#include "core/cmx.h"
#include "testkit/mesh_builder.h"

using namespace drapeline;

namespace {

void rewritesTheSame(const CharacterData& data) {
    const ByteText written = testkit::characterBinary(data);
    ByteText again;
    try {
        again = testkit::characterBinary(readCharacterBinary(written));
    } catch (const RuntimeError&) {
        std::abort();   // what was read must be readable once written
    }
    if (again != written) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        rewritesTheSame(readCharacterBinary(bytes));
    } catch (const RuntimeError&) {
    }
    try {
        rewritesTheSame(readCharacterText(bytes));
    } catch (const RuntimeError&) {
    }
    return 0;
}
