// The way back from a save, a repair or a restore: list the backups and put one in place
// of its character file, as the restore window does.

#include <ostream>

#include "cli/command.h"
#include "cli/json.h"
#include "cli/sim_access.h"
#include "platform/clock.h"
#include "tools/backups.h"

namespace drapeline::cli {

namespace {

// "2002-03-30T14:05:07", local time as the backup's name holds it.
std::string isoTime(const platform::LocalTime& t) {
    std::string text = tools::timeText(t);
    text[10] = 'T';
    return text;
}

int listBackups(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(0, 0);
    const auto sim = args.option("sim");
    JsonWriter json;
    json.beginArray();
    for (const auto& b : tools::listBackups(programFolderFor(args))) {
        if (sim && !tools::isBackupOf(b, *sim)) continue;
        json.beginObject()
            .key("backup").value(b.path)
            .key("file").value(b.characterFileName())
            .key("sim").value(b.simPart)
            .key("neighbourhood").value(b.neighbourhood)
            .key("time").value(isoTime(b.time))
            .endObject();
    }
    out << json.endArray().str() << "\n";
    return 0;
}

int restoreBackup(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(1, 1);
    const std::string& backup = args.positional()[0];
    const std::string game = gameFolder(args);
    const tools::PreparedRestore prepared = tools::prepareRestore(backup, game);
    if (!prepared.problem.empty()) throw Failure(tools::refusalMessage(backup, prepared.problem));
    const platform::SystemClock clock;
    const std::string taken = tools::completeRestore(prepared, writableProgramFolder(args), clock);
    out << JsonWriter()
               .beginObject()
               .key("restored").value(prepared.characterPath)
               .key("from").value(backup)
               .key("backup").value(taken)
               .endObject()
               .str()
        << "\n";
    return 0;
}

}  // namespace

std::vector<Command> backupCommands() {
    return {
        {"backups", "backups [--sim FILE]             the backups in the program folder, newest first "
                    "(with --sim: only those of that character file)",
         {}, listBackups},
        {"restore", "restore BACKUP --game DIR        put a backup in place of its character file, "
                    "backing up the file as it is first",
         {}, restoreBackup},
    };
}

}  // namespace drapeline::cli
