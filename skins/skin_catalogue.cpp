#include "skins/skin_catalogue.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <exception>
#include <span>
#include <system_error>
#include <thread>

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

bool listedAlready(const std::vector<std::string>& models, std::string_view name) {
    return std::any_of(models.begin(), models.end(), [&](const std::string& m) {
        return platform::equalIgnoringCase(m, name);
    });
}

void searchModels(const std::string& gameLocation, const std::string& pattern,
                  std::vector<std::string>& models) {
    bool baseFolder = true;
    for (const char* folder : MeshFolders) {
        const std::string path = platform::resolvePath(gameLocation, folder);
        for (const auto& file :
             platform::listFolder(path, pattern + ".cmx", platform::Listing::FilesOnly)) {
            std::string model = cutAtFirstDot(file);
            // Within the base folder each letter's names are distinct already; the
            // expansions may repeat a base mesh in another letter case.
            if (baseFolder || !listedAlready(models, model)) models.push_back(std::move(model));
        }
        baseFolder = false;
    }
}

// Lists `patterns` in `folders` (in that order, folder by folder), test-loads every file
// and keeps the ones that load.
TextureSearch searchTextures(const std::string& gameLocation,
                             std::span<const char* const> folders,
                             std::span<const std::string> patterns,
                             const platform::PictureLoader& loader) {
    std::vector<std::string> paths;
    for (const char* folder : folders) {
        const std::string path = platform::resolvePath(gameLocation, folder);
        for (const auto& pattern : patterns)
            for (const auto& file : platform::listFolder(path, pattern, platform::Listing::FilesOnly))
                paths.push_back(platform::joinPath(path, file));
    }
    auto pictures = decodeAll(paths, loader);

    TextureSearch found;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (pictures[i]) {
            found.files.push_back(std::move(paths[i]));
            found.pictures.push_back(std::move(pictures[i]));
        } else {
            found.bad.push_back(platform::fileNameOf(paths[i]));
        }
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

std::vector<std::string> msGetModelList(const std::string& gameLocation, const SkinData& data) {
    std::vector<std::string> models;
    for (const char letter : OutfitLetters) searchModels(gameLocation, modelPattern(letter, data), models);
    return models;
}

std::vector<std::string> msGetFilteredModelList(const std::string& gameLocation,
                                                const SkinData& data) {
    std::vector<std::string> models;
    const std::string_view outfit = data.outfit();
    if (outfit.size() != 1) return models;
    const char letter = (outfit[0] >= 'a' && outfit[0] <= 'z') ? static_cast<char>(outfit[0] - 32)
                                                                : outfit[0];
    if (std::find(OutfitLetters.begin(), OutfitLetters.end(), letter) != OutfitLetters.end())
        searchModels(gameLocation, modelPattern(letter, data), models);
    return models;
}

TextureSearch msGetSkinFileNames(const std::string& gameLocation, const std::string& model,
                                 const SkinData& data, const platform::PictureLoader& loader) {
    const auto underscore = model.find('_');
    if (underscore == std::string::npos) throw RuntimeError(err::InvalidCall);
    const std::string pattern =
        model.substr(0, underscore) + std::string(data.skinTone()) + "_*.bmp";
    return searchTextures(gameLocation, TextureFolders, std::span(&pattern, 1), loader);
}

TextureSearch msGetHandFileNames(const std::string& gameLocation,
                                 const platform::PictureLoader& loader) {
    const std::array<std::string, 2> patterns{"h*.bmp", "g???_*.bmp"};
    return searchTextures(gameLocation, std::span(TextureFolders.data(), 1), patterns, loader);
}

std::string badSkinFilesMessage(const std::vector<std::string>& bad) {
    std::string text = "The following files could not be loaded:\r\n\r\n";
    for (const auto& name : bad) text += name + "\r\n";
    text += "\r\nThese files may be \"fixed\" by loading them into\r\n"
            "a program like Paint Shop Pro and re-saving them.";
    return text;
}

std::vector<platform::PicturePtr> decodeAll(const std::vector<std::string>& paths,
                                            const platform::PictureLoader& loader,
                                            std::size_t threads) {
    std::vector<platform::PicturePtr> pictures(paths.size());
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = std::min(threads, paths.size());
    if (threads == 0) return pictures;

    // Each worker takes the next path and writes its own slot, so the order is the paths'
    // order whatever thread finishes first. A loader that throws stops the others early;
    // its exception is rethrown here.
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::vector<std::exception_ptr> errors(threads);
    const auto work = [&](std::size_t worker) {
        try {
            for (std::size_t i = next++; i < paths.size() && !failed; i = next++)
                pictures[i] = loader.load(paths[i]);
        } catch (...) {
            errors[worker] = std::current_exception();
            failed = true;
        }
    };
    {
        std::vector<std::jthread> helpers;
        helpers.reserve(threads - 1);
        try {
            for (std::size_t t = 1; t < threads; ++t) helpers.emplace_back(work, t);
        } catch (const std::system_error&) {
            // No more threads to be had: the ones running and this one do the work.
        }
        work(0);
    }
    for (const auto& error : errors)
        if (error) std::rethrow_exception(error);
    return pictures;
}

}  // namespace drapeline::skins
