// The checked reader on arbitrary bytes. Whatever it accepts must be written and read
// back to the same chunks and map entries, and writing that again must give the same
// bytes; anything else is a reader or writer fault.

#include <cstdint>
#include <cstdlib>

#include "core/bitmap_export.h"
#include "core/iff_file.h"
#include "core/string_set.h"

using namespace drapeline;

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

void sameChunks(const IffFile& a, const IffFile& b) {
    require(a.chunks.size() == b.chunks.size());
    for (std::size_t i = 0; i < a.chunks.size(); ++i) {
        const IffChunk& x = a.chunks[i];
        const IffChunk& y = b.chunks[i];
        require(x.fileOffset == y.fileOffset && x.typeCode == y.typeCode &&
                x.sizeField == y.sizeField && x.idField == y.idField && x.label == y.label &&
                x.data == y.data);
    }
}

void sameMap(const ResourceMap& a, const ResourceMap& b) {
    require(a.rsmpHeader == b.rsmpHeader && a.rsmpTypeCount == b.rsmpTypeCount &&
            a.types.size() == b.types.size());
    for (std::size_t t = 0; t < a.types.size(); ++t) {
        const RsmpType& x = a.types[t];
        const RsmpType& y = b.types[t];
        require(x.typeCode == y.typeCode && x.count == y.count && x.entries.size() == y.entries.size());
        for (std::size_t e = 0; e < x.entries.size(); ++e)
            require(x.entries[e].offset == y.entries[e].offset &&
                    x.entries[e].idField == y.entries[e].idField &&
                    x.entries[e].name == y.entries[e].name);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IffFile iff;
    if (!iff::parseChecked(iff, bytes).empty()) return 0;

    // The other readers of a file that read well must fail cleanly or succeed.
    for (const auto& chunk : iff.chunks) {
        try {
            if (chunk.typeCode == "STR#" || chunk.typeCode == "CTSS") {
                const StringSet set = strings::decode(chunk.data);
                require(strings::encode(set) == chunk.data);
            } else if (chunk.typeCode == "BMP_") {
                (void)bitmaps::exportName(chunk);
            }
        } catch (const RuntimeError&) {
        }
    }

    ByteText written;
    try {
        written = iff::serialise(iff);
    } catch (const RuntimeError&) {
        std::abort();   // a file that was read must be writable
    }
    require(written.size() <= size);

    IffFile again;
    require(iff::parseChecked(again, written).empty());
    sameChunks(iff, again);
    const bool mapWritten = iff.hasRsmp && iff.map.read;
    require(again.hasRsmp == mapWritten && again.map.read == mapWritten);
    if (mapWritten) sameMap(iff.map, again.map);
    require(iff::serialise(again) == written);
    return 0;
}
