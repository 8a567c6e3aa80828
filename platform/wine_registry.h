#pragma once
// The registry of a Wine prefix, read from its system.reg text file, with Windows paths
// mapped into the prefix (C:\... -> <prefix>/drive_c/..., other drive letters through
// <prefix>/dosdevices).

#include <optional>
#include <string>

#include "platform/registry.h"

namespace drapeline::platform {

// The value of `valueName` under `keyPath` (e.g. "Software\Maxis\The Sims", matched without
// regard to case, also under Software\Wow6432Node) in the text of a system.reg file.
// Nothing when the key or value is missing or not a string value.
std::optional<std::string> findRegistryString(const std::string& systemRegText,
                                              const std::string& keyPath,
                                              const std::string& valueName);

// Maps a Windows path such as "C:\Program Files\Maxis\The Sims" into the prefix.
// A path that is not a drive path is returned unchanged.
std::string mapWindowsPath(const std::string& prefix, const std::string& windowsPath);

// The prefix in use: $WINEPREFIX, otherwise ~/.wine.
std::string winePrefix();

class WineRegistry final : public Registry {
public:
    explicit WineRegistry(std::string prefix);
    std::string GetRegistryString(RegistryHive hive, const std::string& keyPath,
                                  const std::string& valueName, std::int32_t& length) override;

private:
    std::string prefix_;
};

}  // namespace drapeline::platform
