#pragma once
// Ensemble files: the complete dress of one sim (every outfit's mesh and texture, every
// hand texture) as 20 plain text lines in the ENX folder of the program folder, so that
// it can be put on another sim. Names only: nothing checks that they suit the sim.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "wardrobe/wardrobe_fields.h"

namespace drapeline::ensembles {

// The 20 lines in file order (normal, swimsuit, formal, pajamas, nude: mesh then texture;
// the hands formal, closed, open, point: left then right; winter mesh and texture last),
// each followed by CR LF. Nothing is trimmed or converted.
ByteText ensembleText(const wardrobe::WardrobeFields& f);

// Puts an ensemble file's lines into the fields of a sim whose file has `layout`. Lines
// end at CR LF or at a lone LF; a last line without a line end counts. 18 lines fill
// everything but winter; 20 or more fill all 20 fields (text after line 20 is ignored).
// A placeholder line (taken from a sim without that outfit) leaves a field that the
// layout holds as it is. Any other count, a used line that is no name (see nameProblem:
// too long, a separator, a control character), or an empty line where the save can not
// write an empty entry (see outfitGapProblem and handGapProblem) is refused: the problem
// names the line ("line 3 holds \",\", which no name may hold") and no field changes.
// Nothing on success.
std::optional<std::string> applyEnsemble(std::string_view content, wardrobe::WardrobeFields& f,
                                         wardrobe::WardrobeLayout layout);

// Reads the ensemble file at `path` (which the caller has made safe) into the fields as
// applyEnsemble does. Returns why it could not, with no field changed.
std::optional<std::string> loadEnsembleFile(const std::string& path, wardrobe::WardrobeFields& f,
                                            wardrobe::WardrobeLayout layout);

// programFolder/ENX (an existing folder spelt in another letter case is found).
std::string ensembleFolder(const std::string& programFolder);

// Names of the files matching "*.enx" in the ensemble folder, any letter case.
std::vector<std::string> listEnsembleFiles(const std::string& programFolder);

// `name` + ".ENX" unless its last four characters, upper-cased, are already ".ENX".
std::string withEnxExtension(const std::string& name);

// The message to show for a name that could lead outside the ensemble folder or stand
// for several files: one holding "/", "\", "..", ":", "*", "?" or a control character.
// Nothing for a safe name (empty names are the callers' business).
std::optional<std::string> unsafeNameProblem(const std::string& name);

}  // namespace drapeline::ensembles
