#include "figure/model_library.h"

#include <algorithm>

#include "core/far_archive.h"
#include "core/file_io.h"
#include "core/bitmap_decoder.h"
#include "platform/files.h"
#include "wardrobe/wardrobe_record.h"

namespace drapeline::figure {

namespace {

bool endsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// No manifest of the game's comes near this; a larger one is a damaged archive.
constexpr std::uint64_t MaxManifestBytes = std::uint64_t{64} << 20;

// Archives lie below GameData and the expansion folders; deeper than this is not the game's.
constexpr int ArchiveDepth = 4;

bool gameDataFolder(std::string_view name) {
    const std::string folded = platform::foldCase(name);
    return folded == "gamedata" || folded.rfind("expansion", 0) == 0;
}

void findArchives(const std::string& folder, int depth, std::vector<std::string>& out) {
    for (const auto& name : platform::listFolder(folder, "*", platform::Listing::FilesAndFolders)) {
        const std::string path = platform::joinPath(folder, name);
        if (platform::wildcardMatch("*.far", name) && platform::fileExists(path))
            out.push_back(path);
        else if (depth < ArchiveDepth && platform::folderExists(path))
            findArchives(path, depth + 1, out);
    }
}

std::size_t meshBytes(const Mesh& m) {
    return sizeof(Mesh) + m.vertices.size() * sizeof(MeshVertex) + m.faces.size() * sizeof(Face) +
           m.textureCoordinates.size() * sizeof(TextureCoordinate) + m.blends.size() * sizeof(BlendData) +
           m.bindings.size() * sizeof(BoneBinding) + m.boneNames.size() * 32;
}

CharacterData readCharacter(std::string_view fileName, const ByteText& bytes) {
    return endsWith(platform::foldCase(fileName), ".cmx") ? readCharacterText(bytes) : readCharacterBinary(bytes);
}

}  // namespace

ModelLibrary::ModelLibrary(std::string gameFolder, std::size_t budgetBytes)
    : gameFolder_(std::move(gameFolder)), budget_(budgetBytes) {}

void ModelLibrary::index() {
    if (indexed_) return;
    indexed_ = true;
    // The skin folders in the order the textures are searched in.
    for (const char* relative : wardrobe::SkinFolders) {
        const std::string folder = platform::resolvePath(gameFolder_, relative);
        for (const auto& name : platform::listFolder(folder, "*", platform::Listing::FilesOnly))
            files_.emplace(platform::foldCase(name), Place{platform::joinPath(folder, name), false, 0, 0});
    }
    for (const auto& name : platform::listFolder(gameFolder_, "*", platform::Listing::FilesAndFolders)) {
        const std::string path = platform::joinPath(gameFolder_, name);
        if (gameDataFolder(name) && platform::folderExists(path)) findArchives(path, 1, archives_);
    }
    for (const auto& path : archives_) {
        try {
            // Only the header and the manifest are read: the game's archives hold
            // hundreds of megabytes of other things. An entry is read when asked for.
            const std::uint64_t size = fileSize(path);
            const std::uint32_t manifest = farManifestOffset(readFilePart(path, 0, std::min<std::uint64_t>(size, 16)), size);
            if (size - manifest > MaxManifestBytes) continue;
            const auto entries = readFarManifest(readFilePart(path, manifest, static_cast<std::uint32_t>(size - manifest)), size);
            for (const auto& entry : entries) {
                std::string name = entry.name;
                const auto slash = name.find_last_of("\\/");
                if (slash != std::string::npos) name = name.substr(slash + 1);
                files_.emplace(platform::foldCase(name), Place{path, true, entry.offset, entry.size});
            }
        } catch (const RuntimeError&) {
            // A damaged archive holds nothing we can use; the others still count.
        }
    }
}

std::size_t ModelLibrary::archiveCount() {
    index();
    return archives_.size();
}

std::optional<ModelLibrary::Place> ModelLibrary::find(std::string_view fileName) {
    index();
    const auto it = files_.find(platform::foldCase(fileName));
    if (it == files_.end()) return std::nullopt;
    return it->second;
}

ByteText ModelLibrary::read(const Place& place) {
    return place.inArchive ? readFilePart(place.path, place.offset, place.size) : readWholeFile(place.path);
}

void ModelLibrary::indexArchiveCharacters() {
    if (charactersIndexed_) return;
    charactersIndexed_ = true;
    index();
    for (const auto& [name, place] : files_) {
        if (!place.inArchive || !endsWith(name, ".bcf")) continue;
        try {
            const CharacterData data = readCharacterBinary(read(place));
            for (const auto& suit : data.suits) suitsInArchives_.emplace(platform::foldCase(suit.name), place);
            for (const auto& s : data.skeletons) skeletonsInArchives_.emplace(platform::foldCase(s.name), place);
        } catch (const RuntimeError&) {
        }
    }
}

const ModelLibrary::Cached* ModelLibrary::cached(const std::string& key) {
    const auto it = cache_.find(key);
    if (it == cache_.end()) return nullptr;
    uses_.splice(uses_.begin(), uses_, it->second.use);
    return &it->second;
}

void ModelLibrary::keep(const std::string& key, std::shared_ptr<const void> value, std::size_t bytes, bool damaged) {
    uses_.push_front(key);
    cache_[key] = Cached{std::move(value), bytes, damaged, uses_.begin()};
    cachedBytes_ += bytes;
    // The newest stays even when it alone is over the budget: it is about to be drawn.
    while (cachedBytes_ > budget_ && uses_.size() > 1) {
        const auto old = cache_.find(uses_.back());
        cachedBytes_ -= old->second.bytes;
        cache_.erase(old);
        uses_.pop_back();
    }
}

Found<Suit> ModelLibrary::suit(std::string_view name) {
    const std::string key = "suit:" + platform::foldCase(name);
    if (const Cached* c = cached(key)) return {std::static_pointer_cast<const Suit>(c->value), c->damaged};
    std::shared_ptr<const Suit> found;
    bool damaged = false;
    const auto take = [&](const Place& place, std::string_view fileName) {
        try {
            const CharacterData data = readCharacter(fileName, read(place));
            const auto named = std::find_if(data.suits.begin(), data.suits.end(),
                                            [&](const Suit& s) { return platform::equalIgnoringCase(s.name, name); });
            // A file named after the suit that holds one suit under another name is still it.
            if (named == data.suits.end() && data.suits.size() != 1) return false;
            found = std::make_shared<const Suit>(named != data.suits.end() ? *named : data.suits.front());
            return true;
        } catch (const RuntimeError&) {
            damaged = true;
        }
        return false;
    };
    const std::string stem(name);
    for (const std::string& fileName : {stem + ".cmx", stem + ".cmx.bcf", stem + ".bcf"})
        if (const auto place = find(fileName); place && take(*place, fileName)) break;
    if (!found) {
        indexArchiveCharacters();
        if (const auto it = suitsInArchives_.find(platform::foldCase(name)); it != suitsInArchives_.end())
            take(it->second, ".bcf");
    }
    if (found) damaged = false;
    keep(key, found, found ? 256 : 64, damaged);
    return {found, damaged};
}

Found<Skeleton> ModelLibrary::skeleton(std::string_view age) {
    const std::string key = "skeleton:" + platform::foldCase(age);
    if (const Cached* c = cached(key)) return {std::static_pointer_cast<const Skeleton>(c->value), c->damaged};
    std::shared_ptr<const Skeleton> found;
    bool damaged = false;
    const auto take = [&](const Place& place, std::string_view fileName) {
        try {
            const CharacterData data = readCharacter(fileName, read(place));
            if (data.skeletons.empty()) return false;
            const auto named = std::find_if(data.skeletons.begin(), data.skeletons.end(),
                                            [&](const Skeleton& s) { return platform::equalIgnoringCase(s.name, age); });
            found = std::make_shared<const Skeleton>(named != data.skeletons.end() ? *named : data.skeletons.front());
            return true;
        } catch (const RuntimeError&) {
            damaged = true;
        }
        return false;
    };
    const std::string stem = std::string(age) + "-skeleton";
    for (const std::string& fileName : {stem + ".cmx", stem + ".cmx.bcf", stem + ".bcf"})
        if (const auto place = find(fileName); place && take(*place, fileName)) break;
    if (!found) {
        indexArchiveCharacters();
        if (const auto it = skeletonsInArchives_.find(platform::foldCase(age)); it != skeletonsInArchives_.end())
            take(it->second, ".bcf");
    }
    if (found) damaged = false;
    keep(key, found, found ? found->bones.size() * sizeof(Bone) + 256 : 64, damaged);
    return {found, damaged};
}

Found<Mesh> ModelLibrary::mesh(std::string_view name) {
    const std::string key = "mesh:" + platform::foldCase(name);
    if (const Cached* c = cached(key)) return {std::static_pointer_cast<const Mesh>(c->value), c->damaged};
    std::shared_ptr<const Mesh> found;
    bool damaged = false;
    const std::string stem(name);
    for (const bool text : {true, false}) {
        const auto place = find(stem + (text ? ".skn" : ".bmf"));
        if (!place) continue;
        try {
            const ByteText bytes = read(*place);
            found = std::make_shared<const Mesh>(text ? readMeshText(bytes) : readMeshBinary(bytes));
            break;
        } catch (const RuntimeError&) {
            damaged = true;
        }
    }
    if (found) damaged = false;
    keep(key, found, found ? meshBytes(*found) : 64, damaged);
    return {found, damaged};
}

Found<RgbaImage> ModelLibrary::texture(std::string_view name) {
    const std::string key = "texture:" + platform::foldCase(name);
    if (const Cached* c = cached(key)) return {std::static_pointer_cast<const RgbaImage>(c->value), c->damaged};
    std::shared_ptr<const RgbaImage> found;
    bool damaged = false;
    if (const auto place = find(std::string(name) + ".bmp")) {
        try {
            if (auto image = decodeBitmap(read(*place))) found = std::make_shared<const RgbaImage>(std::move(*image));
        } catch (const RuntimeError&) {
        }
        damaged = !found;
    }
    keep(key, found, found ? found->bytes() + sizeof(RgbaImage) : 64, damaged);
    return {found, damaged};
}

ModelLibrary& sessionLibrary(const std::string& gameFolder) {
    static std::unique_ptr<ModelLibrary> library;
    if (!library || library->gameFolder() != gameFolder) library = std::make_unique<ModelLibrary>(gameFolder);
    return *library;
}

}  // namespace drapeline::figure
