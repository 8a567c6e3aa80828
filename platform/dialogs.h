#pragma once
// Message boxes and the folder chooser. Texts are byte texts whose line breaks are CR LF,
// exactly as the program builds them; the window implementation shows them.

#include <optional>
#include <string>
#include <vector>

namespace drapeline::platform {

enum class MessageIcon { Question, Information, Exclamation, Critical };
// YesNoKeepByDefault: a question whose Yes loses something; No is the default button, so
// an Enter pressed out of habit keeps it.
// OverwriteReloadCancel: what to do with a file that another program changed since it was
// read; Cancel is the default, and Escape answers it.
enum class MessageButtons { Ok, YesNo, YesNoKeepByDefault, OverwriteReloadCancel };
enum class MessageReply { Ok, Yes, No, Overwrite, Reload, Cancel };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MessageReply message(const std::string& text, MessageIcon icon,
                                 MessageButtons buttons, const std::string& title) = 0;
    // The chosen folder's full path, or nothing when the user cancels. `shortcuts` are
    // folders offered for a quick pick (the game's installs found on the machine).
    virtual std::optional<std::string> chooseFolder(const std::string& title,
                                                    const std::vector<std::string>& shortcuts) = 0;

    // The program's confirmations: a Yes/No question titled "Confirm Action".
    bool confirm(const std::string& text) {
        return message(text, MessageIcon::Question, MessageButtons::YesNo, "Confirm Action") ==
               MessageReply::Yes;
    }
    // A confirmation whose Yes loses the user's work: No is the default.
    bool confirmLoss(const std::string& text) {
        return message(text, MessageIcon::Question, MessageButtons::YesNoKeepByDefault,
                       "Confirm Action") == MessageReply::Yes;
    }
    // Overwrite, Reload or Cancel for a file changed behind the program's back.
    MessageReply askChangedFile(const std::string& text) {
        return message(text, MessageIcon::Question, MessageButtons::OverwriteReloadCancel,
                       "Confirm Action");
    }
    void inform(const std::string& text, const std::string& title) {
        message(text, MessageIcon::Information, MessageButtons::Ok, title);
    }
    void warn(const std::string& text, const std::string& title) {
        message(text, MessageIcon::Exclamation, MessageButtons::Ok, title);
    }
    void critical(const std::string& text, const std::string& title) {
        message(text, MessageIcon::Critical, MessageButtons::Ok, title);
    }
};

}  // namespace drapeline::platform
