#include "tests/support/doubles.h"

#include <fstream>
#include <iterator>

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
    return buttons == platform::MessageButtons::Ok ? platform::MessageReply::Ok
                                                   : platform::MessageReply::No;
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

std::string FakeRegistry::GetRegistryString(platform::RegistryHive, const std::string&,
                                            const std::string&, std::int32_t&) {
    return installPath;
}

namespace {

class FakePicture final : public platform::Picture {
public:
    FakePicture(int w, int h) : w_(w), h_(h) {}
    int width() const override { return w_; }
    int height() const override { return h_; }

private:
    int w_, h_;
};

int littleEndian32(const ByteText& b, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return static_cast<int>(v);
}

}  // namespace

platform::PicturePtr FakePictureLoader::decode(const ByteText& bytes) const {
    if (bytes.size() < 26 || bytes.compare(0, 2, "BM") != 0) return nullptr;
    const int w = littleEndian32(bytes, 18);
    const int h = littleEndian32(bytes, 22);
    if (w <= 0 || h == 0) return nullptr;
    return std::make_shared<FakePicture>(w, h < 0 ? -h : h);
}

platform::PicturePtr FakePictureLoader::load(const std::string& path) const {
    {
        const std::lock_guard lock(loadedMutex);
        loaded.push_back(path);
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    const ByteText bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decode(bytes);
}

FakeMachine::FakeMachine(std::string programFolder)
    : services{settings, dialogs, registry, pictures, clock, std::move(programFolder)} {}

TrapRecorder::TrapRecorder() {
    setErrorTrapHandler([this] {
        ++calls;
        last = errorContext();
        throw ProgramEnded{};
    });
}

TrapRecorder::~TrapRecorder() { setErrorTrapHandler(nullptr); }

}  // namespace drapeline::testkit
