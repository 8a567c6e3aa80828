// The boxes are modal, so the test answers them from a timer once they are up.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include "platform/qt/qt_dialogs.h"

namespace drapeline::platform {
namespace {

void whenBoxShows(std::function<void(QMessageBox&)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)]() mutable {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            answer(*box);
        else
            whenBoxShows(std::move(answer));
    });
}

TEST(QtDialogs, BoxesShowTheTextAsGivenWithTheirIconAndReturnTheReply) {
    QtDialogs dialogs;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    whenBoxShows([&](QMessageBox& box) {
        title = box.windowTitle();
        text = box.text();
        icon = box.icon();
        format = box.textFormat();
        box.button(QMessageBox::No)->click();
    });
    const auto reply = dialogs.message("Delete <b>Bob</b>?\r\nAre You Sure?", MessageIcon::Question,
                                       MessageButtons::YesNo, "Confirm Action");
    EXPECT_EQ(reply, MessageReply::No);
    EXPECT_EQ(title, QStringLiteral("Confirm Action"));
    EXPECT_EQ(text, QStringLiteral("Delete <b>Bob</b>?\nAre You Sure?"));
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(format, Qt::PlainText);

    // Enter presses the default button: Yes, unless Yes would lose the user's work.
    whenBoxShows([](QMessageBox& box) { box.defaultButton()->click(); });
    EXPECT_TRUE(dialogs.confirm("Exit this program?"));
    whenBoxShows([](QMessageBox& box) { box.defaultButton()->click(); });
    EXPECT_FALSE(dialogs.confirmLoss("Discard your changes to Bob?"));

    whenBoxShows([](QMessageBox& box) { box.reject(); });   // Escape or the close button
    EXPECT_FALSE(dialogs.confirm("Exit this program?"));

    whenBoxShows([&](QMessageBox& box) {
        icon = box.icon();
        box.button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(dialogs.message("Saved.", MessageIcon::Exclamation, MessageButtons::Ok, "Path Invalid"),
              MessageReply::Ok);
    EXPECT_EQ(icon, QMessageBox::Warning);
}

}  // namespace
}  // namespace drapeline::platform
