#include "app/widgets/figure_widget.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QWheelEvent>

#include "platform/qt/latin1.h"

namespace drapeline::app {

namespace {

constexpr char SettingKey[] = "Preview On The Body";

QToolButton* toolButton(QWidget* parent, const QString& caption, const QString& tip) {
    auto* b = new QToolButton(parent);
    b->setText(caption);
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::NoFocus);   // the keys belong to the figure area itself
    b->setAutoRaise(true);
    return b;
}

Rgba rgbaOf(const QColor& c) {
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue()), 255};
}

}  // namespace

FigureWidget::FigureWidget(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::OpenHandCursor);
    setToolTip(QStringLiteral("Drag to turn, wheel to zoom, double-click for the front view.\n"
                              "Keys: Left and Right turn, Home resets."));
    frontButton = toolButton(this, QStringLiteral("Front"), QStringLiteral("Look at the front"));
    backButton = toolButton(this, QStringLiteral("Back"), QStringLiteral("Look at the back"));
    connect(frontButton, &QToolButton::clicked, this, [this] {
        if (view()) view_->front();
        turned();
    });
    connect(backButton, &QToolButton::clicked, this, [this] {
        if (view()) view_->back();
        turned();
    });
}

FigureWidget::~FigureWidget() = default;

void FigureWidget::dress(figure::ModelLibrary& library, const figure::DressRequest& request) {
    if (!view_ || libraryOf_ != &library) {
        view_ = std::make_unique<figure::FigureView>(library);
        libraryOf_ = &library;
    }
    pending_ = request;
    update();
}

void FigureWidget::dressPending() {
    if (!view_ || !pending_) return;
    view_->show(*pending_);
    pending_.reset();
}

const figure::FigureView* FigureWidget::view() {
    dressPending();
    return view_.get();
}

QImage FigureWidget::picture() {
    QImage image(size(), QImage::Format_ARGB32);
    render(&image);
    return image;
}

void FigureWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.fillRect(area, palette().color(QPalette::Button));
    dressPending();
    if (!view_ || area.isEmpty()) return;
    const RgbaImage& drawn = view_->image(area.width(), area.height(), rgbaOf(palette().color(QPalette::Button)));
    const QImage image(drawn.pixels.data(), drawn.width, drawn.height, drawn.width * 4, QImage::Format_RGBA8888);
    painter.drawImage(area.topLeft(), image);

    // What could not be found, along the foot of the area, over the figure.
    if (view_->missing().empty()) return;
    QString text;
    for (const auto& line : view_->missing()) text += platform::toQString(line) + QLatin1Char('\n');
    text.chop(1);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    painter.setFont(small);
    const QRect foot = area.adjusted(4, 4, -4, -4);
    const QRect needed = painter.boundingRect(foot, Qt::AlignBottom | Qt::AlignLeft | Qt::TextWordWrap, text);
    QColor shade = palette().color(QPalette::Window);
    shade.setAlpha(220);
    painter.fillRect(needed.adjusted(-2, -1, 2, 1), shade);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(foot, Qt::AlignBottom | Qt::AlignLeft | Qt::TextWordWrap, text);
}

void FigureWidget::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    const QRect area = contentsRect();
    const QSize back = backButton->sizeHint();
    const QSize front = frontButton->sizeHint();
    backButton->setGeometry(area.right() - back.width(), area.top(), back.width(), back.height());
    frontButton->setGeometry(area.right() - back.width() - front.width(), area.top(), front.width(), front.height());
}

void FigureWidget::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    dragFrom_ = event->position().toPoint().x();
    setCursor(Qt::ClosedHandCursor);
}

void FigureWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || !view()) return;
    const int x = event->position().toPoint().x();
    view_->drag(x - dragFrom_, contentsRect().width());
    dragFrom_ = x;
    turned();
}

void FigureWidget::mouseDoubleClickEvent(QMouseEvent*) {
    if (view()) view_->camera().reset();
    turned();
}

void FigureWidget::wheelEvent(QWheelEvent* event) {
    if (!view()) return;
    view_->wheel(event->angleDelta().y());
    turned();
    event->accept();
}

void FigureWidget::keyPressEvent(QKeyEvent* event) {
    if (!view()) return QFrame::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Left: view_->turnLeft(); break;
    case Qt::Key_Right: view_->turnRight(); break;
    case Qt::Key_Home: view_->camera().reset(); break;
    default: return QFrame::keyPressEvent(event);
    }
    turned();
}

void FigureWidget::turned() {
    setCursor(Qt::OpenHandCursor);
    update();
}

PreviewSwitch::PreviewSwitch(platform::SettingsStore& settings, QWidget* parent)
    : QWidget(parent), settings_(settings) {
    texture = toolButton(this, QStringLiteral("Texture"), QStringLiteral("Show the flat texture"));
    body = toolButton(this, QStringLiteral("On the body"), QStringLiteral("Show the outfit on the sim"));
    auto* group = new QButtonGroup(this);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (QToolButton* b : {texture, body}) {
        b->setCheckable(true);
        b->setAutoRaise(false);
        b->setFocusPolicy(Qt::TabFocus);
        group->addButton(b);
        row->addWidget(b);
    }
    row->addStretch();
    setOnTheBody(previewOnTheBody(settings_));
    connect(group, &QButtonGroup::buttonClicked, this, [this](QAbstractButton* clicked) {
        const bool onBody = clicked == body;
        settings_.setValue(SettingKey, onBody ? "1" : "0");
        emit switched(onBody);
    });
}

bool PreviewSwitch::onTheBody() const { return body->isChecked(); }

void PreviewSwitch::setOnTheBody(bool onTheBody) {
    (onTheBody ? body : texture)->setChecked(true);
}

bool previewOnTheBody(const platform::SettingsStore& settings) { return settings.value(SettingKey) != "0"; }

}  // namespace drapeline::app
