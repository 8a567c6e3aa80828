#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

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
    QMessageBox box(iconOf(icon), toQString(title), toDisplayText(text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    // Sim and file names go into these texts; none of them is markup.
    box.setTextFormat(Qt::PlainText);
    switch (buttons) {
    case MessageButtons::Ok:
        box.setDefaultButton(box.addButton(QMessageBox::Ok));
        box.exec();
        return MessageReply::Ok;
    case MessageButtons::OverwriteReloadCancel: {
        QPushButton* overwrite = box.addButton(QObject::tr("&Overwrite"), QMessageBox::DestructiveRole);
        QPushButton* reload = box.addButton(QObject::tr("&Reload"), QMessageBox::ResetRole);
        QPushButton* cancel = box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(cancel);
        box.setEscapeButton(cancel);
        box.exec();
        return box.clickedButton() == overwrite ? MessageReply::Overwrite
               : box.clickedButton() == reload  ? MessageReply::Reload
                                                : MessageReply::Cancel;
    }
    case MessageButtons::YesNo:
    case MessageButtons::YesNoKeepByDefault: break;
    }
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    QPushButton* no = box.addButton(QMessageBox::No);
    // Yes is the default, as the program's users have always had it, except where Yes
    // would lose their work; Escape or closing the box answers No.
    box.setDefaultButton(buttons == MessageButtons::YesNoKeepByDefault ? no : yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? MessageReply::Yes : MessageReply::No;
}

std::optional<std::string> QtDialogs::chooseFolder(const std::string& title,
                                                   const std::vector<std::string>& shortcuts) {
    QFileDialog chooser(QApplication::activeWindow(), toQString(title));
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly);
    if (!shortcuts.empty()) {
        // The desktop's own chooser has no place for our shortcuts; Qt's shows them in its
        // side bar and its "Look in" history, and opens on the first install found.
        chooser.setOption(QFileDialog::DontUseNativeDialog);
        QList<QUrl> places = chooser.sidebarUrls();
        QStringList history;
        for (const auto& shortcut : shortcuts) {
            const QString folder = pathToQString(shortcut);
            places.append(QUrl::fromLocalFile(folder));
            history.append(folder);
        }
        chooser.setSidebarUrls(places);
        chooser.setHistory(history);
        chooser.setDirectory(history.front());
    }
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return std::nullopt;
    const QString folder = chooser.selectedFiles().front();
    if (folder.isEmpty()) return std::nullopt;
    // A path goes back as path text (UTF-8), so that folder names beyond Latin-1 still
    // name the folder.
    return pathFromQString(QDir::toNativeSeparators(folder));
}

}  // namespace drapeline::platform
