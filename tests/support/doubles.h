#pragma once
// Test doubles for the platform interfaces.

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/iff_file.h"
#include "platform/bmp_pictures.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/pictures.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/settings.h"

namespace drapeline::testkit {

class MemorySettings final : public platform::SettingsStore {
public:
    std::string value(const std::string& key) const override;
    void setValue(const std::string& key, const std::string& value) override;
    std::map<std::string, std::string> values;
};

// Answers message boxes from a script and records every box shown. Boxes without a
// scripted answer get OK for OK boxes and No for questions.
class ScriptedDialogs final : public platform::Dialogs {
public:
    struct Box {
        std::string text;
        platform::MessageIcon icon;
        platform::MessageButtons buttons;
        std::string title;
        bool operator==(const Box&) const = default;
    };

    platform::MessageReply message(const std::string& text, platform::MessageIcon icon,
                                   platform::MessageButtons buttons,
                                   const std::string& title) override;
    std::optional<std::string> chooseFolder(const std::string& title,
                                            const std::vector<std::string>& shortcuts) override;

    std::deque<platform::MessageReply> replies;
    std::deque<std::optional<std::string>> folders;   // answers of the folder chooser
    std::vector<Box> shown;
    std::vector<std::string> chooserTitles;
    std::vector<std::vector<std::string>> chooserShortcuts;
};

class FixedClock final : public platform::Clock {
public:
    platform::LocalTime now() const override { return time; }
    platform::LocalTime time{2002, 3, 30, 14, 5, 7};
};

class FakeRegistry final : public platform::Registry {
public:
    // Nothing stands for a registry without the game's entry.
    std::optional<std::string> installPath;

private:
    std::optional<std::string> readValue(platform::RegistryHive hive, const std::string& keyPath,
                                         const std::string& valueName, std::size_t bufferBytes) override;
};

// Loads bitmaps as the program does, and records every path it is asked for.
class FakePictureLoader final : public platform::PictureLoader {
public:
    platform::PicturePtr load(const std::string& path) const override;
    platform::PicturePtr decode(const ByteText& bytes) const override { return real.decode(bytes); }
    mutable std::vector<std::string> loaded;   // every path asked for, in order
    // Guards `loaded`: the skin catalogue loads on several threads.
    mutable std::mutex loadedMutex;

private:
    platform::BmpPictureLoader real;
};

// A complete set of doubles with one Services view over them (the window tests load
// pictures with Qt instead).
template <class Pictures>
struct MachineWith {
    explicit MachineWith(std::string programFolder)
        : services{settings, dialogs, registry, pictures, clock, std::move(programFolder)} {}
    MemorySettings settings;
    ScriptedDialogs dialogs;
    FakeRegistry registry;
    Pictures pictures;
    FixedClock clock;
    platform::Services services;
};
using FakeMachine = MachineWith<FakePictureLoader>;

// The number of the run-time error `f` raises, or 0 when it raises none.
template <class F>
std::int32_t errorNumberOf(F&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

// The file `bytes` hold, read by the checked reader; a file it refuses throws (failing the test).
IffFile parsedIff(const ByteText& bytes);

// Installs an error trap that records the error context and throws ProgramEnded, and
// restores the previous trap on destruction.
class TrapRecorder {
public:
    TrapRecorder();
    ~TrapRecorder();
    TrapRecorder(const TrapRecorder&) = delete;
    TrapRecorder& operator=(const TrapRecorder&) = delete;
    int calls = 0;
    ErrorContext last;
};

}  // namespace drapeline::testkit
