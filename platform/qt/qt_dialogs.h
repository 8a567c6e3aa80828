#pragma once
// Message boxes and the folder chooser on Qt Widgets. Boxes are owned by the active
// window, so they stay above the modal window that asked.

#include "platform/dialogs.h"

namespace drapeline::platform {

class QtDialogs final : public Dialogs {
public:
    MessageReply message(const std::string& text, MessageIcon icon, MessageButtons buttons,
                         const std::string& title) override;
    std::optional<std::string> chooseFolder(const std::string& title,
                                            const std::vector<std::string>& shortcuts) override;
};

}  // namespace drapeline::platform
