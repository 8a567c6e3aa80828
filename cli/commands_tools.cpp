// The neighbourhood tools: the two repairs and the skin-name export. The command line is
// the user's confirmation, so no question is asked.

#include <ostream>

#include "cli/command.h"
#include "cli/json.h"
#include "cli/sim_access.h"
#include "neighbourhood/listing.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "tools/neighbourhood_tools.h"

namespace drapeline::cli {

namespace {

struct Neighbourhood {
    std::string characterFolder;
    std::vector<std::string> simFiles;
};

Neighbourhood neighbourhoodOf(const Arguments& args) {
    args.expectPositional(0, 0);
    const std::string game = gameFolder(args);
    const std::string folder = chosenNeighbourhood(args, game);
    return {neighbourhood::characterFolder(game, folder), neighbourhood::listSimFiles(game, folder)};
}

void skippedJson(JsonWriter& json, const std::vector<tools::Skipped>& skipped) {
    json.key("skipped").beginArray();
    for (const auto& s : skipped)
        json.beginObject().key("file").path(s.file).key("reason").value(s.reason).endObject();
    json.endArray();
}

void namesJson(JsonWriter& json, const char* key, const std::vector<std::string>& names) {
    json.key(key).beginArray();
    for (const auto& name : names) json.path(name);
    json.endArray();
}

using Repair = tools::BatchReport (*)(const std::string&, const std::vector<std::string>&,
                                      const std::string&, const tools::RepairOptions&);

int runRepair(Repair repair, const Arguments& args, std::ostream& out, std::ostream& err) {
    const Neighbourhood n = neighbourhoodOf(args);
    const platform::SystemClock clock;
    tools::RepairOptions options;
    options.dryRun = args.flag("dry-run");
    if (args.flag("backup") && !options.dryRun) options.backupClock = &clock;
    // A dry run writes nothing, not even the program folder.
    const std::string programFolder =
        options.dryRun ? programFolderFor(args) : writableProgramFolder(args);
    const tools::BatchReport report = repair(n.characterFolder, n.simFiles, programFolder, options);
    JsonWriter json;
    json.beginObject().key("examined").value(report.examined);
    namesJson(json, "rewritten", report.rewritten);
    namesJson(json, "changed", report.changed);
    skippedJson(json, report.skipped);
    namesJson(json, "backups", report.backups);
    out << json.endObject().str() << "\n";
    // Files only skipped as unreadable are the neighbourhood's state; a failed write is ours.
    if (report.unwritten == 0) return 0;
    err << report.unwritten << (report.unwritten == 1 ? " file" : " files")
        << " could not be written; see \"skipped\"\n";
    return 1;
}

int fixFit(const Arguments& args, std::ostream& out, std::ostream& err) {
    return runRepair(tools::fixFitToSkinny, args, out, err);
}

int pinkHands(const Arguments& args, std::ostream& out, std::ostream& err) {
    return runRepair(tools::removePinkGorillaHands, args, out, err);
}

int exportSkins(const Arguments& args, std::ostream& out, std::ostream&) {
    const Neighbourhood n = neighbourhoodOf(args);
    const tools::ExportReport report =
        tools::exportSkinNames(n.characterFolder, n.simFiles, writableProgramFolder(args));
    JsonWriter json;
    json.beginObject();
    for (const auto& [key, path] : {std::pair{"head", &report.headPath}, std::pair{"body", &report.bodyPath}}) {
        json.key(key);
        if (path->empty())
            json.null();
        else
            json.path(*path);
    }
    json.key("exported").value(report.exported);
    skippedJson(json, report.skipped);
    out << json.endObject().str() << "\n";
    return 0;
}

}  // namespace

std::vector<Command> toolCommands() {
    return {
        {"fix-fit",
         "fix-fit --game DIR --neighbourhood FOLDER [--dry-run] [--backup]  give every adult's formal, "
         "swimsuit and pajamas the normal outfit's body type",
         {"dry-run", "backup"}, fixFit},
        {"pink-hands",
         "pink-hands --game DIR --neighbourhood FOLDER [--dry-run] [--backup]  remove the pink gorilla "
         "formal hands",
         {"dry-run", "backup"}, pinkHands},
        {"export-skins",
         "export-skins --game DIR --neighbourhood FOLDER  write headskins.txt and bodyskins.txt into "
         "the program folder",
         {}, exportSkins},
    };
}

}  // namespace drapeline::cli
