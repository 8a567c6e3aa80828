// The mesh readers on arbitrary bytes, as binary and as text. A mesh that reads must keep
// its promise that every index names an element that exists, and must write back as
// binary and read again to the same bytes.

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

#include "core/mesh.h"
#include "testkit/mesh_builder.h"

using namespace drapeline;

namespace {

// at() throws for any index the reader should have refused.
void touchEveryIndex(const Mesh& m) {
    const std::size_t real = m.realVertexCount();
    if (real > m.vertices.size() || m.textureCoordinates.size() != real) std::abort();
    for (const auto& f : m.faces)
        for (const auto v : {f.a, f.b, f.c})
            (void)m.textureCoordinates.at(static_cast<std::size_t>(v));
    for (const auto& b : m.blends) (void)m.textureCoordinates.at(static_cast<std::size_t>(b.otherVertex));
    for (const auto& b : m.bindings) {
        (void)m.boneNames.at(static_cast<std::size_t>(b.boneIndex));
        for (std::int64_t i = 0; i < b.realCount; ++i)
            (void)m.textureCoordinates.at(static_cast<std::size_t>(b.firstReal + i));
        for (std::int64_t i = 0; i < b.blendCount; ++i)
            (void)m.blends.at(static_cast<std::size_t>(b.firstBlend + i));
    }
}

void check(const Mesh& mesh) {
    try {
        touchEveryIndex(mesh);
    } catch (const std::out_of_range&) {
        std::abort();
    }
    const ByteText written = testkit::meshBinary(mesh);
    ByteText again;
    try {
        again = testkit::meshBinary(readMeshBinary(written));
    } catch (const RuntimeError&) {
        std::abort();
    }
    if (again != written) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        check(readMeshBinary(bytes));
    } catch (const RuntimeError&) {
    }
    try {
        check(readMeshText(bytes));
    } catch (const RuntimeError&) {
    }
    return 0;
}
