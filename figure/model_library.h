#pragma once
// Finds the game's character data, meshes and textures by name, as the game does: loose
// files in the skin folders first, then the members of every FAR archive below the game
// folder, letter case aside. Each folder is listed and each archive indexed once, when
// first needed; loaded meshes and textures are kept up to a memory budget, the least
// recently used given up first. One library per game folder and session, owned by
// whoever shows figures (the edit window's model, the chooser, the command).

#include <cstddef>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/cmx.h"
#include "core/mesh.h"
#include "core/rgba_image.h"

namespace drapeline::figure {

// What a lookup gives: the thing, or nothing with `damaged` telling a file that is there
// but does not read from one that is missing.
template <class T>
struct Found {
    std::shared_ptr<const T> value;
    bool damaged = false;
    explicit operator bool() const { return value != nullptr; }
};

class ModelLibrary {
public:
    explicit ModelLibrary(std::string gameFolder, std::size_t budgetBytes = std::size_t{48} << 20);

    const std::string& gameFolder() const { return gameFolder_; }

    // The suit named `name`: from NAME.cmx, NAME.cmx.bcf or NAME.bcf, or else from any
    // character data in the archives that holds a suit of that name.
    Found<Suit> suit(std::string_view name);
    // "adult" or "child": AGE-skeleton.cmx(.bcf), or a skeleton of that name in the archives.
    Found<Skeleton> skeleton(std::string_view age);
    // NAME.skn or NAME.bmf.
    Found<Mesh> mesh(std::string_view name);
    // NAME.bmp, decoded.
    Found<RgbaImage> texture(std::string_view name);

    std::size_t cachedBytes() const { return cachedBytes_; }
    std::size_t archiveCount();

private:
    struct Place {
        std::string path;              // the loose file or the archive
        bool inArchive = false;
        std::uint32_t offset = 0, size = 0;
    };
    struct Cached {
        std::shared_ptr<const void> value;
        std::size_t bytes = 0;
        bool damaged = false;
        std::list<std::string>::iterator use;
    };

    void index();
    std::optional<Place> find(std::string_view fileName);
    ByteText read(const Place& place);
    // The character data in the archives that is not named after what it holds, read once.
    void indexArchiveCharacters();
    const Cached* cached(const std::string& key);
    void keep(const std::string& key, std::shared_ptr<const void> value, std::size_t bytes, bool damaged);

    std::string gameFolder_;
    std::size_t budget_;
    bool indexed_ = false;
    std::map<std::string, Place> files_;   // folded file name -> where; the first place wins
    std::vector<std::string> archives_;
    bool charactersIndexed_ = false;
    std::map<std::string, Place> suitsInArchives_;       // folded suit name -> its file
    std::map<std::string, Place> skeletonsInArchives_;   // folded skeleton name -> its file
    std::map<std::string, Cached> cache_;
    std::list<std::string> uses_;   // most recent first
    std::size_t cachedBytes_ = 0;
};

// The library of `gameFolder` for this session of the program: made when first asked for
// and kept, so that every window showing figures shares one index and one cache; asking
// for another game folder (Set Path) replaces it. For the windows' thread only.
ModelLibrary& sessionLibrary(const std::string& gameFolder);

}  // namespace drapeline::figure
