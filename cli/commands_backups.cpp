// The way back from a save, a repair or a restore: list the backups and put one in place
// of its character file, as the restore window does.

#include <ostream>

#include "cli/command.h"
#include "cli/json.h"
#include "cli/sim_access.h"
#include "platform/clock.h"
#include "platform/file_lock.h"
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
    auto backups = tools::listBackups(programFolderFor(args));
    if (sim) backups = tools::backupsOf(std::move(backups), *sim);
    JsonWriter json;
    json.beginArray();
    for (const auto& b : backups) {
        json.beginObject()
            .key("backup").path(b.path)
            .key("file").value(b.characterFileName())
            .key("sim").value(b.simPart)
            .key("name").value(b.simName())
            .key("neighbourhood").path(b.neighbourhood)
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
    if (!prepared.otherSim.empty() && !args.flag("force"))
        throw Failure("The backup " + backup + " can not be restored: " + prepared.otherSim +
                      " Nothing has been changed; --force puts it in place all the same.");
    const platform::SystemClock clock;
    std::string taken;
    try {
        taken = tools::completeRestore(prepared, writableProgramFolder(args), clock);
    } catch (const platform::FileBusy& e) {
        throw Failure(tools::refusalMessage(backup, e.what()));
    } catch (const wardrobe::CharacterFileChanged& e) {
        throw Failure(tools::refusalMessage(backup, e.what()));
    }
    out << JsonWriter()
               .beginObject()
               .key("restored").path(prepared.characterPath)
               .key("from").path(backup)
               .key("backup").path(taken)
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
        {"restore", "restore BACKUP --game DIR [--force]  put a backup in place of its character file, "
                    "backing up the file as it is first (--force: even when the file now holds "
                    "another sim)",
         {"force"}, restoreBackup},
    };
}

}  // namespace drapeline::cli
