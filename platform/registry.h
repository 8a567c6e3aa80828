#pragma once
// Reading the game's install entry. On Windows this is the registry itself (32-bit view,
// read rights only); on Linux the same value is read from the Wine prefix's system.reg.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace drapeline::platform {

// Predefined root handles, as the Windows API numbers them.
enum class RegistryHive : std::uint32_t { LocalMachine = 0x80000002u, CurrentUser = 0x80000001u };

class Registry {
public:
    virtual ~Registry() = default;
    // The size of the buffer the game's location is read into, its closing NUL included.
    static constexpr std::size_t kBufferBytes = 255;

    // The value's text, an empty text for an empty value, and nothing when the key or
    // value is missing, unreadable or does not fit `bufferBytes` with its closing NUL.
    std::optional<std::string> readString(RegistryHive hive, const std::string& keyPath,
                                          const std::string& valueName,
                                          std::size_t bufferBytes = kBufferBytes) {
        return readValue(hive, keyPath, valueName, bufferBytes);
    }

private:
    virtual std::optional<std::string> readValue(RegistryHive hive, const std::string& keyPath,
                                                 const std::string& valueName,
                                                 std::size_t bufferBytes) = 0;
};

}  // namespace drapeline::platform

#include <memory>

namespace drapeline::platform {
// The machine's own registry: advapi32 on Windows, the Wine prefix's system.reg elsewhere.
std::unique_ptr<Registry> makeMachineRegistry();
}  // namespace drapeline::platform
