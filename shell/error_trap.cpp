#include "shell/error_trap.h"

#include <cstdlib>
#include <utility>

#include "shell/version.h"
#include "core/file_io.h"
#include "platform/files.h"

namespace drapeline::errortrap {

namespace {
constexpr char CrLf[] = "\r\n";
}

namespace {

std::string reportHead(const ErrorContext& c) {
    std::string text;
    text += "Error: " + std::to_string(c.number) + CrLf;
    text += c.description + CrLf;
    text += CrLf;
    text += "Module: " + c.module + CrLf;
    text += "Procedure: " + c.procedure + CrLf;
    text += "Location: " + std::to_string(c.stage) + CrLf;
    text += CrLf;
    text += std::string("The program can not recover from this error.") + CrLf;
    text += CrLf;
    return text;
}

}  // namespace

std::string reportText(const ErrorContext& c) {
    return reportHead(c) + "Please e-mail the file errorlog.txt to the support e-mail address.";
}

std::string reportWithoutLogText(const ErrorContext& c, const std::string& logPath,
                                 const std::string& reason) {
    return reportHead(c) + "The error log could not be written to " + logPath +
           (reason.empty() ? std::string() : " (" + reason + ")") + ".";
}

ByteText errorLogText(const ErrorContext& context, const std::string& programFolder) {
    ByteText log;
    log += std::string(ProgramTitle) + CrLf;
    log += "Version " + versionText() + CrLf;
    log += std::string(" ") + CrLf;
    log += "Install Path: " + programFolder + CrLf;
    log += std::string(" ") + CrLf;
    log += reportText(context) + CrLf;
    return log;
}

void reportAndEnd(platform::Services& services, const std::function<void()>& endProgram) {
    const ErrorContext context = errorContext();
    const std::string logPath = platform::joinPath(services.programFolder, "errorlog.txt");
    std::string report = reportText(context);
    try {
        platform::writeFile(logPath, errorLogText(context, services.programFolder));
    } catch (const RuntimeError& e) {
        // The user still has to learn what happened, and is not sent after a file that is
        // not there.
        report = reportWithoutLogText(context, logPath, e.systemReason());
    } catch (...) {
        report = reportWithoutLogText(context, logPath, {});
    }
    try {
        services.dialogs.critical(report, "Unrecoverable Error");
    } catch (...) {
    }
    endProgram();
    std::abort();
}

void installErrorTrap(platform::Services& services, std::function<void()> endProgram) {
    setErrorTrapHandler([&services, end = std::move(endProgram)] { reportAndEnd(services, end); });
}

}  // namespace drapeline::errortrap
