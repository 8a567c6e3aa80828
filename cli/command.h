#pragma once
// The command-line tool's commands. Each command parses its own arguments with the
// helpers below, prints JSON (or nothing) on `out`, and returns the exit code:
// 0 success, 1 failure (one line on `err`), 2 usage error.

#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace drapeline::cli {

// Thrown for wrong arguments; main prints the message and the usage hint, exit 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Thrown for a failure; main prints the message as one line, exit 1.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The arguments after the command name: options "--name VALUE", flags "--name" and
// positional arguments, in order.
class Arguments {
public:
    Arguments(std::vector<std::string> args, std::vector<std::string> flagNames);

    // The value of a required option; UsageError when missing.
    std::string required(const std::string& name) const;
    std::optional<std::string> option(const std::string& name) const;
    bool flag(const std::string& name) const;
    const std::vector<std::string>& positional() const { return positional_; }
    // UsageError unless there are between min and max positional arguments.
    void expectPositional(std::size_t min, std::size_t max) const;

private:
    std::vector<std::pair<std::string, std::string>> options_;
    std::vector<std::string> flags_;
    std::vector<std::string> positional_;
};

struct Command {
    const char* name;
    const char* synopsis;             // one line for --help
    std::vector<std::string> flags;   // option names that take no value
    int (*run)(const Arguments& args, std::ostream& out, std::ostream& err);
};

// Every command group registers its commands here (see commands_*.cpp).
const std::vector<Command>& allCommands();

// The program folder for commands that write there: --program-folder, then
// $DRAPELINE_HOME, then the editor's own rule.
std::string programFolderFor(const Arguments& args);

}  // namespace drapeline::cli
