#include "app/windows/frm_select_skin.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <cstring>
#include <exception>
#include <thread>

#include "shell/thumb_grid.h"
#include "app/widgets/busy_pointer.h"
#include "app/widgets/figure_widget.h"
#include "figure/renderer.h"
#include "app/widgets/picture_box.h"
#include "core/errors.h"
#include "app/widgets/controls.h"
#include "platform/qt/latin1.h"
#include "platform/qt/qt_pictures.h"

namespace drapeline::app {

using namespace skins;

namespace thumbgrid = shell::thumbgrid;
using platform::toQString;

namespace {

const QString BodyCaption = QStringLiteral("Skin Selection - Select A Body And A Skin");

}  // namespace

frmSelectSkin::frmSelectSkin(platform::Services& services, const shell::GameSession& session,
                             shell::SkinRequest request, QWidget* parent)
    : QDialog(parent), model_(services, session, std::move(request)) {
    setObjectName(QStringLiteral("frmSelectSkin"));
    setWindowTitle(BodyCaption);
    setFixedSize(770, 529);

    lblBody = named(new QLabel(QStringLiteral("Selected Body"), this), "lblBody");
    lblBody->setGeometry(8, 8, 100, 13);
    chkFilter = named(new QCheckBox(QStringLiteral("Filter By Clothing Type"), this), "chkFilter");
    chkFilter->setGeometry(120, 6, 160, 17);
    lstModels = named(new QListWidget(this), "lstModels");
    lstModels->setGeometry(8, 24, 261, 134);
    skinNameCaption = named(new QLabel(QStringLiteral("Selected Skin Name"), this), "Label1");
    skinNameCaption->setGeometry(8, 166, 160, 16);
    txtSkinName = app::readOnlyField(this, "txtSkinName", QRect(8, 184, 261, 21));
    previewCaption = named(new QLabel(QStringLiteral("Selected Skin"), this), "Label3");
    previewCaption->setGeometry(8, 210, 160, 16);
    picSkin = named(app::PictureBox::framed(this, QRect(10, 230, 257, 257)), "picSkin");
    picSkinBody = new FigureWidget(this);
    picSkinBody->setObjectName(QStringLiteral("picSkinBody"));
    picSkinBody->setGeometry(picSkin->parentWidget()->geometry());
    previewSwitch = named(new PreviewSwitch(services.settings, this), "swPreview");
    previewSwitch->setGeometry(120, 206, 150, 22);
    picThumbs = named(app::PictureBox::framed(this, QRect(282, 10, 477, 477)), "picThumbs");
    chkThumbsOnBody = named(new QCheckBox(QStringLiteral("On the body"), this), "chkThumbsOnBody");
    chkThumbsOnBody->setToolTip(QStringLiteral("Draws each thumbnail as the sim wearing the texture"));
    chkThumbsOnBody->setGeometry(284, 502, 120, 20);
    picThumbs->setMouseTracking(true);
    picThumbs->acceptKeyboard();
    cmdSelect = named(new QPushButton(QStringLiteral("Select"), this), "cmdSelect");
    cmdSelect->setGeometry(8, 500, 77, 25);
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    cmdCancel->setGeometry(192, 500, 77, 25);
    std::tie(cmdPrevious, txtPageCount, cmdNext) = app::pagingRow(this, 412, 500);
    picSkin->clear();
    picThumbs->clear();
    cmdSelect->setDefault(true);
    // Down the left column, then the grid and its paging buttons.
    setTabOrder(chkFilter, lstModels);
    setTabOrder(lstModels, cmdSelect);
    setTabOrder(cmdSelect, cmdCancel);
    setTabOrder(cmdCancel, picThumbs);
    setTabOrder(picThumbs, chkThumbsOnBody);
    setTabOrder(chkThumbsOnBody, cmdPrevious);
    setTabOrder(cmdPrevious, cmdNext);
    enablePaging();

    blinkTimer = new QTimer(this);
    blinkTimer->setObjectName(QStringLiteral("Timer1"));
    blinkTimer->setInterval(250);
    connect(blinkTimer, &QTimer::timeout, this, &frmSelectSkin::Timer1_Timer);
    blinkTimer->start();

    connect(chkFilter, &QCheckBox::clicked, this, [this](bool checked) {
        model_.setFiltered(checked);
        showModelList();
    });
    // A click or a key that makes a line current loads its textures.
    connect(lstModels, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (refreshingList_ || !item) return;
        app::BusyPointer busy;
        picSkin->clear();
        txtSkinName->clear();
        if (model_.chooseModel(platform::fromQString(item->text()),
                                   [this](const SelectSkinModel::Search& search) { return runStoppable(search); }))
            fillPage();
    });
    connect(picThumbs, &app::PictureBox::mousePressed, this,
            [this](QPoint at) { picThumbs_MouseDown(at.x(), at.y()); });
    connect(picThumbs, &app::PictureBox::mouseMoved, this, [this](QPoint at) {
        if (model_.fileCount() > 0) picThumbs->setToolTip(toQString(model_.tooltipAt(at.x(), at.y())));
    });
    connect(picThumbs, &app::PictureBox::doubleClicked, cmdSelect, &QPushButton::click);
    connect(picThumbs, &app::PictureBox::activated, cmdSelect, &QPushButton::click);
    connect(picThumbs, &app::PictureBox::gridKey, this, &frmSelectSkin::picThumbs_KeyDown);
    connect(cmdNext, &QPushButton::clicked, this, [this] {
        if (model_.nextPage()) fillPage();
    });
    connect(cmdPrevious, &QPushButton::clicked, this, [this] {
        if (model_.previousPage()) fillPage();
    });
    connect(cmdSelect, &QPushButton::clicked, this, [this] {
        if (auto c = model_.choice()) {
            choice_ = std::move(c);
            accept();
        }
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(previewSwitch, &PreviewSwitch::switched, this, &frmSelectSkin::showOnTheBody);
    connect(chkThumbsOnBody, &QCheckBox::toggled, this, [this] {
        if (model_.fileCount() > 0) fillPage();
    });
    showOnTheBody(false);
}

void frmSelectSkin::dressOn(figure::DressRequest sim) {
    sim_ = std::move(sim);
    showOnTheBody(previewSwitch->onTheBody());
}

void frmSelectSkin::showOnTheBody(bool onTheBody) {
    // Only a sim to dress makes the figure worth showing.
    previewSwitch->setVisible(sim_.has_value());
    chkThumbsOnBody->setVisible(sim_.has_value() && !model_.request().hands);
    const bool figure = sim_ && onTheBody;
    picSkin->parentWidget()->setVisible(!figure);
    picSkinBody->setVisible(figure);
    // Until a texture is chosen the sim wears what it wears now.
    if (figure)
        picSkinBody->dress(figure::sessionLibrary(model_.session().gameFolder()),
                           model_.skinName().empty() ? *sim_ : wearing(model_.skinName()));
}

figure::DressRequest frmSelectSkin::wearing(const std::string& texture) const {
    figure::DressRequest dressed = *sim_;
    if (model_.request().hands) {
        dressed.leftHand.texture = texture;
        dressed.rightHand.texture = texture;
    } else {
        dressed.body = {model_.selectedModel(), texture};
    }
    return dressed;
}

void frmSelectSkin::paintDressedThumbnails(const std::vector<platform::PicturePtr>& pictures) {
    // The model is dressed once; each texture of the page is worn in turn.
    figure::DressedFigure dressed = figure::dress(figure::sessionLibrary(model_.session().gameFolder()), wearing({}));
    figure::Renderer renderer;
    figure::Camera camera;
    RgbaImage drawn;
    const QColor face = palette().color(QPalette::Button);
    const Rgba background{static_cast<std::uint8_t>(face.red()), static_cast<std::uint8_t>(face.green()),
                          static_cast<std::uint8_t>(face.blue()), 255};
    for (std::size_t k = 0; k < pictures.size(); ++k) {
        const QImage texture = platform::imageOf(pictures[k]).convertToFormat(QImage::Format_RGBA8888);
        if (texture.isNull()) continue;
        auto worn = std::make_shared<RgbaImage>(texture.width(), texture.height());
        for (int y = 0; y < texture.height(); ++y)
            std::memcpy(worn->pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(texture.width()) * 4,
                        texture.constScanLine(y), static_cast<std::size_t>(texture.width()) * 4);
        figure::wearBodyTexture(dressed, std::move(worn));
        renderer.render(dressed, camera, 64, 64, drawn, background);
        const shell::GridPoint at = thumbgrid::cellOrigin(static_cast<int>(k));
        picThumbs->paintPicture(QImage(drawn.pixels.data(), drawn.width, drawn.height, drawn.width * 4,
                                       QImage::Format_RGBA8888),
                                at.x, at.y);
    }
}

int frmSelectSkin::exec() {
    Form_Activate();
    return QDialog::exec();
}

void frmSelectSkin::done(int result) {
    closing_ = true;
    QDialog::done(result);
}

std::optional<TextureSearch> frmSelectSkin::runStoppable(const SelectSkinModel::Search& search) {
    // The busy pointer lets pending events run, and a Cancel among them has closed the
    // window already.
    if (closing_) return std::nullopt;
    // While the textures load only Cancel and the window's close box answer; the rest
    // would start another search inside this one.
    std::vector<QWidget*> controls;
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != cmdCancel && w->isEnabled()) controls.push_back(w);
    // Disabling the focused control hands its focus on; it gets it back afterwards.
    const QPointer<QWidget> focused = QApplication::focusWidget();
    for (QWidget* w : controls) w->setEnabled(false);

    std::optional<TextureSearch> found;
    std::exception_ptr error;
    QEventLoop loop;
    {
        std::jthread worker([&] {
            try {
                found = search(closing_);
            } catch (...) {
                error = std::current_exception();
            }
            QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
        });
        loop.exec();
    }
    for (QWidget* w : controls) w->setEnabled(true);
    if (focused && !closing_) focused->setFocus(Qt::OtherFocusReason);
    if (error) std::rethrow_exception(error);
    if (closing_) return std::nullopt;
    return found;
}

void frmSelectSkin::Form_Activate() {
    if (activated_) return;
    activated_ = true;
    app::BusyPointer busy;
    if (model_.request().hands) {
        setWindowTitle(QStringLiteral("Select Hand Skin"));
        for (QWidget* w : {static_cast<QWidget*>(lblBody), static_cast<QWidget*>(lstModels),
                           static_cast<QWidget*>(chkFilter)})
            w->hide();
    } else {
        setWindowTitle(BodyCaption);
    }
    model_.open();
    if (model_.request().hands) fillPage();
    else showModelList();
}

void frmSelectSkin::showModelList() {
    refreshingList_ = true;
    lstModels->clear();
    for (const auto& line : model_.modelLines()) lstModels->addItem(toQString(line));
    refreshingList_ = false;
}

void frmSelectSkin::enablePaging() {
    cmdPrevious->setEnabled(model_.pager().canGoPrevious());
    cmdNext->setEnabled(model_.pager().canGoNext());
}

void frmSelectSkin::picThumbs_KeyDown(shell::GridKey key) {
    guarded("frmSelectSkin", "picThumbs_KeyDown", Stages::None, [&] {
        picThumbs->drawCellFrame(model_.pager().cell(), palette().color(QPalette::Button));
        const auto move = model_.keyMove(key);
        if (move.pageChanged) fillPage();
        else if (move.moved) showPreview();
    });
}

void frmSelectSkin::fillPage() {
    const char* const procedure = model_.request().hands ? "msFillHandBMPs" : "msFillThumbs";
    guarded("frmSelectSkin", procedure, Stages::Marked, [&] {
        markStage(1000);
        picThumbs->clear();
        enablePaging();
        if (!model_.fillPage()) return;
        app::BusyPointer busy;
        markStage(2000);
        const auto files = model_.pageFiles();
        std::vector<std::string> paths;
        for (const std::size_t i : files) paths.push_back(model_.textures().files[i]);
        // Only this page's pictures are decoded (on all cores), and none outlives it.
        const auto pictures = decodeAll(paths, model_.pictures());
        const bool dressed = sim_ && !model_.request().hands && chkThumbsOnBody->isChecked();
        if (dressed) paintDressedThumbnails(pictures);
        for (std::size_t k = 0; k < pictures.size() && !dressed; ++k) {
            const shell::GridPoint at = thumbgrid::cellOrigin(static_cast<int>(k));
            const QImage image = platform::imageOf(pictures[k]);
            if (image.isNull()) continue;
            if (model_.request().hands) picThumbs->paintPicture(image, at.x, at.y);
            else picThumbs->paintScaled(image, at.x, at.y, 64, 64);
        }
        markStage(3000);
        // The selected texture lies on this page; its picture was just decoded.
        platform::PicturePtr selected;
        if (model_.previewFile() && !files.empty() && *model_.previewFile() >= files.front() &&
            *model_.previewFile() - files.front() < pictures.size())
            selected = pictures[*model_.previewFile() - files.front()];
        showPreview(selected);
        txtPageCount->setText(toQString(model_.pageText()));
    });
}

void frmSelectSkin::showPreview(const platform::PicturePtr& alreadyLoaded) {
    txtSkinName->setText(toQString(model_.skinName()));
    showOnTheBody(previewSwitch->onTheBody());
    if (!model_.previewFile()) return;
    const QImage image = platform::imageOf(
        alreadyLoaded ? alreadyLoaded : model_.pictures().load(model_.textures().files[*model_.previewFile()]));
    if (image.isNull()) picSkin->clear();
    else picSkin->setPicture(image);
}

void frmSelectSkin::picThumbs_MouseDown(int x, int y) {
    guarded("frmSelectSkin", "picThumbs_MouseDown", Stages::None, [&] {
        picThumbs->drawCellFrame(model_.pager().cell(), palette().color(QPalette::Button));
        if (model_.selectAt(x, y)) showPreview();
    });
}

void frmSelectSkin::Timer1_Timer() {
    blink_ = !blink_;
    picThumbs->drawCellFrame(model_.pager().cell(), blink_ ? palette().color(QPalette::Button) : QColor(Qt::white));
}

}  // namespace drapeline::app
