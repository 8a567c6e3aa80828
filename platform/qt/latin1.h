#pragma once
// Byte texts meet Qt here: byte N is code point N and back, which is lossless.

#include <QString>
#include <string>

namespace drapeline::platform {

inline QString toQString(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Code points above 255 cannot come from a byte text; they become '?'.
inline std::string fromQString(const QString& text) {
    const QByteArray latin1 = text.toLatin1();
    return std::string(latin1.constData(), static_cast<std::size_t>(latin1.size()));
}

// A message text built with CR LF line breaks, as Qt shows it.
inline QString toDisplayText(const std::string& bytes) {
    QString text = toQString(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}  // namespace drapeline::platform

namespace drapeline::platform {

// Paths are native byte strings, UTF-8 on Linux; they are not character file texts.
inline QString pathToQString(const std::string& path) { return QString::fromStdString(path); }
inline std::string pathFromQString(const QString& path) { return path.toStdString(); }

}  // namespace drapeline::platform
