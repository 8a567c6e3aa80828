#include "platform/qt/qt_settings.h"

#include <QSettings>

#include "platform/qt/latin1.h"

namespace drapeline::platform {

namespace {

// A fresh QSettings per call: it is cheap, and its destructor writes the change through,
// so nothing is lost if the program is ended by the error trap.
struct SettingsGroup {
    SettingsGroup() : settings(QStringLiteral("Drapeline"), QStringLiteral("Drapeline")) {
        settings.beginGroup(QStringLiteral("Settings"));
    }
    QSettings settings;
};

}  // namespace

std::string QtSettingsStore::value(const std::string& key) const {
    SettingsGroup group;
    return fromQString(group.settings.value(toQString(key)).toString());
}

void QtSettingsStore::setValue(const std::string& key, const std::string& value) {
    SettingsGroup group;
    group.settings.setValue(toQString(key), toQString(value));
}

}  // namespace drapeline::platform
