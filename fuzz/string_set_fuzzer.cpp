// The string-set decoder on arbitrary chunk data: it must fail with a run-time error or
// decode a set that encodes back to exactly the same bytes.

#include <cstdint>
#include <cstdlib>

#include "core/string_set.h"

using namespace drapeline;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    StringSet set;
    try {
        set = strings::decode(bytes);
    } catch (const RuntimeError&) {
        return 0;
    }
    if (set.entries.empty() || set.entries.size() > MaxListElements) std::abort();
    if (strings::encode(set) != bytes) std::abort();
    return 0;
}
