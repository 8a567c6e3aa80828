// The wardrobe overview without a window: the audit of one or every neighbourhood, batch
// changes over chosen sims, and their undo. The command line is the user's confirmation.

#include <algorithm>
#include <ostream>

#include "audit/audit_export.h"
#include "audit/audit_rules.h"
#include "audit/batch.h"
#include "cli/command.h"
#include "cli/json.h"
#include "cli/sim_access.h"
#include "neighbourhood/listing.h"
#include "platform/clock.h"
#include "platform/files.h"

namespace drapeline::cli {

namespace {

int auditCommand(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(0, 0);
    const std::string game = gameFolder(args);
    const std::string format = args.option("format").value_or("json");
    if (format != "json" && format != "csv") throw UsageError("--format is json or csv, not " + format);
    std::vector<std::string> folders;
    if (args.option("neighbourhood")) folders.push_back(chosenNeighbourhood(args, game));
    else
        for (const auto& name : neighbourhood::listNeighbourhoodFolders(game))
            if (neighbourhood::isPlainName(name) && platform::folderExists(platform::joinPath(game, name)))
                folders.push_back(name);
    std::vector<audit::SimRow> rows;
    for (const auto& folder : folders) {
        auto more = audit::auditNeighbourhood(game, folder);
        std::move(more.begin(), more.end(), std::back_inserter(rows));
    }
    out << (format == "csv" ? audit::rowsCsv(rows) : audit::rowsJson(rows));
    return 0;
}

std::vector<std::string> split(const std::string& list) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (from <= list.size()) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        if (comma > from) parts.push_back(list.substr(from, comma - from));
        from = comma + 1;
    }
    return parts;
}

// The sims a batch works on, each a file of the neighbourhood's listing.
std::vector<std::string> chosenSims(const Arguments& args, const std::string& game, const std::string& folder) {
    const std::vector<std::string> listed = neighbourhood::listSimFiles(game, folder);
    const int ways = (args.option("sims") ? 1 : 0) + (args.flag("all") ? 1 : 0) + (args.option("problem") ? 1 : 0);
    if (ways != 1) throw UsageError("give exactly one of --sims FILE,FILE, --all and --problem KIND");
    if (args.flag("all")) return listed;
    if (const auto kindName = args.option("problem")) {
        const auto kind = audit::kindFromId(*kindName);
        if (!kind) throw UsageError("unknown problem " + *kindName);
        std::vector<std::string> sims;
        for (const auto& row : audit::auditNeighbourhood(game, folder))
            if (row.has(*kind)) sims.push_back(row.file);
        return sims;
    }
    std::vector<std::string> sims;
    for (const auto& wanted : split(*args.option("sims"))) {
        const auto found = std::find_if(listed.begin(), listed.end(),
                                        [&](const std::string& f) { return platform::equalIgnoringCase(f, wanted); });
        if (found == listed.end()) throw Failure("no character file " + wanted + " in " + folder);
        sims.push_back(*found);
    }
    return sims;
}

void skippedJson(JsonWriter& json, const char* key, const std::vector<tools::Skipped>& list) {
    json.key(key).beginArray();
    for (const auto& s : list) json.beginObject().key("file").path(s.file).key("reason").value(s.reason).endObject();
    json.endArray();
}

void pathsJson(JsonWriter& json, const char* key, const std::vector<std::string>& list) {
    json.key(key).beginArray();
    for (const auto& p : list) json.path(p);
    json.endArray();
}

int batchCommand(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(1, 2);
    audit::BatchAction action;
    const auto& pos = args.positional();
    if (auto why = audit::parseAction(pos[0], pos.size() > 1 ? pos[1] : std::string(), action)) throw UsageError(*why);
    const std::string game = gameFolder(args);
    const std::string folder = chosenNeighbourhood(args, game);
    const std::vector<std::string> sims = chosenSims(args, game, folder);
    const platform::SystemClock clock;
    const audit::BatchResult result =
        audit::runBatchChange({game, folder, writableProgramFolder(args)}, sims, action, clock);
    JsonWriter json;
    json.beginObject().key("batch");
    if (result.id.empty()) json.null();
    else json.value(result.id);
    json.key("action").value(result.action);
    pathsJson(json, "changed", result.changed);
    pathsJson(json, "unchanged", result.unchanged);
    skippedJson(json, "refused", result.refused);
    skippedJson(json, "notes", result.notes);
    pathsJson(json, "backups", result.backups);
    out << json.endObject().str() << "\n";
    return 0;
}

int undoBatchCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
    args.expectPositional(1, 1);
    const std::string programFolder = writableProgramFolder(args);
    const auto record = audit::findBatch(programFolder, args.positional()[0]);
    if (!record) throw Failure("no batch " + args.positional()[0] + " in " + programFolder);
    if (record->undone) throw Failure("the batch " + record->id + " has been undone already");
    const platform::SystemClock clock;
    const audit::UndoResult result = audit::undoBatch(*record, programFolder, clock);
    JsonWriter json;
    json.beginObject().key("batch").value(record->id);
    pathsJson(json, "restored", result.restored);
    skippedJson(json, "refused", result.refused);
    out << json.endObject().str() << "\n";
    if (result.refused.empty()) return 0;
    err << result.refused.size() << (result.refused.size() == 1 ? " file was" : " files were")
        << " not put back; see \"refused\"\n";
    return 1;
}

int batchesCommand(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(0, 0);
    JsonWriter json;
    json.beginArray();
    for (const auto& r : audit::listBatches(programFolderFor(args))) {
        json.beginObject().key("batch").value(r.id).key("time").value(r.time).key("action").value(r.action);
        json.key("neighbourhood").path(r.neighbourhood).key("files").value(static_cast<int>(r.files.size()));
        json.key("undone").value(r.undone).endObject();
    }
    out << json.endArray().str() << "\n";
    return 0;
}

}  // namespace

std::vector<Command> auditCommands() {
    return {
        {"audit",
         "audit --game DIR [--neighbourhood FOLDER] [--format json|csv]  every sim's outfits and hands with "
         "their problems (missing skins, other skin tone or body type, pink hands, unreadable files)",
         {}, auditCommand},
        {"batch",
         "batch --game DIR --neighbourhood FOLDER --sims FILE,FILE|--all|--problem KIND ACTION [ARG]  change "
         "many sims at once (ACTION: ensemble FILE, default KIND, fix-fit, pink-hands, match-tone), "
         "backing up each changed file",
         {"all"}, batchCommand},
        {"undo-batch", "undo-batch ID|last  put back every file of a batch that has not changed since", {},
         undoBatchCommand},
        {"batches", "batches  the batch records in the Backup folder, newest first", {}, batchesCommand},
    };
}

}  // namespace drapeline::cli
