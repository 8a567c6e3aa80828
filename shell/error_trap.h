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

// The whole content of errorlog.txt.
ByteText errorLogText(const ErrorContext& context, const std::string& programFolder);

// Writes the log, shows "Unrecoverable Error" and calls `endProgram`, which must not
// return. A log that can not be written does not keep the report from the user.
[[noreturn]] void reportAndEnd(platform::Services& services,
                            const std::function<void()>& endProgram);

// Makes reportAndEnd the trap that guarded procedures raise.
void installErrorTrap(platform::Services& services, std::function<void()> endProgram);

}  // namespace drapeline::errortrap
