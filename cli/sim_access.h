#pragma once
// What the commands that open a sim share: the checked read, the refusal of a wardrobe
// that can not be shown, and the error trap turned into this command's failure.

#include <optional>
#include <string>
#include <vector>

#include "cli/cli_services.h"
#include "cli/command.h"
#include "core/errors.h"
#include "core/iff_file.h"
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
    OpenSim(const std::string& path, const std::string& programFolder);
    OpenSim(const OpenSim&) = delete;
    OpenSim& operator=(const OpenSim&) = delete;

    wardrobe::EditSimModel& model() { return model_; }
    // Saves as the edit window's Save does, the question answered Yes.
    void save(bool backup);
    // {"saved": path, "backup": path or null, "notStored": ["Pajamas", ...]}, and
    // "notInstalled": [key, ...] when the names were looked up.
    std::string savedReport(const std::optional<std::vector<std::string>>& notInstalled = std::nullopt) const;

private:
    std::string path_;
    CliMachine machine_;
    shell::GameSession session_;   // no game folder: no previews
    wardrobe::EditSimModel model_;
};

// The neighbourhood chooser of the commands that take --game and --neighbourhood.
std::string gameFolder(const Arguments& args);
// The folder named by --neighbourhood, only when the game folder lists it, so that a name
// can not lead elsewhere.
std::string chosenNeighbourhood(const Arguments& args, const std::string& game);

}  // namespace drapeline::cli
