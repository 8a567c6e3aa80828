// Commands on ensemble files: take a sim's dress into one, and put one on a sim and save
// it as the edit window's Load and Save buttons do.

#include <ostream>

#include "cli/cli_services.h"
#include "cli/command.h"
#include "cli/json.h"
#include "cli/sim_access.h"
#include "core/string_set.h"
#include "ensembles/ensemble_file.h"
#include "platform/files.h"
#include "wardrobe/edit_sim_model.h"
#include "wardrobe/sim_file.h"

namespace drapeline::cli {

namespace {

int ensembleSave(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(2, 2);
    const std::string& path = args.positional()[0];
    const std::string& target = args.positional()[1];
    const IffFile iff = readChecked(path);
    refuseUnshowable(iff, path);
    const StringSet set = strings::decode(strings::findStringChunk(iff, WardrobeIdField, false)->data);
    replaceOrFail(target, ensembles::ensembleText(wardrobe::readFields(iff, set)));
    out << JsonWriter().beginObject().key("saved").path(target).endObject().str() << "\n";
    return 0;
}

int ensembleApply(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(2, 2);
    const std::string& path = args.positional()[0];
    const std::string& ensemble = args.positional()[1];

    out << changeAndSave(path, writableProgramFolder(args), args.flag("backup"), [&](OpenSim& sim) {
        wardrobe::WardrobeFields fields = sim.model().fields();
        if (auto problem = ensembles::loadEnsembleFile(ensemble, fields, sim.model().layout()))
            throw Failure("The ensemble file " + ensemble + " can not be loaded: " + *problem + ". " +
                          platform::fileNameOf(path) + " has not been changed.");
        sim.model().changeFields([&](wardrobe::WardrobeFields& into) { into = std::move(fields); });
    }) << "\n";
    return 0;
}

}  // namespace

std::vector<Command> ensembleCommands() {
    return {
        {"ensemble-save", "ensemble-save FILE OUT           write a sim's outfits and hands as an ensemble file",
         {}, ensembleSave},
        {"ensemble-apply",
         "ensemble-apply FILE ENX [--backup]  put an ensemble on a sim and save it as the edit window does",
         {"backup"}, ensembleApply},
    };
}

}  // namespace drapeline::cli
