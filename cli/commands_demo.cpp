#include "cli/command.h"

namespace drapeline::cli {

std::vector<Command> demoCommands() {
    return {};
}

}  // namespace drapeline::cli
