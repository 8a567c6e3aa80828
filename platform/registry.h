#pragma once
// Reading the game's install entry. On Windows this is the registry itself (32-bit view,
// read rights only); on Linux the same value is read from the Wine prefix's system.reg.

#include <cstdint>
#include <string>

namespace drapeline::platform {

// Predefined root handles, as the Windows API numbers them.
enum class RegistryHive : std::uint32_t { LocalMachine = 0x80000002u, CurrentUser = 0x80000001u };

class Registry {
public:
    virtual ~Registry() = default;
    // The value's text, "ERROR" when the key or value is missing, unreadable or longer
    // than `length` bytes (0 means 255), and an empty text for an empty value. `length`
    // is updated to the number of bytes read.
    virtual std::string GetRegistryString(RegistryHive hive, const std::string& keyPath,
                                          const std::string& valueName,
                                          std::int32_t& length) = 0;
};

}  // namespace drapeline::platform

#include <memory>

namespace drapeline::platform {
// The machine's own registry: advapi32 on Windows, the Wine prefix's system.reg elsewhere.
std::unique_ptr<Registry> makeMachineRegistry();
}  // namespace drapeline::platform
