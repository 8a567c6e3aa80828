#pragma once
// The demo game: a complete game folder made entirely by our own code, so that anyone
// can try every feature of the editor without the game. buildDemoGame() makes it in
// memory (the same bytes on every run); createDemoGame() writes it to a folder.

#include <stdexcept>
#include <string>
#include <vector>

#include "core/errors.h"

namespace drapeline::demo {

struct DemoFile {
    std::string path;   // relative to the game folder, "/" between components
    ByteText bytes;
};

struct DemoGame {
    std::vector<DemoFile> files;
    int sims = 0;       // character files, the unreadable one included
    int skins = 0;      // texture files in the skin folders, hands and the bad file included
    int meshes = 0;     // body suits in the skin folders
};

DemoGame buildDemoGame();

// The file at the top of the game folder that says "made by Drapeline"; it also tells a
// newcomer which sim shows what.
inline constexpr const char* MarkerFileName = "Drapeline Demo.txt";
inline constexpr const char* MarkerFirstLine = "Drapeline demo game";
// The archive of skeletons, heads and hands.
inline constexpr const char* ArchivePath = "GameData/DemoModels.far";

struct DemoSummary {
    std::string game;
    int sims = 0;
    int skins = 0;
    bool created = false;   // false: the folder already held a demo game and was left alone
};

// Thrown when the folder can not take the demo game.
struct DemoFolderError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Creates the demo game in `folder` (created when missing). A folder that already holds
// a demo game (its marker file) is left as it is, so edits made there survive; any other
// folder that is not empty is refused with DemoFolderError. Write failures throw
// RuntimeError.
DemoSummary createDemoGame(const std::string& folder);

}  // namespace drapeline::demo
