#pragma once
// What the commands that open a sim share: the checked read, the refusal of a wardrobe
// that can not be shown, and the error trap turned into this command's failure.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_services.h"
#include "cli/command.h"
#include "core/errors.h"
#include "core/iff_file.h"
#include "platform/file_lock.h"
#include "wardrobe/edit_sim_model.h"

namespace drapeline::cli {

// Replaces `target` as a save does (whole or not at all); a failure names the file and
// gives the system's reason.
void replaceOrFail(const std::string& target, const ByteText& bytes);

// The checked read; the path and its error text are the failure.
IffFile readChecked(const std::string& path);

// Failure naming the file and the problem when the edit window would refuse the sim.
void refuseUnshowable(const IffFile& iff, const std::string& path);

// A trapped error ends this command, not the process, and is reported as its one line.
class TrapEndsCommand {
public:
    TrapEndsCommand();
    ~TrapEndsCommand();
    TrapEndsCommand(const TrapEndsCommand&) = delete;
    TrapEndsCommand& operator=(const TrapEndsCommand&) = delete;

    // "PATH: Error N - description (module.procedure, location L)"
    static Failure failure(const std::string& path);
};

// The program folder of a command that writes there, created when missing.
std::string writableProgramFolder(const Arguments& args);

// A sim opened as the edit window opens it, with the command line's own services (no
// previews are looked up). Every failure is a Failure naming the file, never the trap's end.
class OpenSim {
public:
    // With `lock`, the file stays locked from the read to the end (see changeAndSave).
    OpenSim(const std::string& path, const std::string& programFolder, bool lock = false);
    OpenSim(const OpenSim&) = delete;
    OpenSim& operator=(const OpenSim&) = delete;

    wardrobe::EditSimModel& model() { return model_; }
    // Saves as the edit window's Save does, the question answered Yes. False when the file
    // is no longer what was read (nothing was written then).
    bool save(bool backup);
    // {"saved": path, "backup": path or null, "notStored": ["Pajamas", ...]}, and
    // "notInstalled": [key, ...] when the names were looked up.
    std::string savedReport(const std::optional<std::vector<std::string>>& notInstalled = std::nullopt) const;

private:
    std::string path_;
    std::optional<platform::FileLock> lock_;
    CliMachine machine_;
    shell::GameSession session_;   // no game folder: no previews
    wardrobe::EditSimModel model_;
};

// Opens the sim with its file locked, lets `change` change the fields and saves as the edit
// window does; returns the saved report. A program that does not lock files (the game) may
// still write between the read and the write: the sim is then read again and `change`
// applied once more, and a file that keeps changing is refused, nothing written.
std::string changeAndSave(const std::string& path, const std::string& programFolder, bool backup,
                          const std::function<void(OpenSim&)>& change,
                          const std::optional<std::vector<std::string>>& notInstalled = std::nullopt);

// The neighbourhood chooser of the commands that take --game and --neighbourhood.
std::string gameFolder(const Arguments& args);
// The folder named by --neighbourhood, only when the game folder lists it, so that a name
// can not lead elsewhere.
std::string chosenNeighbourhood(const Arguments& args, const std::string& game);

}  // namespace drapeline::cli
