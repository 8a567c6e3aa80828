#pragma once
// What the commands that open a sim share: the checked read, the refusal of a wardrobe
// that can not be shown, and the error trap turned into this command's failure.

#include <string>

#include "cli/command.h"
#include "core/errors.h"
#include "core/iff_file.h"

namespace drapeline::cli {

// The checked read; its error text is the failure.
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

    static Failure failure();
};

// The neighbourhood chooser of the commands that take --game and --neighbourhood.
std::string gameFolder(const Arguments& args);
// The folder named by --neighbourhood, only when the game folder lists it, so that a name
// can not lead elsewhere.
std::string chosenNeighbourhood(const Arguments& args, const std::string& game);

}  // namespace drapeline::cli
