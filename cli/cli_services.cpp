#include "cli/cli_services.h"

namespace drapeline::cli {

platform::MessageReply AnsweringDialogs::message(const std::string& text,
                                                 platform::MessageIcon icon,
                                                 platform::MessageButtons buttons,
                                                 const std::string& title) {
    shown.push_back({text, icon, title});
    switch (buttons) {
    case platform::MessageButtons::Ok: return platform::MessageReply::Ok;
    // Another program's change is never overwritten unasked: the command reads the file
    // again instead.
    case platform::MessageButtons::OverwriteReloadCancel: return platform::MessageReply::Cancel;
    default: return platform::MessageReply::Yes;
    }
}

std::optional<std::string> AnsweringDialogs::chooseFolder(const std::string&,
                                                          const std::vector<std::string>&) {
    return std::nullopt;
}

std::string RunSettings::value(const std::string& key) const {
    const auto it = values_.find(key);
    return it == values_.end() ? std::string() : it->second;
}

void RunSettings::setValue(const std::string& key, const std::string& value) {
    values_[key] = value;
}

CliMachine::CliMachine(std::string programFolder)
    : services{settings, dialogs, registry, pictures, clock, std::move(programFolder)} {}

}  // namespace drapeline::cli
