#include "cli/sim_access.h"

#include "cli/json.h"
#include "neighbourhood/listing.h"
#include "platform/files.h"
#include "wardrobe/sim_file.h"

namespace drapeline::cli {

IffFile readChecked(const std::string& path) {
    IffFile iff;
    const std::string error = iff::readIffChecked(iff, path);
    if (!error.empty()) throw Failure(path + ": " + error);
    return iff;
}

void replaceOrFail(const std::string& target, const ByteText& bytes) {
    try {
        platform::replaceFileAtomically(target, bytes);
    } catch (const RuntimeError& e) {
        throw Failure(target + ": " + e.textWithReason());
    }
}

void refuseUnshowable(const IffFile& iff, const std::string& path) {
    if (auto problem = wardrobe::wardrobeProblem(iff))
        throw Failure(wardrobe::unshowableMessage(platform::fileNameOf(path), *problem));
}

TrapEndsCommand::TrapEndsCommand() {
    setErrorTrapHandler([] { throw ProgramEnded{}; });
}

TrapEndsCommand::~TrapEndsCommand() { setErrorTrapHandler(nullptr); }

Failure TrapEndsCommand::failure(const std::string& path) {
    const ErrorContext& c = errorContext();
    return Failure(path + ": Error " + std::to_string(c.number) + " - " + c.description + " (" +
                   c.module + "." + c.procedure + ", location " +
                   std::to_string(c.stage) + ")");
}

std::string writableProgramFolder(const Arguments& args) {
    const std::string folder = programFolderFor(args);
    if (!platform::createFolder(folder)) throw Failure("can not create the program folder " + folder);
    return folder;
}

OpenSim::OpenSim(const std::string& path, const std::string& programFolder, bool lock)
    : path_(path), machine_(programFolder), model_(machine_.services, session_) {
    if (lock) {
        try {
            lock_.emplace(platform::linkTarget(path));
        } catch (const platform::FileBusy& busy) {
            throw Failure(std::string(busy.what()) + "; nothing was saved");
        } catch (const RuntimeError&) {
            // A file that can not be locked (missing, unreadable) is reported by the read.
        }
    }
    IffFile iff;
    ByteText bytes;
    if (const std::string error = iff::readChecked(iff, path, bytes); !error.empty())
        throw Failure(path + ": " + error);
    const TrapEndsCommand trap;
    try {
        if (!model_.openRead(path, std::move(iff), identityOf(bytes)))
            throw Failure(wardrobe::unshowableMessage(platform::fileNameOf(path), model_.problem()));
    } catch (const ProgramEnded&) {
        throw TrapEndsCommand::failure(path_);
    }
}

bool OpenSim::save(bool backup) {
    using Outcome = wardrobe::EditSimModel::SaveOutcome;
    const TrapEndsCommand trap;
    try {
        switch (model_.save(backup)) {
        case Outcome::Saved: return true;
        case Outcome::ChangedOnDisk: return false;
        case Outcome::Busy: throw Failure(path_ + " is in use by another program; nothing was saved");
        default: {
            // A save stopped with a message (a backup that could not be written) fails with it.
            const auto& shown = machine_.dialogs.shown;
            if (!shown.empty() && shown.back().icon == platform::MessageIcon::Exclamation)
                throw Failure(shown.back().text);
            throw Failure(platform::fileNameOf(path_) + " has no display name; nothing was saved");
        }
        }
    } catch (const ProgramEnded&) {
        throw TrapEndsCommand::failure(path_);
    }
}

std::string changeAndSave(const std::string& path, const std::string& programFolder, bool backup,
                          const std::function<void(OpenSim&)>& change,
                          const std::optional<std::vector<std::string>>& notInstalled) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        OpenSim sim(path, programFolder, true);
        change(sim);
        if (sim.save(backup)) return sim.savedReport(notInstalled);
    }
    throw Failure(path + " keeps being changed by another program (perhaps the game); nothing was saved");
}

std::string OpenSim::savedReport(const std::optional<std::vector<std::string>>& notInstalled) const {
    JsonWriter json;
    json.beginObject().key("saved").path(path_).key("backup");
    if (model_.lastBackup().empty()) json.null();
    else json.path(model_.lastBackup());
    // What was not stored, as the saved message names it.
    json.key("notStored").beginArray();
    for (const auto& name : model_.notStored()) json.value(name);
    json.endArray();
    if (notInstalled) {
        json.key("notInstalled").beginArray();
        for (const auto& key : *notInstalled) json.value(key);
        json.endArray();
    }
    return json.endObject().str();
}

std::string gameFolder(const Arguments& args) {
    std::string game = args.required("game");
    if (!platform::folderExists(game)) throw Failure("game folder not found: " + game);
    return game;
}

std::string chosenNeighbourhood(const Arguments& args, const std::string& game) {
    const std::string wanted = args.required("neighbourhood");
    std::string folder;
    for (const auto& name : neighbourhood::listNeighbourhoodFolders(game))
        if (name == wanted || (folder.empty() && platform::equalIgnoringCase(name, wanted)))
            folder = name;
    if (folder.empty() || !neighbourhood::isPlainName(folder))
        throw Failure("no neighbourhood " + wanted + " in " + game);
    return folder;
}

}  // namespace drapeline::cli
