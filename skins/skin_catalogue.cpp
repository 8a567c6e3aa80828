#include "skins/skin_catalogue.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <exception>
#include <span>
#include <system_error>
#include <thread>
#include <unordered_set>

#include "core/errors.h"
#include "platform/files.h"

namespace drapeline::skins {

namespace {

// The base folder is spelt two ways by the searches; both resolve to the same folder.
constexpr std::array<const char*, 3> MeshFolders{"GameData/Skins", "ExpansionPack3/SkinsBuy",
                                                 "ExpansionShared/SkinsBuy"};
constexpr std::array<const char*, 3> TextureFolders{"gamedata/skins", "ExpansionPack3/SkinsBuy",
                                                    "ExpansionShared/SkinsBuy"};
constexpr std::array<char, 6> OutfitLetters{'B', 'F', 'L', 'S', 'N', 'W'};

std::string_view part(std::string_view code, std::size_t from, std::size_t length) {
    if (from >= code.size()) return {};
    return code.substr(from, length);
}

std::string cutAtFirstDot(const std::string& name) { return name.substr(0, name.find('.')); }

// Appends the models of each pattern (one per outfit letter, in order) folder by folder:
// the base folder without a duplicate test, the expansions only with names not yet listed
// in any case, earlier letters included.
std::vector<std::string> searchModels(FolderListing& meshes, std::span<const std::string> patterns) {
    std::vector<std::string> models;
    std::unordered_set<std::string> seen;
    for (const auto& pattern : patterns) {
        const std::string withSuffix = pattern + ".cmx";
        for (std::size_t folder = 0; folder < meshes.size(); ++folder) {
            // Within the base folder each letter's names are distinct already; the
            // expansions may repeat a base mesh in another letter case.
            const bool baseFolder = folder == 0;
            for (const auto& file : matching(meshes.names(folder), withSuffix)) {
                std::string model = cutAtFirstDot(file);
                if (!seen.insert(platform::foldCase(model)).second && !baseFolder) continue;
                models.push_back(std::move(model));
            }
        }
    }
    return models;
}

// Lists `patterns` in `folders` (in that order, folder by folder, each folder listed
// once), test-loads every file and keeps the ones that load.
std::optional<TextureSearch> searchTextures(const std::string& gameLocation,
                                            std::span<const char* const> folders,
                                            std::span<const std::string> patterns,
                                            const platform::PictureLoader& loader,
                                            const StopFlag* stop) {
    FolderListing listing(gameLocation, folders, {patterns.begin(), patterns.end()});
    std::vector<std::string> paths;
    for (std::size_t folder = 0; folder < listing.size(); ++folder)
        for (const auto& pattern : patterns)
            for (const auto& file : matching(listing.names(folder), pattern))
                paths.push_back(platform::joinPath(listing.path(folder), file));

    // Bytes, not bools: neighbouring elements are written from different threads.
    std::vector<unsigned char> loads(paths.size(), 0);
    if (!forEachOnAllCores(paths.size(), [&](std::size_t i) { loads[i] = loader.loads(paths[i]); }, stop))
        return std::nullopt;

    TextureSearch found;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (loads[i]) found.files.push_back(std::move(paths[i]));
        else found.bad.push_back(platform::fileNameOf(paths[i]));
    }
    return found;
}

}  // namespace

std::string_view SkinData::gender() const { return part(code, 0, 1); }
std::string_view SkinData::age() const { return part(code, 1, 1); }
std::string_view SkinData::skinTone() const { return part(code, 2, 3); }
std::string_view SkinData::bodyType() const { return part(code, 5, 3); }
std::string_view SkinData::outfit() const { return part(code, 8, std::string_view::npos); }

std::string modelPattern(char outfitLetter, const SkinData& data) {
    std::string pattern(1, outfitLetter);
    if (data.age() == "c") return pattern + "????Cchd_*";
    pattern += "???";
    pattern += data.gender();
    pattern += data.age();
    pattern += data.bodyType();
    return pattern + "_*";
}

FolderListing::FolderListing(std::string gameLocation, std::span<const char* const> folders,
                             std::vector<std::string> patterns)
    : gameLocation_(std::move(gameLocation)), patterns_(std::move(patterns)) {
    for (const char* folder : folders) folders_.push_back({folder, std::nullopt, std::nullopt});
}

const std::string& FolderListing::path(std::size_t folder) {
    Listed& f = folders_.at(folder);
    if (!f.path) f.path = platform::resolvePath(gameLocation_, f.relative);
    return *f.path;
}

const std::vector<std::string>& FolderListing::names(std::size_t folder) {
    Listed& f = folders_.at(folder);
    if (!f.names) f.names = platform::listFolder(path(folder), patterns_, platform::Listing::FilesOnly);
    return *f.names;
}

std::vector<std::string> matching(const std::vector<std::string>& listing, std::string_view pattern) {
    std::vector<std::string> names;
    for (const auto& name : listing)
        if (platform::wildcardMatch(pattern, name)) names.push_back(name);
    return names;
}

namespace {

std::vector<std::string> modelPatterns(const SkinData& data) {
    std::vector<std::string> patterns;
    for (const char letter : OutfitLetters) patterns.push_back(modelPattern(letter, data));
    return patterns;
}

}  // namespace

FolderListing meshListing(const std::string& gameLocation, const SkinData& data) {
    std::vector<std::string> patterns = modelPatterns(data);
    for (auto& p : patterns) p += ".cmx";
    return FolderListing(gameLocation, MeshFolders, std::move(patterns));
}

std::vector<std::string> findModels(FolderListing& meshes, const SkinData& data) {
    return searchModels(meshes, modelPatterns(data));
}

std::vector<std::string> findModels(const std::string& gameLocation, const SkinData& data) {
    FolderListing meshes = meshListing(gameLocation, data);
    return findModels(meshes, data);
}

std::vector<std::string> findFilteredModels(FolderListing& meshes, const SkinData& data) {
    const std::string_view outfit = data.outfit();
    if (outfit.size() != 1) return {};
    const char letter = (outfit[0] >= 'a' && outfit[0] <= 'z') ? static_cast<char>(outfit[0] - 32)
                                                                : outfit[0];
    if (std::find(OutfitLetters.begin(), OutfitLetters.end(), letter) == OutfitLetters.end())
        return {};
    const std::string pattern = modelPattern(letter, data);
    return searchModels(meshes, std::span(&pattern, 1));
}

std::vector<std::string> findFilteredModels(const std::string& gameLocation,
                                                const SkinData& data) {
    FolderListing meshes = meshListing(gameLocation, data);
    return findFilteredModels(meshes, data);
}

std::optional<TextureSearch> searchSkinFiles(const std::string& gameLocation, const std::string& model,
                                             const SkinData& data, const platform::PictureLoader& loader,
                                             const StopFlag& stop) {
    const auto underscore = model.find('_');
    if (underscore == std::string::npos) throw RuntimeError(err::InvalidCall);
    const std::string pattern =
        model.substr(0, underscore) + std::string(data.skinTone()) + "_*.bmp";
    return searchTextures(gameLocation, TextureFolders, std::span(&pattern, 1), loader, &stop);
}

TextureSearch findTextures(const std::string& gameLocation, const std::string& model,
                                 const SkinData& data, const platform::PictureLoader& loader) {
    const StopFlag never{false};
    return *searchSkinFiles(gameLocation, model, data, loader, never);
}

TextureSearch findHandTextures(const std::string& gameLocation,
                                 const platform::PictureLoader& loader) {
    const std::array<std::string, 2> patterns{"h*.bmp", "g???_*.bmp"};
    return *searchTextures(gameLocation, std::span(TextureFolders.data(), 1), patterns, loader, nullptr);
}

namespace {

// The name is matched as a name, not as a pattern: a "*" in it finds only itself.
bool listedIn(const std::string& gameLocation, std::span<const char* const> folders,
              std::string fileName) {
    FolderListing listing(gameLocation, folders, {fileName});
    for (std::size_t folder = 0; folder < listing.size(); ++folder)
        for (const auto& name : listing.names(folder))
            if (platform::equalIgnoringCase(name, fileName)) return true;
    return false;
}

}  // namespace

bool meshInstalled(const std::string& gameLocation, std::string_view mesh) {
    return listedIn(gameLocation, MeshFolders, std::string(mesh) + ".cmx");
}

bool textureInstalled(const std::string& gameLocation, std::string_view texture) {
    return listedIn(gameLocation, TextureFolders, std::string(texture) + ".bmp");
}

bool handTextureInstalled(const std::string& gameLocation, std::string_view texture) {
    return listedIn(gameLocation, std::span(TextureFolders.data(), 1), std::string(texture) + ".bmp");
}

std::string badSkinFilesMessage(const std::vector<std::string>& bad) {
    std::string text = "The following files could not be loaded:\r\n\r\n";
    for (const auto& name : bad) text += name + "\r\n";
    text += "\r\nThese files may be \"fixed\" by loading them into\r\n"
            "a program like Paint Shop Pro and re-saving them.";
    return text;
}

bool forEachOnAllCores(std::size_t count, const std::function<void(std::size_t)>& work,
                       const StopFlag* stop, std::size_t threads) {
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = std::min(threads, count);
    const auto stopped = [stop] { return stop != nullptr && stop->load(); };
    if (threads == 0) return !stopped();

    // Each worker takes the next index; a worker that throws stops the others early and
    // its exception is rethrown here.
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::vector<std::exception_ptr> errors(threads);
    const auto run = [&](std::size_t worker) {
        try {
            for (std::size_t i = next++; i < count && !failed && !stopped(); i = next++) work(i);
        } catch (...) {
            errors[worker] = std::current_exception();
            failed = true;
        }
    };
    {
        std::vector<std::jthread> helpers;
        helpers.reserve(threads - 1);
        try {
            for (std::size_t t = 1; t < threads; ++t) helpers.emplace_back(run, t);
        } catch (const std::system_error&) {
            // No more threads to be had: the ones running and this one do the work.
        }
        run(0);
    }
    for (const auto& error : errors)
        if (error) std::rethrow_exception(error);
    return !stopped();
}

std::vector<platform::PicturePtr> decodeAll(const std::vector<std::string>& paths,
                                            const platform::PictureLoader& loader,
                                            std::size_t threads) {
    std::vector<platform::PicturePtr> pictures(paths.size());
    forEachOnAllCores(paths.size(), [&](std::size_t i) { pictures[i] = loader.load(paths[i]); },
                      nullptr, threads);
    return pictures;
}

}  // namespace drapeline::skins
