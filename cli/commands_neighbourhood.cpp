// Commands on a game folder: its neighbourhoods and their character files.

#include <ostream>

#include "cli/command.h"
#include "cli/json.h"
#include "cli/sim_access.h"
#include "neighbourhood/listing.h"
#include "platform/files.h"
#include "platform/game_discovery.h"

namespace drapeline::cli {

namespace {

int neighbourhoods(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(0, 0);
    const std::string game = gameFolder(args);
    const auto folders = neighbourhood::listNeighbourhoodFolders(game);
    // Lines in the list's order, each with the folder it stands for.
    JsonWriter json;
    json.beginArray();
    for (const auto& line : neighbourhood::neighbourhoodLines(folders)) {
        json.beginObject().key("line").path(line);
        json.key("folder").path(neighbourhood::folderOfLine(line)).endObject();
    }
    json.endArray();
    out << json.str() << "\n";
    return 0;
}

int sims(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(0, 0);
    const std::string game = gameFolder(args);
    const std::string folder = chosenNeighbourhood(args, game);
    JsonWriter json;
    json.beginArray();
    for (const auto& file : neighbourhood::listSimFiles(game, folder)) json.path(file);
    json.endArray();
    out << json.str() << "\n";
    return 0;
}

int findGames(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(0, 0);
    JsonWriter json;
    json.beginArray();
    for (const auto& install : platform::findInstalledGames()) {
        json.beginObject().key("folder").value(install.folder);
        json.key("source").value(install.source).key("kind").value(install.kind);
        json.key("prefix").value(install.prefix).endObject();
    }
    json.endArray();
    out << json.str() << "\n";
    return 0;
}

}  // namespace

std::vector<Command> neighbourhoodCommands() {
    return {
        {"neighbourhoods", "neighbourhoods --game DIR        the neighbourhood list of a game folder",
         {}, neighbourhoods},
        {"sims", "sims --game DIR --neighbourhood FOLDER   the character files of a neighbourhood",
         {}, sims},
        {"find-games", "find-games                      every install of the game found on this machine",
         {}, findGames},
    };
}

}  // namespace drapeline::cli
