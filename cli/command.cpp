#include "cli/command.h"

#include <algorithm>
#include <cstdlib>

#include "platform/program_folder.h"

namespace drapeline::cli {

// Command groups, one file each.
std::vector<Command> neighbourhoodCommands();
std::vector<Command> fileCommands();
std::vector<Command> wardrobeCommands();
std::vector<Command> skinCommands();
std::vector<Command> demoCommands();
std::vector<Command> ensembleCommands();
std::vector<Command> toolCommands();
std::vector<Command> backupCommands();
std::vector<Command> modelCommands();
std::vector<Command> renderCommands();
std::vector<Command> auditCommands();

const std::vector<Command>& allCommands() {
    static const std::vector<Command> commands = [] {
        std::vector<Command> all;
        for (auto group : {neighbourhoodCommands, fileCommands, wardrobeCommands, skinCommands,
                           ensembleCommands, toolCommands, auditCommands, backupCommands, modelCommands, renderCommands,
                           demoCommands}) {
            auto more = group();
            all.insert(all.end(), more.begin(), more.end());
        }
        return all;
    }();
    return commands;
}

Arguments::Arguments(std::vector<std::string> args, std::vector<std::string> flagNames) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            const std::string name = a.substr(2);
            if (std::find(flagNames.begin(), flagNames.end(), name) != flagNames.end()) {
                flags_.push_back(name);
            } else if (i + 1 < args.size()) {
                if (args[i + 1].empty()) throw UsageError("option --" + name + " needs a value, not an empty text");
                options_.emplace_back(name, args[++i]);
            } else {
                throw UsageError("option --" + name + " needs a value");
            }
        } else if (a.empty()) {
            // An empty path would quietly mean the current folder.
            throw UsageError("argument " + std::to_string(positional_.size() + 1) +
                             " is empty; give a file or folder name");
        } else {
            positional_.push_back(a);
        }
    }
}

std::optional<std::string> Arguments::option(const std::string& name) const {
    for (const auto& [key, value] : options_)
        if (key == name) return value;
    return std::nullopt;
}

std::string Arguments::required(const std::string& name) const {
    if (auto value = option(name)) return *value;
    throw UsageError("missing --" + name);
}

bool Arguments::flag(const std::string& name) const {
    return std::find(flags_.begin(), flags_.end(), name) != flags_.end();
}

void Arguments::expectPositional(std::size_t min, std::size_t max) const {
    if (positional_.size() < min || positional_.size() > max)
        throw UsageError("wrong number of arguments");
}

std::string programFolderFor(const Arguments& args) {
    if (auto folder = args.option("program-folder")) return *folder;
    return platform::findProgramFolder();
}

}  // namespace drapeline::cli
