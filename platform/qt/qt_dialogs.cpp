#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include "platform/qt/latin1.h"

namespace drapeline::platform {

namespace {

QMessageBox::Icon iconOf(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MessageReply QtDialogs::message(const std::string& text, MessageIcon icon, MessageButtons buttons,
                                const std::string& title) {
    const bool question = buttons == MessageButtons::YesNo;
    QMessageBox box(iconOf(icon), toQString(title), toDisplayText(text),
                    question ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::StandardButtons(QMessageBox::Ok),
                    QApplication::activeWindow());
    // Sim and file names go into these texts; none of them is markup.
    box.setTextFormat(Qt::PlainText);
    // The first button is the default, as the program's users have always had it; Escape
    // or closing the box answers No.
    box.setDefaultButton(question ? QMessageBox::Yes : QMessageBox::Ok);
    if (question) box.setEscapeButton(QMessageBox::No);
    const int answer = box.exec();
    if (!question) return MessageReply::Ok;
    return answer == QMessageBox::Yes ? MessageReply::Yes : MessageReply::No;
}

std::optional<std::string> QtDialogs::chooseFolder(const std::string& title) {
    const QString folder = QFileDialog::getExistingDirectory(
        QApplication::activeWindow(), toQString(title), QString(), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) return std::nullopt;
    // A path goes back in the file system's own encoding, so that folder names beyond
    // Latin-1 still name the folder.
    const QByteArray native = QFile::encodeName(QDir::toNativeSeparators(folder));
    return std::string(native.constData(), static_cast<std::size_t>(native.size()));
}

}  // namespace drapeline::platform
