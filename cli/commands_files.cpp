// Commands on single character files: check, rewrite, info, strings, export-bitmaps.

#include "cli/command.h"

namespace drapeline::cli {

std::vector<Command> fileCommands() {
    return {};
}

}  // namespace drapeline::cli
