#pragma once
// The program's name and version as it shows them.

#include <string>

namespace drapeline {

inline constexpr int VersionMajor = 2;
inline constexpr int VersionMinor = 5;
inline constexpr int VersionRevision = 1;
inline constexpr char ProgramTitle[] = "Drapeline";

// "2.5.1"
inline std::string versionText() {
    return std::to_string(VersionMajor) + "." + std::to_string(VersionMinor) + "." +
           std::to_string(VersionRevision);
}

// "Drapeline - Version 2.5.1", the title window's caption.
inline std::string titleCaption() {
    return std::string(ProgramTitle) + " - Version " + versionText();
}

}  // namespace drapeline
