#include "app/application.h"

#include "app/widgets/remembered_place.h"
#include "app/windows/frm_title.h"
#include "core/errors.h"
#include "app/windows/frm_main.h"

namespace drapeline::app {

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const ProgramEnded&) {
        throw;
    } catch (...) {
        trapCurrentException("Drapeline", "event handler", Stages::None);
    }
}

Application::Application(platform::Services& services) : services_(services) {}

Application::~Application() = default;

void Application::start(const std::string& gameFolder) {
    gameFolderOverride_ = gameFolder;
    title_ = std::make_unique<frmTitle>();
    rememberPlace(title_.get(), services_.settings);
    QObject::connect(title_.get(), &frmTitle::closed, [this] { showMainWindow(); });
    title_->show();
}

void Application::showMainWindow() {
    if (main_) return;
    main_ = std::make_unique<frmMain>(services_, session_, gameFolderOverride_);
    main_->show();
}

}  // namespace drapeline::app
