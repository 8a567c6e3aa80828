#include "platform/qt/qt_settings.h"

#include <algorithm>

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

bool isUtf8(const std::string& bytes) {
    const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const QString text = QString::fromUtf8(raw);
    return !text.contains(QChar::ReplacementCharacter) && text.toUtf8() == raw;
}

// Earlier versions stored each byte of a value as its own character. Such a value is all
// Latin-1 and its bytes form UTF-8 (the path it was); a value stored as text reads that
// way only if it held accented letters in exactly that pattern.
std::string storedValue(const QString& text) {
    const bool allLatin1 = std::all_of(text.cbegin(), text.cend(),
                                       [](QChar c) { return c.unicode() < 0x100; });
    const bool anyHigh = std::any_of(text.cbegin(), text.cend(),
                                     [](QChar c) { return c.unicode() >= 0x80; });
    if (allLatin1 && anyHigh) {
        std::string bytes = fromQString(text);
        if (isUtf8(bytes)) return bytes;
    }
    return pathFromQString(text);
}

}  // namespace

// The values are paths and the neighbourhood line made from a folder name: the file
// system's bytes, kept as UTF-8 text so that the settings file reads as the user spells
// the folders.
std::string QtSettingsStore::value(const std::string& key) const {
    SettingsGroup group;
    return storedValue(group.settings.value(toQString(key)).toString());
}

QString QtSettingsStore::location() { return SettingsGroup().settings.fileName(); }

void QtSettingsStore::setValue(const std::string& key, const std::string& value) {
    SettingsGroup group;
    // A value that is not UTF-8 (a path in another encoding) keeps the byte mapping.
    group.settings.setValue(toQString(key), isUtf8(value) ? pathToQString(value) : toQString(value));
}

}  // namespace drapeline::platform
