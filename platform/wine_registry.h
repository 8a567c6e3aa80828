#pragma once
// The registry of a Wine prefix, read from its system.reg text file, with Windows paths
// mapped into the prefix (C:\... -> <prefix>/drive_c/..., other drive letters through
// <prefix>/dosdevices).

#include <optional>
#include <string>

#include "platform/registry.h"

namespace drapeline::platform {

// The value of `valueName` (empty for the default value) under `keyPath` (e.g.
// "Software\Maxis\The Sims") in the text of a system.reg file, names matched without regard
// to case. A key below Software is looked for under Software\Wow6432Node first, where a
// 32-bit program's view lies in a 64-bit prefix. Characters beyond ASCII come back as UTF-8,
// as Wine names files. Nothing when the key or value is missing or not a string value.
std::optional<std::string> findRegistryString(const std::string& systemRegText,
                                              const std::string& keyPath,
                                              const std::string& valueName);

// Maps a Windows path such as "C:\Program Files\Maxis\The Sims" into the prefix, each
// component resolved without regard to case. A path that is not a drive path is returned
// unchanged.
std::string mapWindowsPath(const std::string& prefix, const std::string& windowsPath);

// The prefix in use: $WINEPREFIX, otherwise ~/.wine.
std::string winePrefix();

// Reads system.reg (local machine) or user.reg (current user) of the prefix afresh on each
// call. A drive path is mapped into the prefix and its components resolved without regard
// to case; the length limit applies to the value as stored, before mapping.
class WineRegistry final : public Registry {
public:
    explicit WineRegistry(std::string prefix);

private:
    std::optional<std::string> readValue(RegistryHive hive, const std::string& keyPath,
                                  const std::string& valueName, std::size_t bufferBytes) override;

    std::string prefix_;
};

}  // namespace drapeline::platform
