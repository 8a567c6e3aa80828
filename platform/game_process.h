#pragma once
// Whether the game is running. The game rewrites every character file of a household when
// it saves, so a player editing with the game open should know it; nothing is refused
// because of it.

#include <string>

namespace drapeline::platform {

// True when a process of "Sims.exe" runs: on Linux any process below /proc whose command
// line names it (Wine and Proton show the Windows program's path there), on Windows the
// process list.
bool gameIsRunning();

// The Linux test below `procRoot` (a folder of numbered process folders, each with its
// "cmdline"): the first few arguments of each are looked at for a file named Sims.exe in
// any letter case, after either kind of separator.
bool gameProcessUnder(const std::string& procRoot);

}  // namespace drapeline::platform
