// drapeline-cli: the editor's work without windows. JSON on stdout; exit 0 on success,
// 1 on a failure (one line on stderr), 2 on a usage error.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "core/errors.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include "core/native_path.h"
#endif

namespace {

void printHelp(std::ostream& out) {
    out << "Usage: drapeline-cli COMMAND [ARGUMENTS]\n\n"
           "Drapeline's wardrobe work for The Sims without windows. Results are JSON on\n"
           "standard output; exit status 0 on success, 1 on failure, 2 on a usage error.\n\n"
           "Commands:\n";
    for (const auto& command : drapeline::cli::allCommands())
        out << "  " << command.synopsis << "\n";
    out << "\nOptions for commands that write into the program folder:\n"
           "  --program-folder DIR   use DIR instead of $DRAPELINE_HOME or the default\n";
}

// The arguments after the program's name. On Windows they are taken from the wide command
// line: the narrow one spells a path in the ANSI code page, and Drapeline holds paths as UTF-8.
std::vector<std::string> argumentsOf(int argc, char** argv) {
#ifdef _WIN32
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        std::vector<std::string> args;
        for (int i = 1; i < count; ++i) args.push_back(drapeline::pathText(std::filesystem::path(wide[i])));
        LocalFree(wide);
        return args;
    }
#endif
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace drapeline::cli;
    std::vector<std::string> args = argumentsOf(argc, argv);
    if (args.empty()) {
        std::cerr << "drapeline-cli: no command given (try --help)\n";
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp(std::cout);
        return 0;
    }
    const std::string name = args[0];
    args.erase(args.begin());
    for (const auto& command : allCommands()) {
        if (name != command.name) continue;
        try {
            const Arguments parsed(args, command.flags);
            return command.run(parsed, std::cout, std::cerr);
        } catch (const UsageError& e) {
            std::cerr << "drapeline-cli " << name << ": " << e.what() << "\n"
                      << "usage: drapeline-cli " << command.synopsis << "\n";
            return 2;
        } catch (const Failure& e) {
            std::cerr << e.what() << "\n";
            return 1;
        } catch (const drapeline::RuntimeError& e) {
            std::cerr << e.textWithReason() << "\n";
            return 1;
        } catch (const std::exception& e) {
            std::cerr << "drapeline-cli " << name << ": " << e.what() << "\n";
            return 1;
        }
    }
    std::cerr << "drapeline-cli: unknown command '" << name << "' (try --help)\n";
    return 2;
}
