// The machine's own registry. On Windows the game's installer, a 32-bit program, wrote its
// entry into the 32-bit view, so we read that view whatever our own build is; and we ask
// for read rights only, because ordinary users are refused anything more on the
// local-machine hive and would never find the game.

#include "core/native_path.h"
#include "platform/registry.h"

#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>
#else
#include "platform/game_discovery.h"
#endif

namespace drapeline::platform {

#ifdef _WIN32

namespace {


// The predefined roots are sign-extended handles on 64-bit Windows, so they are taken from
// the headers, not rebuilt from their 32-bit numbers.
HKEY rootOf(RegistryHive hive) {
    switch (hive) {
    case RegistryHive::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryHive::CurrentUser: return HKEY_CURRENT_USER;
    }
    return nullptr;
}

class OpenKey {
public:
    OpenKey() = default;
    ~OpenKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY* receive() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

class Win32Registry final : public Registry {
public:
private:
    std::optional<std::string> readValue(RegistryHive hive, const std::string& keyPath,
                                         const std::string& valueName,
                                         std::size_t bufferBytes) override {
        const std::nullopt_t failure = std::nullopt;
        const HKEY root = rootOf(hive);
        if (root == nullptr) return failure;

        OpenKey key;
        if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, key.receive()) !=
            ERROR_SUCCESS)
            return failure;

        // Ask for the size first, so the buffer is what the value needs, never what the
        // caller's length merely allows.
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            return failure;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return failure;
        if (size > bufferBytes) return failure;

        std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
        DWORD read = size;
        if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(buffer.data()), &read) != ERROR_SUCCESS)
            return failure;   // includes a value that grew since we measured it
        if (type != REG_SZ && type != REG_EXPAND_SZ) return failure;
        const std::string text(buffer.data(), std::min<std::size_t>(read, size));
        return utf8FromAnsi(text.substr(0, text.find('\0')));
    }

    // The value is measured as the game measures it, in the ANSI code page; paths are held
    // as UTF-8 everywhere else.
    static std::optional<std::string> utf8FromAnsi(const std::string& ansi) {
        if (ansi.empty()) return ansi;
        const int length = static_cast<int>(ansi.size());
        const int wideLength = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
        if (wideLength <= 0) return std::nullopt;
        std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), wideLength);
        return pathText(std::filesystem::path(wide));
    }
};

}  // namespace

std::unique_ptr<Registry> makeMachineRegistry() { return std::make_unique<Win32Registry>(); }

#else

// The game may sit in any launcher's prefix; the first that knows it answers.
std::unique_ptr<Registry> makeMachineRegistry() {
    return std::make_unique<WinePrefixesRegistry>(DiscoveryPlaces::fromEnvironment());
}

#endif

}  // namespace drapeline::platform
