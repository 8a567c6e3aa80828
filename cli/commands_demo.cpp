// The demo game: a complete game folder made by our own code, for trying the editor
// without the game.

#include <ostream>

#include "cli/command.h"
#include "cli/json.h"
#include "demo/demo_game.h"

namespace drapeline::cli {

namespace {

int demoCommand(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(1, 1);
    demo::DemoSummary summary;
    try {
        summary = demo::createDemoGame(args.positional()[0]);
    } catch (const demo::DemoFolderError& e) {
        throw Failure(e.what());
    }
    JsonWriter json;
    json.beginObject()
        .key("game").path(summary.game)
        .key("sims").value(summary.sims)
        .key("skins").value(summary.skins)
        .key("created").value(summary.created)
        .endObject();
    out << json.str() << "\n";
    return 0;
}

}  // namespace

std::vector<Command> demoCommands() {
    return {
        {"demo",
         "demo DIR                         create a demo game in DIR (empty or new; a demo game there is kept)",
         {}, demoCommand},
    };
}

}  // namespace drapeline::cli
