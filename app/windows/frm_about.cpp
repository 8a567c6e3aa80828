#include "app/windows/frm_about.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/artwork.h"
#include "shell/version.h"
#include "app/widgets/controls.h"
#include "platform/qt/latin1.h"
#include "platform/qt/qt_settings.h"

// The window library is static: its resources are registered by hand before first use.
static void registerResources() { Q_INIT_RESOURCE(app); }

namespace drapeline::app {

namespace {

const char* const LicenceText =
    "Copyright 2026 the Drapeline developers. Drapeline is free software: you can "
    "redistribute it and/or modify it under the terms of the GNU General Public License as "
    "published by the Free Software Foundation, either version 3 of the License, or (at your "
    "option) any later version. It comes with ABSOLUTELY NO WARRANTY; see the GNU General "
    "Public License (the file LICENSE) for details.";

QLabel* selectable(const QString& text, QWidget* parent, const char* name) {
    auto* label = named(new QLabel(text, parent), name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus);   // reachable with Tab, to select and copy
    label->setWordWrap(true);
    return label;
}

}  // namespace

frmAbout::frmAbout(const std::string& programFolder, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Drapeline"));

    auto* picture = named(new QLabel(this), "picTitle");
    picture->setPixmap(QPixmap::fromImage(titleImage()));
    auto* title = named(new QLabel(QStringLiteral("<b>%1</b> - Version %2")
                                       .arg(QString::fromLatin1(ProgramTitle),
                                            QString::fromStdString(versionText())),
                                   this),
                        "lblVersion");
    auto* licence = named(new QLabel(QString::fromUtf8(LicenceText), this), "lblLicence");
    licence->setWordWrap(true);

    auto* facts = new QGridLayout;
    const QString folder = platform::pathToQString(programFolder);
    const struct {
        const char* caption;
        QString value;
        const char* name;
    } rows[] = {
        {"Qt version:", QString::fromLatin1(qVersion()), "lblQtVersion"},
        {"Program folder:", folder, "lblProgramFolder"},
        {"Settings file:", platform::QtSettingsStore::location(), "lblSettingsFile"},
    };
    int row = 0;
    for (const auto& r : rows) {
        facts->addWidget(new QLabel(QString::fromLatin1(r.caption), this), row, 0, Qt::AlignTop);
        facts->addWidget(selectable(r.value, this, r.name), row, 1);
        ++row;
    }
    facts->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    auto* open = named(buttons->addButton(QStringLiteral("&Open Program Folder"),
                                          QDialogButtonBox::ActionRole),
                       "cmdOpenFolder");
    connect(open, &QPushButton::clicked, this,
            [folder] { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Ok)->setFocus();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addWidget(title);
    layout->addWidget(licence);
    layout->addLayout(facts);
    layout->addWidget(buttons);
    setFixedWidth(440);
}

QString guideText() {
    registerResources();
    QFile file(QStringLiteral(":/guide.html"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void showGuide(QWidget* parent) {
    QDialog guide(parent);
    guide.setObjectName(QStringLiteral("frmHelp"));
    guide.setWindowTitle(QStringLiteral("Drapeline Help"));
    auto* text = named(new QTextBrowser(&guide), "txtGuide");
    text->setHtml(guideText());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &guide);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &guide, &QDialog::reject);
    auto* layout = new QVBoxLayout(&guide);
    layout->addWidget(text);
    layout->addWidget(buttons);
    guide.resize(620, 560);
    text->setFocus();
    guide.exec();
}

}  // namespace drapeline::app
