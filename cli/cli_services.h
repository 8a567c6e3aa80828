#pragma once
// The machine as the command-line tool offers it to the logic: no windows and no Qt.
// Questions are answered Yes (the command line itself was the user's confirmation),
// pictures never load, settings live for one run.

#include <map>
#include <string>
#include <vector>

#include "platform/services.h"

namespace drapeline::cli {

class AnsweringDialogs final : public platform::Dialogs {
public:
    struct Box {
        std::string text;
        platform::MessageIcon icon;
        std::string title;
    };
    platform::MessageReply message(const std::string& text, platform::MessageIcon icon,
                                   platform::MessageButtons buttons,
                                   const std::string& title) override;
    std::optional<std::string> chooseFolder(const std::string& title,
                                            const std::vector<std::string>& shortcuts) override;

    std::vector<Box> shown;
};

class NoPictures final : public platform::PictureLoader {
public:
    platform::PicturePtr load(const std::string&) const override { return nullptr; }
    platform::PicturePtr decode(const ByteText&) const override { return nullptr; }
};

class RunSettings final : public platform::SettingsStore {
public:
    std::string value(const std::string& key) const override;
    void setValue(const std::string& key, const std::string& value) override;

private:
    std::map<std::string, std::string> values_;
};

class NoRegistry final : public platform::Registry {
    std::optional<std::string> readValue(platform::RegistryHive, const std::string&,
                                         const std::string&, std::size_t) override {
        return std::nullopt;
    }
};

// Everything bundled, with one Services view over it.
struct CliMachine {
    explicit CliMachine(std::string programFolder);
    CliMachine(const CliMachine&) = delete;
    CliMachine& operator=(const CliMachine&) = delete;

    RunSettings settings;
    AnsweringDialogs dialogs;
    NoRegistry registry;
    NoPictures pictures;
    platform::SystemClock clock;
    platform::Services services;
};

}  // namespace drapeline::cli
