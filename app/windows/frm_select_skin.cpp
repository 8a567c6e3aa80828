#include "app/windows/frm_select_skin.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
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
#include "app/widgets/remembered_place.h"
#include "platform/files.h"
#include "platform/qt/latin1.h"
#include "platform/qt/qt_pictures.h"

namespace drapeline::app {

using namespace skins;

namespace thumbgrid = shell::thumbgrid;
using platform::toQString;

namespace {

const QString BodyCaption = QStringLiteral("Skin Selection - Select A Body And A Skin");
const QSize DefaultSize(770, 529);

// A player who filters by clothing type once wants it each time the chooser opens, until
// the program ends.
bool filterChosen = false;

}  // namespace

frmSelectSkin::frmSelectSkin(platform::Services& services, const shell::GameSession& session,
                             shell::SkinRequest request, QWidget* parent)
    : QDialog(parent), model_(services, session, std::move(request)) {
    setObjectName(QStringLiteral("frmSelectSkin"));
    setWindowTitle(BodyCaption);
    buildControls(services.settings);
    app::rememberPlace(this, services.settings);
    picSkin->clear();
    picThumbs->clear();
    cmdSelect->setDefault(true);
    // Down the left column, then the grid and its paging buttons.
    setTabOrder(chkFilter, txtModelFilter);
    setTabOrder(txtModelFilter, lstModels);
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
        filterChosen = checked;
        model_.setFiltered(checked);
        showModelList();
    });
    connect(txtModelFilter, &QLineEdit::textChanged, this, [this](const QString& text) {
        model_.setNameFilter(platform::fromQString(text));
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
    connect(chkThumbsOnBody, &QCheckBox::toggled, this, &frmSelectSkin::paintThumbnails);
    // Dressed thumbnails are drawn at the size the grid is shown: a grown grid has them
    // drawn again once the window has settled.
    auto* redress = new QTimer(this);
    redress->setSingleShot(true);
    redress->setInterval(150);
    connect(redress, &QTimer::timeout, this, [this] {
        if (chkThumbsOnBody->isChecked()) paintThumbnails();
    });
    connect(picThumbs, &PictureBox::rescaled, redress, qOverload<>(&QTimer::start));
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
    skinArea->setVisible(!figure);
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
    const int side = std::max(64, static_cast<int>(std::lround(64 * picThumbs->scale())));
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
        // Drawn at the size the cell is shown, so a grown grid stays sharp.
        renderer.render(dressed, camera, side, side, drawn, background);
        const shell::GridPoint at = thumbgrid::cellOrigin(static_cast<int>(k));
        picThumbs->paintScaled(QImage(drawn.pixels.data(), drawn.width, drawn.height, drawn.width * 4,
                                      QImage::Format_RGBA8888),
                               at.x, at.y, 64, 64);
    }
}

void frmSelectSkin::buildControls(platform::SettingsStore& settings) {
    lblBody = named(new QLabel(QStringLiteral("Selected Body")), "lblBody");
    chkFilter = named(new QCheckBox(QStringLiteral("Filter By Clothing Type")), "chkFilter");
    txtModelFilter = named(new QLineEdit, "txtModelFilter");
    txtModelFilter->setPlaceholderText(QStringLiteral("Type part of a model's name"));
    txtModelFilter->setClearButtonEnabled(true);
    lstModels = named(new QListWidget, "lstModels");
    skinNameCaption = named(new QLabel(QStringLiteral("Selected Skin Name")), "Label1");
    txtSkinName = app::readOnlyField(nullptr, "txtSkinName", {});
    previewCaption = named(new QLabel(QStringLiteral("Selected Skin")), "Label3");
    skinArea = new app::ScaledArea(QSize(257, 257), Qt::AlignLeft | Qt::AlignTop);
    picSkin = named(skinArea->box(), "picSkin");
    picSkinBody = new FigureWidget;
    picSkinBody->setObjectName(QStringLiteral("picSkinBody"));
    picSkinBody->hide();   // until a sim is dressed; the window's least size leaves it out
    previewSwitch = named(new PreviewSwitch(settings, nullptr), "swPreview");
    previewSwitch->setFixedSize(150, 22);
    gridArea = new app::ScaledArea(QSize(477, 477), Qt::AlignLeft | Qt::AlignTop);
    picThumbs = named(gridArea->box(), "picThumbs");
    picThumbs->setMouseTracking(true);
    picThumbs->acceptKeyboard();
    chkThumbsOnBody = named(new QCheckBox(QStringLiteral("On the body")), "chkThumbsOnBody");
    chkThumbsOnBody->setToolTip(QStringLiteral("Draws each thumbnail as the sim wearing the texture"));
    chkThumbsOnBody->setFixedSize(120, 20);
    cmdSelect = named(new QPushButton(QStringLiteral("Select")), "cmdSelect");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    for (QPushButton* b : {cmdSelect, cmdCancel}) b->setFixedSize(77, 25);

    // The left column at the documented places, anchored to the bottom: what the window
    // grows by goes to the model list and, with the grid, to the preview.
    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(lblBody);
    filterRow->addStretch();
    // The check box's caption runs into the gap before the grid, as it always did; the
    // column's top-left corner never moves, so neither does the check box.
    chkFilter->setParent(this);
    chkFilter->setGeometry(120, 6, 160, 17);
    filterRow->addStrut(17);
    left->addLayout(filterRow);
    left->addSpacing(2);
    left->addWidget(txtModelFilter);
    left->addSpacing(2);
    left->addWidget(lstModels, 1);
    left->addSpacing(8);
    for (QLabel* caption : {skinNameCaption, previewCaption}) caption->setFixedHeight(16);
    left->addWidget(skinNameCaption);
    left->addSpacing(2);
    txtSkinName->setFixedHeight(21);
    left->addWidget(txtSkinName);
    left->addSpacing(1);
    // The caption and the switch share a row that keeps its height when the switch hides.
    auto* header = new QWidget;
    header->setFixedHeight(22);
    auto* headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(0, 0, 0, 0);
    headerRow->addWidget(previewCaption, 0, Qt::AlignVCenter);
    headerRow->addStretch();
    headerRow->addWidget(previewSwitch);
    left->addWidget(header);
    // The flat preview's place: a view of the same texture may stand beside it.
    previewRow = new QHBoxLayout;
    previewRow->setObjectName(QStringLiteral("previewRow"));
    previewRow->setSpacing(8);
    previewRow->addWidget(skinArea);
    previewRow->addWidget(picSkinBody);
    previewRow->addStretch();
    left->addLayout(previewRow);
    left->addSpacing(11);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSelect);
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    left->addLayout(buttons);

    auto* right = new QVBoxLayout;
    right->setSpacing(0);
    right->addWidget(gridArea);
    right->addSpacing(11);
    auto* paging = new QHBoxLayout;
    paging->setSpacing(0);
    std::tie(cmdPrevious, txtPageCount, cmdNext) = app::pagingRow(this, 0, 0);
    // The check box keeps its room when hidden, so the paging buttons stay centred under
    // the grid.
    QSizePolicy kept = chkThumbsOnBody->sizePolicy();
    kept.setRetainSizeWhenHidden(true);
    chkThumbsOnBody->setSizePolicy(kept);
    paging->addSpacing(4);
    paging->addWidget(chkThumbsOnBody);
    paging->addStretch();
    for (QWidget* w : {static_cast<QWidget*>(cmdPrevious), static_cast<QWidget*>(txtPageCount),
                       static_cast<QWidget*>(cmdNext)}) {
        w->setFixedSize(w->size());
        if (w != cmdPrevious) paging->addSpacing(11);
        paging->addWidget(w);
    }
    paging->addStretch();
    paging->addSpacing(4 + 120);
    right->addLayout(paging);
    right->addStretch();

    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(8, 8, 9, 4);
    columns->setSpacing(11);
    columns->addLayout(left, 1);
    columns->addLayout(right);
    setMinimumSize(DefaultSize);
    resize(DefaultSize);
    growAreas();
}

void frmSelectSkin::growAreas() {
    // The grid takes the square the window grows by; the preview what the left column has
    // beyond its list's share.
    const int wider = std::max(0, width() - DefaultSize.width());
    const int taller = std::max(0, height() - DefaultSize.height());
    const int grid = std::min(wider, taller);
    gridArea->setFixedSize(481 + grid, 481 + grid);
    const int preview = std::min(wider - grid, taller * 2 / 3);
    skinArea->setFixedSize(261 + preview, 261 + preview);
    picSkinBody->setFixedSize(skinArea->size());
}

void frmSelectSkin::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    growAreas();
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
                           static_cast<QWidget*>(chkFilter), static_cast<QWidget*>(txtModelFilter)})
            w->hide();
    } else {
        setWindowTitle(BodyCaption);
    }
    model_.open();
    if (model_.request().hands) {
        fillPage();
        return;
    }
    if (filterChosen) {
        chkFilter->setChecked(true);
        model_.setFiltered(true);
    }
    showModelList();
    // Opened on what the sim wears: its model's line, and that model's textures with the
    // sim's texture selected on its page.
    if (const auto line = model_.currentModelLine()) lstModels->setCurrentRow(int(*line));
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
        pagePictures_.clear();
        pagePaths_.clear();
        enablePaging();
        if (!model_.fillPage()) return;
        app::BusyPointer busy;
        markStage(2000);
        const auto files = model_.pageFiles();
        for (const std::size_t i : files) pagePaths_.push_back(model_.textures().files[i]);
        // Only this page's pictures are decoded (on all cores), and kept while it is shown.
        pagePictures_ = decodeAll(pagePaths_, model_.pictures());
        paintThumbnails();
        markStage(3000);
        // The selected texture lies on this page; its picture was just decoded.
        platform::PicturePtr selected;
        if (model_.previewFile() && !files.empty() && *model_.previewFile() >= files.front() &&
            *model_.previewFile() - files.front() < pagePictures_.size())
            selected = pagePictures_[*model_.previewFile() - files.front()];
        showPreview(selected);
        txtPageCount->setText(toQString(model_.pageText()));
    });
}

void frmSelectSkin::paintThumbnails() {
    picThumbs->clear();
    const bool dressed = sim_ && !model_.request().hands && chkThumbsOnBody->isChecked();
    if (dressed) paintDressedThumbnails(pagePictures_);
    for (std::size_t k = 0; k < pagePictures_.size(); ++k) {
        const shell::GridPoint at = thumbgrid::cellOrigin(static_cast<int>(k));
        const QImage image = platform::imageOf(pagePictures_[k]);
        if (image.isNull()) continue;
        if (model_.request().hands) picThumbs->paintPicture(image, at.x, at.y);
        else if (!dressed) picThumbs->paintScaled(image, at.x, at.y, 64, 64);
        // The texture's name, on the picture's lowest part.
        const std::string name = platform::fileNameOf(pagePaths_[k]);
        picThumbs->printCaption(QRect(at.x, at.y + 51, 64, 13),
                                toQString(name.size() > 4 ? name.substr(0, name.size() - 4) : name));
    }
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
