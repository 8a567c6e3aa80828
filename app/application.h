#pragma once
// The editor as a whole: the machine's services, the error trap, the title window and the
// main window. main() makes one of these; tests can make one with their own services.

#include <QApplication>
#include <memory>
#include <string>

#include "platform/services.h"
#include "shell/game_session.h"

namespace drapeline::app {

class frmMain;
class frmTitle;

// Catches what an event handler lets escape, so that it reaches the error trap instead
// of unwinding through Qt.
class GuardedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

class Application {
public:
    // `services` must outlive the application.
    explicit Application(platform::Services& services);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Shows the title window; the main window follows when it closes. A non-empty
    // `gameFolder` is used instead of the stored game location, without storing it.
    void start(const std::string& gameFolder = {});

    frmTitle* titleWindow() { return title_.get(); }
    // Null until the title window has closed.
    frmMain* mainWindow() { return main_.get(); }

    // The game in use (its folder, the chosen neighbourhood), shared by every window.
    shell::GameSession& session() { return session_; }

private:
    void showMainWindow();

    platform::Services& services_;
    shell::GameSession session_;
    std::string gameFolderOverride_;
    std::unique_ptr<frmTitle> title_;
    std::unique_ptr<frmMain> main_;
};

}  // namespace drapeline::app
