#pragma once
// The program folder receives errorlog.txt, usertemp.iff, the exported bitmaps, Backup,
// ENX and the skin-name exports: $DRAPELINE_HOME when set; otherwise the folder of the
// executable when it is writable (a portable install); otherwise the per-user data folder
// (~/.local/share/Drapeline on Linux, %LOCALAPPDATA%\Drapeline on Windows).

#include <string>

namespace drapeline::platform {

// The folder of the running executable, without a trailing separator.
std::string executableFolder();

// Decides the program folder and creates it when missing. No trailing separator.
std::string findProgramFolder();

}  // namespace drapeline::platform
