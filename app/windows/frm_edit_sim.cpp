#include "app/windows/frm_edit_sim.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QKeySequence>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <cstring>
#include <utility>

#include "app/widgets/figure_widget.h"
#include "app/widgets/picture_box.h"
#include "app/widgets/remembered_place.h"
#include "app/widgets/shown_picture.h"
#include "core/errors.h"
#include "app/widgets/controls.h"
#include "platform/qt/latin1.h"
#include "ensembles/ensemble_file.h"
#include "app/windows/frm_enx.h"
#include "app/windows/frm_select_skin.h"
#include "audit/batch.h"
#include "figure/dressing.h"
#include "wardrobe/default_rules.h"

namespace drapeline::app {

using namespace wardrobe;

using platform::toQString;

namespace {

QLabel* label(QWidget* parent, const char* name, const char* caption, const QRect& r) {
    auto* l = named(new QLabel(QString::fromLatin1(caption), parent), name);
    l->setGeometry(r);
    return l;
}

// Text fields are the program's to write: locked, on the button-face colour.
QLineEdit* field(QWidget* parent, const char* name, const QRect& r) {
    auto* f = app::readOnlyField(parent, name, r);
    QPalette p = f->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    f->setPalette(p);
    return f;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, const QRect& r) {
    auto* b = named(new QPushButton(QString::fromLatin1(caption), parent), name);
    b->setGeometry(r);
    return b;
}

void showPicture(app::PictureBox* box, const platform::ShownPicture& shown) {
    const QImage image = app::imageFor(shown);
    if (image.isNull()) box->clear();
    else box->setPicture(image);
}

// The page captions with the letter Alt takes to each page; no two pages share one.
QString mnemonicCaption(const char* caption) {
    static const std::pair<const char*, const char*> withLetters[] = {
        {"Normal", "&Normal"}, {"Swimsuit", "&Swimsuit"}, {"Formal", "&Formal"}, {"Pajamas", "&Pajamas"},
        {"Nude", "N&ude"},     {"Winter", "&Winter"},     {"Hands", "&Hands"},
    };
    for (const auto& [plain, marked] : withLetters)
        if (std::strcmp(plain, caption) == 0) return QString::fromLatin1(marked);
    return QString::fromLatin1(caption);
}

constexpr int WindowWidth = 800;
constexpr int WindowHeight = 506;   // 7590 twips; the focus button lies below this line

const char* const FormalNote =
    "Note: If you are changing a female sim's formal attire you may wish to change the "
    "formal hands. They are white by default.";
const char* const NudeNote =
    "Note: I've added a new naming convention for nude skins in order to prevent naked "
    "townies from being created. Nude skins can now start with \"N\" instead of \"B\". Please "
    "see the read me file for details.";
const char* const WinterNote =
    "Note: Hot Date Townies can not have winter wear assigned to them until the first time "
    "they show up downtown after installing Vacation. The string element that the winter "
    "clothing selection is stored in does not exists until that time. The program will "
    "display the text    *** Vacation Only *** if the townie can not have winter wear "
    "assigned.";

}  // namespace

frmEditSim::frmEditSim(platform::Services& services, const shell::GameSession& session,
                       std::function<bool()> backupChecked, QWidget* parent)
    : QDialog(parent), model_(services, session), backupChecked_(std::move(backupChecked)) {
    setObjectName(QStringLiteral("frmEditSim"));
    setWindowTitle(QStringLiteral("Edit Wardrobe"));
    setMinimumSize(WindowWidth, WindowHeight);
    resize(WindowWidth, WindowHeight);
    buildUpperArea();

    tabSkins = named(new QTabWidget(this), "tabSkins");
    tabSkins->setGeometry(8, 134, WindowWidth - 16, WindowHeight - 142);
    const char* normal[] = {"Label9", "txtNormalBody", "Label10", "txtNormalSkin", "picNormal", "cmdChangeNormal", nullptr, nullptr};
    const char* swimsuit[] = {"Label7", "txtSwimsuitBody", "Label8", "txtSwimsuitSkin", "picSwimsuit", "cmdChangeSwimsuit", "cmdDefaultSwimsuit", nullptr};
    const char* formal[] = {"Label3", "txtFormalBody", "Label4", "txtFormalSkin", "picFormal", "cmdChangeFormal", "cmdDefaultFormal", "Label21"};
    const char* pajamas[] = {"Label5", "txtPajamasBody", "Label6", "txtPajamasSkin", "picPajamas", "cmdChangePajamas", "cmdDefaultPajamas", nullptr};
    const char* nude[] = {"Label23", "txtNudeBody", "Label22", "txtNudeSkin", "picNude", "cmdChangeNude", "cmdDefaultNude", "Label24"};
    const char* winter[] = {"Label27", "txtWinterBody", "Label28", "txtWinterSkin", "picWinter", "cmdChangeWinter", "cmdDefaultWinter", "Label26"};
    buildOutfitPage(OutfitKind::Normal, "Normal", normal, nullptr);
    buildOutfitPage(OutfitKind::Swimsuit, "Swimsuit", swimsuit, nullptr);
    buildOutfitPage(OutfitKind::Formal, "Formal", formal, FormalNote);
    buildOutfitPage(OutfitKind::Pajamas, "Pajamas", pajamas, nullptr);
    buildOutfitPage(OutfitKind::Nude, "Nude", nude, NudeNote);
    buildOutfitPage(OutfitKind::Winter, "Winter", winter, WinterNote);
    buildHandsPage();
    // One switch for every page, at the right of the page captions.
    previewSwitch = named(new PreviewSwitch(services.settings, tabSkins), "swPreview");
    tabSkins->setCornerWidget(previewSwitch, Qt::TopRightCorner);
    connect(previewSwitch, &PreviewSwitch::switched, this, &frmEditSim::showOnTheBody);
    showOnTheBody(previewSwitch->onTheBody());
    // A page chosen with Alt and its letter takes the focus to its first button, so the
    // keyboard goes on there; arrowing along the page captions keeps it on them.
    connect(tabSkins, &QTabWidget::currentChanged, this, [this] {
        if (tabSkins->tabBar()->hasFocus() || !isVisible()) return;
        if (auto* first = tabSkins->currentWidget()->findChild<QPushButton*>())
            first->setFocus(Qt::ShortcutFocusReason);
    });

    cmdFocus = app::offViewFocusButton(this, QStringLiteral("Focus"), QRect(8, WindowHeight + 20, 60, 23));
    app::rememberPlace(this, services.settings);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, cmdSave, &QPushButton::click);

    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        const app::FocusAway away(cmdFocus);
        reject();
    });
    connect(cmdSave, &QPushButton::clicked, this, [this] {
        const app::FocusAway away(cmdFocus);
        using Outcome = wardrobe::EditSimModel::SaveOutcome;
        switch (model_.save(backupChecked_ && backupChecked_())) {
        case Outcome::Saved: accept(); break;
        case Outcome::Reloaded:
            // The file read again may no longer be one that can be shown.
            if (!model_.problem().empty()) reject();
            break;
        default: break;
        }
    });
    for (QRadioButton* option : {optFit, optFat, optSkinny})
        connect(option, &QRadioButton::clicked, this, &frmEditSim::bodyTypeClicked);
    connectActions();
    // The one place this window learns that the sim changed, whoever changed it.
    model_.onChange([this] { showModel(); });
}

QPushButton* frmEditSim::buttonNamed(const char* name) {
    auto* b = findChild<QPushButton*>(QString::fromLatin1(name));
    if (!b) qFatal("frmEditSim has no button %s", name);
    return b;
}

void frmEditSim::connectActions() {
    for (OutfitKind kind : AllOutfits) {
        const auto& c = outfits_[static_cast<std::size_t>(kind)];
        connect(c.change, &QPushButton::clicked, this,
                [this, kind] { changeOutfit(kind, changeProcedureName(kind)); });
        if (!c.standard) continue;
        connect(c.standard, &QPushButton::clicked, this, [this, kind] {
            const app::FocusAway away(cmdFocus);
            model_.applyDefaultOutfit(kind);
        });
    }
    for (HandSlot slot : AllHandSlots)
        connect(hands_[static_cast<std::size_t>(slot)].change, &QPushButton::clicked, this,
                [this, slot] { changeHand(slot, changeProcedureName(slot)); });

    struct PoseButtons {
        HandPose pose;
        const char* standard;
        const char* copy;
    };
    const PoseButtons poseButtons[] = {
        {HandPose::Formal, "cmdDefFormalHands", "cmdCopyFormalLeft"},
        {HandPose::Open, "cmdDefOpenHands", "cmdCopyOpenLeft"},
        {HandPose::Point, "cmdDefPointHands", "cmdCopyPointLeft"},
        {HandPose::Closed, "cmdDefClosedHands", "cmdCopyLeftClosed"},
    };
    for (const auto& b : poseButtons) {
        connect(buttonNamed(b.standard), &QPushButton::clicked, this, [this, b] {
            const app::FocusAway away(cmdFocus);
            model_.applyDefaultHands(b.pose);
        });
        connect(buttonNamed(b.copy), &QPushButton::clicked, this, [this, b] {
            const app::FocusAway away(cmdFocus);
            model_.copyLeft(b.pose);
        });
    }
    connect(cmdEnsSave, &QPushButton::clicked, this, [this] {
        const app::FocusAway away(cmdFocus);
        frmENX window(model_.services(), model_.fields(), model_.layout(),
                                 ensembles::EnsembleMode::Save, this);
        window.exec();
    });
    connect(cmdEnsLoad, &QPushButton::clicked, this, [this] {
        const app::FocusAway away(cmdFocus);
        frmENX window(model_.services(), model_.fields(), model_.layout(),
                                 ensembles::EnsembleMode::Load, this);
        window.exec();
        wardrobe::WardrobeFields fields = window.model().loaded() ? window.model().fields() : model_.fields();
        // An ensemble saved from a sim of another skin tone: offer the sim's own tone.
        if (window.model().loaded())
            if (auto offer = audit::toneMatchOffer(fields, model_.session().gameFolder()))
                if (model_.services().dialogs.confirm(offer->question)) fields = offer->matched;
        // Loaded or not, every preview is looked up again.
        model_.loadFields(fields);
    });
    connect(buttonNamed("cmdNormalFormalHands"), &QPushButton::clicked, this, [this] {
        guarded("frmEditSim", "cmdNormalFormalHands_Click", Stages::None, [&] {
            const app::FocusAway away(cmdFocus);
            model_.normalFormalHands();
        });
    });
}

void frmEditSim::changeOutfit(OutfitKind kind, const char* procedure) {
    guarded("frmEditSim", procedure, Stages::Marked, [&] {
        markStage(1000);
        const app::FocusAway away(cmdFocus);
        const shell::SkinRequest request = model_.outfitRequest(kind);
        // One chooser at a time, shown with no owner, as the edit window waits for it.
        frmSelectSkin chooser(model_.services(), model_.session(), request);
        chooser.dressOn(figure::dressRequest(model_.fields(), figure::headEntry(model_.bodyStrings()), kind,
                                             figure::handsWornWith(kind)));
        chooser.exec();
        const auto& choice = chooser.choice();
        if (!choice || choice->skin.empty()) return;
        model_.applyOutfitChoice(kind, *choice);
    });
}

void frmEditSim::changeHand(HandSlot slot, const char* procedure) {
    guarded("frmEditSim", procedure, Stages::None, [&] {
        const app::FocusAway away(cmdFocus);
        frmSelectSkin chooser(model_.services(), model_.session(),
                              shell::SkinRequest{{}, true, {}, model_.fields().hand(slot)});
        const HandPose pose = poseOf(slot);
        chooser.dressOn(figure::dressRequest(model_.fields(), figure::headEntry(model_.bodyStrings()),
                                             figure::outfitWornWith(pose), pose));
        chooser.exec();
        const auto& choice = chooser.choice();
        if (!choice || choice->skin.empty()) return;
        model_.applyHandChoice(slot, *choice);
    });
}

void frmEditSim::buildUpperArea() {
    picWebImage = named(app::PictureBox::framed(this, QRect(10, 10, 90, 60)), "picWebImage");
    picFaces = named(app::PictureBox::framed(this, QRect(108, 10, 192, 60)), "picFaces");
    picRelImages = named(app::PictureBox::framed(this, QRect(308, 10, 240, 60)), "picRelImages");

    bodyTypeFrame = named(new QGroupBox(QStringLiteral("Body Type"), this), "Frame5");
    bodyTypeFrame->setGeometry(560, 2, 124, 74);
    optFit = named(new QRadioButton(QStringLiteral("Fit"), bodyTypeFrame), "optFit");
    optFit->setGeometry(10, 18, 100, 17);
    optFat = named(new QRadioButton(QStringLiteral("Fat"), bodyTypeFrame), "optFat");
    optFat->setGeometry(10, 36, 100, 17);
    optSkinny = named(new QRadioButton(QStringLiteral("Skinny"), bodyTypeFrame), "optSkinny");
    optSkinny->setGeometry(10, 54, 100, 17);
    const QString bodyTypeTip = QStringLiteral(
        "Chooses which bodies the skin chooser offers for this sim. The body the sim wears "
        "follows its Normal outfit.");
    for (QWidget* w : {static_cast<QWidget*>(bodyTypeFrame), static_cast<QWidget*>(optFit),
                       static_cast<QWidget*>(optFat), static_cast<QWidget*>(optSkinny)})
        w->setToolTip(bodyTypeTip);

    // Alt+S is the Swimsuit page's.
    cmdSave = button(this, "cmdSave", "Sa&ve", QRect(WindowWidth - 100, 8, 92, 30));
    cmdCancel = button(this, "cmdCancel", "Cancel", QRect(WindowWidth - 100, 44, 92, 30));

    label(this, "Label1", "Name", QRect(8, 80, 100, 16));
    txtName = field(this, "txtName", QRect(8, 98, 262, 23));
    label(this, "Label2", "Age", QRect(278, 80, 90, 16));
    txtAge = field(this, "txtAge", QRect(278, 98, 86, 23));
    label(this, "Label11", "Gender", QRect(372, 80, 90, 16));
    txtGender = field(this, "txtGender", QRect(372, 98, 86, 23));
    label(this, "Label12", "Skin Tone", QRect(466, 80, 90, 16));
    txtSkinTone = field(this, "txtSkinTone", QRect(466, 98, 86, 23));

    ensembleFrame = named(new QGroupBox(QStringLiteral("Ensemble File"), this), "Frame6");
    ensembleFrame->setGeometry(WindowWidth - 216, 80, 208, 48);
    cmdEnsLoad = button(ensembleFrame, "cmdEnsLoad", "&Load", QRect(8, 18, 92, 24));
    cmdEnsSave = button(ensembleFrame, "cmdEnsSave", "Sav&e", QRect(108, 18, 92, 24));
}

void frmEditSim::buildOutfitPage(OutfitKind kind, const char* caption, const char* names[],
                                 const char* note) {
    auto* page = new QWidget(tabSkins);
    page->setObjectName(QStringLiteral("page") + QString::fromLatin1(caption));
    OutfitControls& c = outfits_[static_cast<std::size_t>(kind)];
    // The fields and buttons on the left take the width; the preview on the right grows
    // with the window.
    auto* fields = new QVBoxLayout;
    fields->setSpacing(0);
    fields->addSpacing(2);
    const auto add = [&](QWidget* w, int height, int after) {
        w->setFixedHeight(height);
        fields->addWidget(w);
        fields->addSpacing(after);
    };
    add(label(page, names[0], "Body", {}), 16, 2);
    add(c.body = field(page, names[1], {}), 23, 9);
    add(label(page, names[2], "Skin", {}), 16, 2);
    add(c.skin = field(page, names[3], {}), 23, 13);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    c.change = button(page, names[5], "&Change", {});
    c.change->setFixedSize(100, 28);
    buttons->addWidget(c.change);
    if (names[6]) {
        c.standard = button(page, names[6], "&Default", {});
        c.standard->setFixedSize(100, 28);
        buttons->addWidget(c.standard);
    }
    buttons->addStretch();
    fields->addLayout(buttons);
    fields->addSpacing(14);
    if (note) {
        auto* n = label(page, names[7], note, {});
        n->setWordWrap(true);
        n->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        n->setMinimumWidth(440);
        fields->addWidget(n);
    }
    fields->addStretch();

    // The preview's place on the page, shared by the flat texture and the outfit on the body
    // (one of them shown); it grows with the window.
    c.previewArea = named(new QWidget(page), (std::string("previewArea") + caption).c_str());
    auto* previewRow = new QHBoxLayout(c.previewArea);
    previewRow->setContentsMargins(0, 0, 0, 0);
    previewRow->setSpacing(0);
    auto* area = new app::ScaledArea(QSize(256, 256), Qt::AlignLeft | Qt::AlignTop);
    c.flat = area;
    c.preview = named(area->box(), names[4]);
    previewRow->addWidget(area);
    c.figure = new FigureWidget(c.previewArea);
    c.figure->setObjectName(QString::fromLatin1(names[4]) + QStringLiteral("Body"));
    previewRow->addWidget(c.figure);
    c.previewArea->setFixedSize(260, 260);

    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(12, 12, 32, 0);
    row->setSpacing(36);
    row->addLayout(fields, 1);
    row->addWidget(c.previewArea, 0, Qt::AlignTop);
    tabSkins->addTab(page, mnemonicCaption(caption));
}

QWidget* frmEditSim::buildHandFrame(QWidget* page, const char* frameName, const char* caption,
                                    HandSlot left, HandSlot right, const char* names[],
                                    const QRect& geometry) {
    auto* frame = named(new QGroupBox(QString::fromLatin1(caption), page), frameName);
    frame->setGeometry(geometry);
    frame->setMinimumSize(geometry.size());
    // Two columns of a label, a field and the preview with its Change button, then the
    // frame's buttons; grown, the columns share the width and the previews grow.
    auto* columns = new QHBoxLayout(frame);
    columns->setContentsMargins(10, 0, 8, 4);   // the title takes the top
    columns->setSpacing(0);
    const HandSlot sideSlots[] = {left, right};
    const char* const sideCaptions[] = {"Left Hand", "Right Hand"};
    for (int side = 0; side < 2; ++side) {
        const char** n = names + side * 4;
        HandControls& c = hands_[static_cast<std::size_t>(sideSlots[side])];
        if (side == 1) columns->addSpacing(10);
        auto* column = new QVBoxLayout;
        column->setSpacing(2);
        column->addWidget(label(frame, n[0], sideCaptions[side], {}));
        column->itemAt(0)->widget()->setFixedHeight(16);
        c.texture = field(frame, n[1], {});
        c.texture->setFixedHeight(23);
        c.texture->setMinimumWidth(136);
        column->addWidget(c.texture);
        column->addSpacing(5);
        auto* row = new QHBoxLayout;
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(4);
        auto* area = new app::ScaledArea(QSize(64, 64), Qt::AlignLeft | Qt::AlignTop);
        c.preview = named(area->box(), n[2]);
        row->addWidget(area, 1);
        c.change = button(frame, n[3], "&Change", {});
        c.change->setFixedSize(64, 26);
        row->addWidget(c.change, 0, Qt::AlignTop);
        column->addLayout(row, 1);
        columns->addLayout(column, 1);
    }
    auto* frameButtonColumn = new QVBoxLayout;
    frameButtonColumn->setSpacing(6);
    const char* const frameButtons[] = {"&Default", "Copy Left", "Normal"};
    for (int i = 0; i < 3; ++i) {
        if (!names[8 + i]) continue;
        QPushButton* b = button(frame, names[8 + i], frameButtons[i], {});
        b->setFixedSize(72, 26);
        frameButtonColumn->addWidget(b);
    }
    frameButtonColumn->addStretch();
    columns->addSpacing(8);
    columns->addLayout(frameButtonColumn);
    return frame;
}

void frmEditSim::buildHandsPage() {
    auto* page = new QWidget(tabSkins);
    page->setObjectName(QStringLiteral("pageHands"));
    const char* formal[] = {"Label13", "txtHandFormalLeft", "picHandFormalLeft", "cmdLeftFormalHand",
                            "Label14", "txtHandFormalRight", "picHandFormalRight", "cmdRightFormalHand",
                            "cmdDefFormalHands", "cmdCopyFormalLeft", "cmdNormalFormalHands"};
    const char* open[] = {"Label16", "txtHandOpenLeft", "picHandOpenLeft", "cmdLeftOpenHand",
                          "Label15", "txtHandOpenRight", "picHandOpenRight", "cmdRightOpenHand",
                          "cmdDefOpenHands", "cmdCopyOpenLeft", nullptr};
    const char* point[] = {"Label18", "txtHandPointLeft", "picHandPointLeft", "cmdLeftPointHand",
                           "Label17", "txtHandPointRight", "picHandPointRight", "cmdRightPointHand",
                           "cmdDefPointHands", "cmdCopyPointLeft", nullptr};
    const char* closed[] = {"Label19", "txtHandClosedLeft", "picHandClosedLeft", "cmdleftClosedHand",
                            "Label20", "txtHandClosedRight", "picHandClosedRight", "cmdRightClosedHand",
                            "cmdDefClosedHands", "cmdCopyLeftClosed", nullptr};
    handFrames_ = {
        buildHandFrame(page, "Frame1", "Formal Hands", HandSlot::FormalLeft, HandSlot::FormalRight, formal,
                       QRect(6, 6, 380, 150)),
        buildHandFrame(page, "Frame2", "Normal Hands Open", HandSlot::OpenLeft, HandSlot::OpenRight, open,
                       QRect(392, 6, 380, 150)),
        buildHandFrame(page, "Frame3", "Normal Hands Point", HandSlot::PointLeft, HandSlot::PointRight, point,
                       QRect(6, 162, 380, 150)),
        buildHandFrame(page, "Frame4", "Normal Hands Closed", HandSlot::ClosedLeft, HandSlot::ClosedRight,
                       closed, QRect(392, 162, 380, 150)),
    };
    buildHandsOnTheBody(page);
    // Four frames in two rows; they keep their old size until the window grows, then share
    // what it grew by. The view on the body, shown instead of them, takes the whole page.
    auto* rows = new QVBoxLayout(page);
    rows->setContentsMargins(6, 6, 6, 6);
    rows->setSpacing(6);
    for (std::size_t row = 0; row < 2; ++row) {
        auto* pair = new QHBoxLayout;
        pair->setSpacing(6);
        pair->addWidget(handFrames_[row * 2]);
        pair->addWidget(handFrames_[row * 2 + 1]);
        pair->addStretch();
        rows->addLayout(pair);
    }
    rows->addWidget(handsOnTheBody, 1);
    rows->addStretch();
    tabSkins->addTab(page, mnemonicCaption("Hands"));
}

void frmEditSim::buildHandsOnTheBody(QWidget* page) {
    handsOnTheBody = new QWidget(page);
    handsOnTheBody->setObjectName(QStringLiteral("handsOnTheBody"));
    const char* const captions[] = {"Formal Hands", "Normal Hands Open", "Normal Hands Point",
                                    "Normal Hands Closed"};
    // The poses and their textures on the left; the figure takes what the page grows by.
    auto* poses = new QVBoxLayout;
    poses->setSpacing(0);
    for (std::size_t i = 0; i < 4; ++i) {
        poseChoices_[i] = new QRadioButton(QString::fromLatin1(captions[i]), handsOnTheBody);
        poseChoices_[i]->setFixedHeight(20);
        poses->addWidget(poseChoices_[i]);
        poseTextures_[i] = new QLabel(handsOnTheBody);
        poseTextures_[i]->setFixedHeight(34);
        poseTextures_[i]->setMinimumWidth(380);
        poseTextures_[i]->setWordWrap(true);
        poseTextures_[i]->setContentsMargins(20, 0, 0, 0);
        poses->addWidget(poseTextures_[i]);
        poses->addSpacing(10);
        connect(poseChoices_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on) return;
            shownPose_ = static_cast<HandPose>(i);
            dressFigures();
        });
    }
    poses->addStretch();
    poses->addWidget(new QLabel(QStringLiteral("Choose Texture above to change the hands."), handsOnTheBody));
    poses->addSpacing(20);
    handsFigure = new FigureWidget(handsOnTheBody);
    handsFigure->setObjectName(QStringLiteral("picHandsBody"));
    handsFigure->setMinimumSize(300, 300);
    handsFigure->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* row = new QHBoxLayout(handsOnTheBody);
    row->setContentsMargins(6, 4, 8, 0);
    row->setSpacing(58);
    row->addLayout(poses);
    row->addWidget(handsFigure, 1);
    poseChoices_[static_cast<std::size_t>(shownPose_)]->setChecked(true);
}

bool frmEditSim::openSim(const std::string& path, std::optional<IffFile> alreadyRead,
                           FileIdentity identity) {
    tabSkins->setCurrentIndex(0);
    for (auto* box : {picWebImage, picFaces, picRelImages}) box->clear();
    const bool shown =
        alreadyRead ? model_.openRead(path, std::move(*alreadyRead), identity) : model_.open(path);
    return shown;
}

void frmEditSim::showModel() {
    const WardrobeFields& f = model_.fields();
    txtName->setText(toQString(f.name));
    txtAge->setText(toQString(f.age));
    txtGender->setText(toQString(f.gender));
    txtSkinTone->setText(toQString(f.skinTone));
    // Exclusive buttons can not all be cleared while exclusive.
    for (QRadioButton* option : {optFit, optFat, optSkinny}) option->setAutoExclusive(false);
    optFit->setChecked(f.bodyType == BodyType::Fit);
    optFat->setChecked(f.bodyType == BodyType::Fat);
    optSkinny->setChecked(f.bodyType == BodyType::Skinny);
    for (QRadioButton* option : {optFit, optFat, optSkinny}) option->setAutoExclusive(true);

    for (OutfitKind kind : AllOutfits) {
        const auto i = static_cast<std::size_t>(kind);
        outfits_[i].body->setText(toQString(f.outfit(kind).mesh));
        outfits_[i].skin->setText(toQString(f.outfit(kind).texture));
        outfits_[i].body->setCursorPosition(0);
        outfits_[i].skin->setCursorPosition(0);
        showPicture(outfits_[i].preview, model_.outfitPreview(kind));
        if (!outfits_[i].standard) continue;
        const std::string reason = noDefaultReason(kind, model_.ruleInputs());
        outfits_[i].standard->setEnabled(reason.empty());
        outfits_[i].standard->setToolTip(toQString(reason));
    }
    for (HandSlot slot : AllHandSlots) {
        const auto i = static_cast<std::size_t>(slot);
        hands_[i].texture->setText(toQString(f.hand(slot)));
        showPicture(hands_[i].preview, model_.handPreview(slot));
    }
    dressFigures();
    showPicture(picWebImage, model_.webImage());
    showPicture(picFaces, model_.faces());
    showPicture(picRelImages, model_.relImages());
    setWindowTitle(model_.hasUnsavedChanges() ? QStringLiteral("Edit Wardrobe *")
                                              : QStringLiteral("Edit Wardrobe"));
}

void frmEditSim::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The upper area keeps its arrangement, Save, Cancel and the ensemble buttons at the
    // right edge; the pages take the rest, and their previews grow by the square the
    // window grew by.
    const int w = std::max(width(), WindowWidth);
    const int h = std::max(height(), WindowHeight);
    cmdSave->move(w - 100, 8);
    cmdCancel->move(w - 100, 44);
    ensembleFrame->move(w - 216, 80);
    // The name takes the second row's extra width; the short fields keep theirs beside it.
    const int extra = w - WindowWidth;
    txtName->setFixedWidth(262 + extra);
    int x = 278 + extra;
    for (const auto& [caption, field] : {std::pair{"Label2", txtAge}, {"Label11", txtGender}, {"Label12", txtSkinTone}}) {
        findChild<QLabel*>(QString::fromLatin1(caption))->move(x, 80);
        field->move(x, 98);
        x += 94;
    }
    tabSkins->setGeometry(8, 134, w - 16, h - 142);
    const int grown = std::min(w - WindowWidth, h - WindowHeight);
    for (auto& outfit : outfits_)
        if (outfit.previewArea) outfit.previewArea->setFixedSize(QSize(260, 260) + QSize(grown, grown));
    for (QWidget* frame : handFrames_)
        if (frame) frame->setFixedSize(380 + (w - WindowWidth) / 2, 150 + (h - WindowHeight) / 2);
}

void frmEditSim::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The keyboard starts on the first page's Change button, whatever had it last.
    outfits_[0].change->setFocus(Qt::OtherFocusReason);
}

void frmEditSim::showOnTheBody(bool onTheBody) {
    for (const auto& c : outfits_) {
        c.flat->setVisible(!onTheBody);
        c.figure->setVisible(onTheBody);
    }
    for (QWidget* frame : handFrames_) frame->setVisible(!onTheBody);
    handsOnTheBody->setVisible(onTheBody);
    previewSwitch->setOnTheBody(onTheBody);
}

void frmEditSim::dressFigures() {
    // Dressing waits for a figure to be painted, so only the page in view costs anything.
    const WardrobeFields& f = model_.fields();
    figure::ModelLibrary& library = figure::sessionLibrary(model_.session().gameFolder());
    const std::string head = figure::headEntry(model_.bodyStrings());
    for (OutfitKind kind : AllOutfits)
        outfits_[static_cast<std::size_t>(kind)].figure->dress(
            library, figure::dressRequest(f, head, kind, figure::handsWornWith(kind)));
    for (std::size_t i = 0; i < poseTextures_.size(); ++i) {
        const auto pose = static_cast<HandPose>(i);
        poseTextures_[i]->setText(QStringLiteral("Left: %1\nRight: %2")
                                      .arg(toQString(f.hand(leftSlot(pose))), toQString(f.hand(rightSlot(pose)))));
    }
    handsFigure->dress(library, figure::dressRequest(f, head, figure::outfitWornWith(shownPose_), shownPose_));
}

void frmEditSim::reject() {
    if (model_.confirmDiscard()) QDialog::reject();
}

void frmEditSim::bodyTypeClicked() {
    model_.setBodyType(optFit->isChecked()      ? BodyType::Fit
                       : optFat->isChecked()    ? BodyType::Fat
                       : optSkinny->isChecked() ? BodyType::Skinny
                                                : BodyType::None);
}

}  // namespace drapeline::app
