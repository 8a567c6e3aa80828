// The archive reader on arbitrary bytes. Every entry it hands out must lie inside the
// archive, and the entries written into a new archive must read back the same.

#include <cstdint>
#include <cstdlib>

#include "core/far_archive.h"
#include "testkit/mesh_builder.h"

using namespace drapeline;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FarArchive archive;
    try {
        archive = readFarArchive(bytes);
    } catch (const RuntimeError&) {
        return 0;
    }
    std::vector<testkit::FarItem> items;
    for (const auto& e : archive.entries) {
        const bool inside = e.bytes.data() == bytes.data() + e.offset && e.bytes.size() == e.size &&
                            std::uint64_t{e.offset} + e.size <= size;
        if (!inside) std::abort();
        items.push_back({e.name, ByteText(e.bytes)});
    }
    const ByteText written = testkit::farArchive(items);
    try {
        const FarArchive again = readFarArchive(written);
        if (again.entries.size() != items.size()) std::abort();
        for (std::size_t i = 0; i < items.size(); ++i)
            if (again.entries[i].name != items[i].name || again.entries[i].bytes != items[i].bytes)
                std::abort();
    } catch (const RuntimeError&) {
        std::abort();
    }
    return 0;
}
