// Drapeline, the wardrobe editor: the window library does the work.

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "app/application.h"
#include "shell/error_trap.h"
#include "demo/demo_game.h"
#include "platform/game_process.h"
#include "platform/files.h"
#include "platform/clock.h"
#include "platform/program_folder.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_pictures.h"
#include "platform/qt/qt_settings.h"

#ifdef _WIN32
#include <windows.h>

namespace {

// Wine's GDI font engine leaves the text of line edits undrawn; Qt's FreeType engine draws
// it. Real Windows keeps its own engine.
bool runningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace
#endif

int main(int argc, char** argv) {
    using namespace drapeline;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
#ifndef _WIN32
        std::cerr << "drapeline: no display found; run it on a desktop, or without one as "
                     "`xvfb-run -a drapeline`.\n";
        return 1;
#endif
    }
#ifdef _WIN32
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && runningUnderWine())
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
#endif
    app::GuardedApplication qtApp(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Drapeline"));
    QApplication::setApplicationName(QStringLiteral("Drapeline"));

    platform::QtSettingsStore settings;
    platform::QtDialogs dialogs;
    const auto registry = platform::makeMachineRegistry();
    platform::QtPictureLoader pictures;
    platform::SystemClock clock;
    platform::Services services{settings, dialogs, *registry, pictures, clock,
                                platform::findProgramFolder(), platform::gameIsRunning};

    errortrap::installErrorTrap(services, [] {
        std::fflush(nullptr);
        std::_Exit(1);
    });

    // --demo: a demo game made by our own code in the program folder, used without
    // touching the stored game location.
    std::string gameFolder;
    if (QApplication::arguments().contains(QStringLiteral("--demo"))) {
        gameFolder = platform::joinPath(services.programFolder, "Demo Game");
        try {
            demo::createDemoGame(gameFolder);
        } catch (const std::exception& e) {
            dialogs.critical(std::string("The demo game could not be made in ") + gameFolder +
                                 ":\r\n" + e.what(),
                             "Drapeline");
            return 1;
        }
    }

    app::Application application(services);
    application.start(gameFolder);
    return QApplication::exec();
}
