#include "cli/command.h"
namespace drapeline::cli {
std::vector<Command> neighbourhoodCommands() { return {}; }
}  // namespace drapeline::cli
