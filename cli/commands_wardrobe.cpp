#include "cli/command.h"

namespace drapeline::cli {

std::vector<Command> wardrobeCommands() {
    return {};
}

}  // namespace drapeline::cli
