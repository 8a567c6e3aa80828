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
    require(a.Chunks.size() == b.Chunks.size());
    for (std::size_t i = 0; i < a.Chunks.size(); ++i) {
        const IffChunk& x = a.Chunks[i];
        const IffChunk& y = b.Chunks[i];
        require(x.FileOffset == y.FileOffset && x.TypeCode == y.TypeCode &&
                x.SizeField == y.SizeField && x.IdField == y.IdField && x.Label == y.Label &&
                x.Data == y.Data);
    }
}

void sameMap(const ResourceMap& a, const ResourceMap& b) {
    require(a.RsmpHeader == b.RsmpHeader && a.RsmpTypeCount == b.RsmpTypeCount &&
            a.Types.size() == b.Types.size());
    for (std::size_t t = 0; t < a.Types.size(); ++t) {
        const RsmpType& x = a.Types[t];
        const RsmpType& y = b.Types[t];
        require(x.TypeCode == y.TypeCode && x.Count == y.Count && x.Entries.size() == y.Entries.size());
        for (std::size_t e = 0; e < x.Entries.size(); ++e)
            require(x.Entries[e].Offset == y.Entries[e].Offset &&
                    x.Entries[e].IdField == y.Entries[e].IdField &&
                    x.Entries[e].Name == y.Entries[e].Name);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IffFile iff;
    if (!iff::parseChecked(iff, bytes).empty()) return 0;

    // The other readers of a file that read well must fail cleanly or succeed.
    for (const auto& chunk : iff.Chunks) {
        try {
            if (chunk.TypeCode == "STR#" || chunk.TypeCode == "CTSS") {
                const StringSet set = strings::decode(chunk.Data);
                require(strings::encode(set) == chunk.Data);
            } else if (chunk.TypeCode == "BMP_") {
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
    const bool mapWritten = iff.HasRsmp && iff.Map.Read;
    require(again.HasRsmp == mapWritten && again.Map.Read == mapWritten);
    if (mapWritten) sameMap(iff.Map, again.Map);
    require(iff::serialise(again) == written);
    return 0;
}
