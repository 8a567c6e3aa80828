#include "tests/support/doubles.h"

#include <stdexcept>

namespace drapeline::testkit {

std::string MemorySettings::value(const std::string& key) const {
    auto it = values.find(key);
    return it == values.end() ? std::string() : it->second;
}

void MemorySettings::setValue(const std::string& key, const std::string& value) {
    values[key] = value;
}

platform::MessageReply ScriptedDialogs::message(const std::string& text,
                                                platform::MessageIcon icon,
                                                platform::MessageButtons buttons,
                                                const std::string& title) {
    shown.push_back({text, icon, buttons, title});
    if (!replies.empty()) {
        auto reply = replies.front();
        replies.pop_front();
        return reply;
    }
    switch (buttons) {
    case platform::MessageButtons::Ok: return platform::MessageReply::Ok;
    case platform::MessageButtons::OverwriteReloadCancel: return platform::MessageReply::Cancel;
    default: return platform::MessageReply::No;
    }
}

std::optional<std::string> ScriptedDialogs::chooseFolder(const std::string& title,
                                                         const std::vector<std::string>& shortcuts) {
    chooserTitles.push_back(title);
    chooserShortcuts.push_back(shortcuts);
    if (folders.empty()) return std::nullopt;
    auto answer = folders.front();
    folders.pop_front();
    return answer;
}

std::optional<std::string> FakeRegistry::readValue(platform::RegistryHive, const std::string&,
                                                   const std::string&, std::size_t) {
    return installPath;
}

platform::PicturePtr FakePictureLoader::load(const std::string& path) const {
    {
        const std::lock_guard lock(loadedMutex);
        loaded.push_back(path);
    }
    return real.load(path);
}

IffFile parsedIff(const ByteText& bytes) {
    IffFile iff;
    if (const std::string error = iff::parseChecked(iff, bytes); !error.empty()) throw std::runtime_error(error);
    return iff;
}

TrapRecorder::TrapRecorder() {
    setErrorTrapHandler([this] {
        ++calls;
        last = errorContext();
        throw ProgramEnded{};
    });
}

TrapRecorder::~TrapRecorder() { setErrorTrapHandler(nullptr); }

}  // namespace drapeline::testkit
