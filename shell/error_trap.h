#pragma once
// The one error trap: every guarded procedure that fails ends here. It writes
// errorlog.txt into the program folder, tells the user that the program can not recover,
// and ends the program.

#include <functional>
#include <string>

#include "core/errors.h"
#include "platform/services.h"

namespace drapeline::errortrap {

// The report shown to the user, lines joined by CR LF, without a final line break.
std::string reportText(const ErrorContext& context);

// The report shown when errorlog.txt could not be written: where it would have been, and
// the system's reason when there is one, instead of the request to send it.
std::string reportWithoutLogText(const ErrorContext& context, const std::string& logPath,
                                 const std::string& reason);

// The whole content of errorlog.txt.
ByteText errorLogText(const ErrorContext& context, const std::string& programFolder);

// Writes the log, shows "Unrecoverable Error" and calls `endProgram`, which must not
// return. A log that can not be written does not keep the report from the user; the
// report then says so instead of asking for the log.
[[noreturn]] void reportAndEnd(platform::Services& services,
                            const std::function<void()>& endProgram);

// Makes reportAndEnd the trap that guarded procedures raise.
void installErrorTrap(platform::Services& services, std::function<void()> endProgram);

}  // namespace drapeline::errortrap
