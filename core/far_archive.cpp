#include "core/far_archive.h"

#include <string>

#include "core/model_fields.h"
#include "core/ascii.h"

namespace drapeline {

namespace {

constexpr std::string_view Signature = "FAR!byAZ";
constexpr std::size_t LeastEntryBytes = 16;


bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ascii::toLower(a[i]) != ascii::toLower(b[i])) return false;
    return true;
}

}  // namespace

std::uint32_t farManifestOffset(std::string_view head, std::uint64_t archiveSize) {
    BinaryFields header(head);
    if (header.take(Signature.size(), "archive signature") != Signature)
        refuseModel(err::InvalidCall, "no \"FAR!byAZ\" signature: not a FAR archive");
    const std::uint32_t version = header.uint32("archive version");
    if (version != 1)
        refuseModel(err::InvalidCall, "FAR version " + std::to_string(version) + ", not 1");
    const std::uint32_t manifest = header.uint32("manifest offset");
    if (manifest > archiveSize)
        refuseModel(err::InputPastEnd, "manifest offset " + std::to_string(manifest) + " of a " +
                                           std::to_string(archiveSize) + "-byte archive");
    return manifest;
}

std::vector<FarEntry> readFarManifest(std::string_view manifest, std::uint64_t archiveSize) {
    BinaryFields in(manifest);
    const std::uint32_t count = in.uint32("entry count");
    in.requireRoom(count, LeastEntryBytes, "entries");
    std::size_t index = 0;
    return readList(count, [&] {
        FarEntry entry;
        entry.size = in.uint32("entry size");
        (void)in.uint32("entry size");   // the same again: 1a stores nothing compressed
        entry.offset = in.uint32("entry offset");
        entry.name = ByteText(in.take(in.uint32("entry name length"), "entry name"));
        if (std::uint64_t{entry.offset} + entry.size > archiveSize)
            refuseModel(err::InputPastEnd, "entry " + std::to_string(index) + " of " +
                                               std::to_string(entry.size) + " bytes at " +
                                               std::to_string(entry.offset) + " in a " +
                                               std::to_string(archiveSize) + "-byte archive");
        ++index;
        return entry;
    });
}

FarArchive readFarArchive(std::string_view archive) {
    const std::uint32_t manifest = farManifestOffset(archive, archive.size());
    FarArchive far;
    far.entries = readFarManifest(archive.substr(manifest), archive.size());
    for (auto& entry : far.entries) entry.bytes = archive.substr(entry.offset, entry.size);
    return far;
}

const FarEntry* findFarEntry(const FarArchive& archive, std::string_view name) {
    const FarEntry* found = nullptr;
    for (const auto& entry : archive.entries) {
        if (entry.name == name) return &entry;
        if (!found && equalIgnoringCase(entry.name, name)) found = &entry;
    }
    return found;
}

}  // namespace drapeline
