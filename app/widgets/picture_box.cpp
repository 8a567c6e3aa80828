#include "app/widgets/picture_box.h"

#include "shell/thumb_grid.h"

#include <QFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace drapeline::app {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

PictureBox* PictureBox::framed(QWidget* parent, const QRect& client) {
    auto* border = new QFrame(parent);
    border->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    border->setLineWidth(2);
    border->setGeometry(client.adjusted(-2, -2, 2, 2));
    auto* box = new PictureBox(border);
    box->setGeometry(2, 2, client.width(), client.height());
    return box;
}

void PictureBox::setDesignSize(QSize size) {
    design_ = size;
    redraw();
}

double PictureBox::scale() const {
    const QSize d = designSize();
    if (d.isEmpty() || design_.isEmpty()) return 1.0;
    return std::min(double(width()) / d.width(), double(height()) / d.height());
}

QPoint PictureBox::toShown(QPoint design) const {
    const double s = scale();
    return {int(std::lround(design.x() * s)), int(std::lround(design.y() * s))};
}

QPointF PictureBox::toDesign(QPointF shown) const { return shown / scale(); }

void PictureBox::clear() {
    picture_ = QImage();
    strokes_.clear();
    redraw();
}

void PictureBox::setPicture(const QImage& picture) {
    clear();
    picture_ = picture;
    paintPicture(picture, 0, 0);
}

void PictureBox::paintPicture(const QImage& picture, int x, int y, int sourceWidth) {
    if (picture.isNull()) return;
    const int w = sourceWidth < 0 ? picture.width() : std::min(sourceWidth, picture.width());
    remember({Stroke::Picture, picture, QRectF(x, y, w, picture.height()), QRectF(0, 0, w, picture.height()), {}, {}});
}

void PictureBox::paintScaled(const QImage& picture, int x, int y, int w, int h) {
    if (picture.isNull()) return;
    remember({Stroke::Picture, picture, QRectF(x, y, w, h), QRectF(picture.rect()), {}, {}});
}

void PictureBox::drawBox(int x1, int y1, int x2, int y2, const QColor& colour) {
    const QRectF box(QPointF(x1, y1), QPointF(x2, y2));
    // A blinking frame is drawn over and over: only its latest colour is kept.
    std::erase_if(strokes_, [&](const Stroke& s) { return s.kind == Stroke::Box && s.target == box; });
    remember({Stroke::Box, {}, box, {}, colour, {}});
}

void PictureBox::drawCellFrame(int cell, const QColor& colour) {
    const shell::GridPoint corner = shell::thumbgrid::frameCorner(cell);
    drawBox(corner.x, corner.y, corner.x + 67, corner.y + 67, colour);
    drawBox(corner.x + 1, corner.y + 1, corner.x + 66, corner.y + 66, colour);
}

void PictureBox::printText(int x, int y, const QString& text) {
    remember({Stroke::Text, {}, QRectF(x, y, 0, 0), {}, palette().color(QPalette::ButtonText), text});
}

void PictureBox::printCaption(const QRect& box, const QString& text) {
    remember({Stroke::Caption, {}, QRectF(box), {}, palette().color(QPalette::ButtonText), text});
}

void PictureBox::remember(Stroke stroke) {
    paintStroke(stroke);
    strokes_.push_back(std::move(stroke));
}

void PictureBox::paintStroke(const Stroke& stroke) {
    QPainter painter(&canvas_);
    const double s = scale();
    switch (stroke.kind) {
    case Stroke::Picture: {
        painter.scale(s, s);
        if (stroke.target.size() != stroke.source.size() || s != 1.0)
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(stroke.target, stroke.image, stroke.source);
        update(QRectF(stroke.target.topLeft() * s, stroke.target.size() * s).toAlignedRect().adjusted(-1, -1, 1, 1));
        break;
    }
    case Stroke::Box: {
        // A line of the design's one pixel stays a whole number of shown pixels wide, so
        // that drawing the frame in the background colour wipes exactly what it drew.
        const int x1 = int(std::floor(stroke.target.left() * s));
        const int y1 = int(std::floor(stroke.target.top() * s));
        const int x2 = int(std::floor((stroke.target.right() + 1) * s)) - 1;
        const int y2 = int(std::floor((stroke.target.bottom() + 1) * s)) - 1;
        const int line = std::max(1, int(std::floor(s)));
        painter.fillRect(QRect(x1, y1, x2 - x1 + 1, line), stroke.colour);
        painter.fillRect(QRect(x1, y2 - line + 1, x2 - x1 + 1, line), stroke.colour);
        painter.fillRect(QRect(x1, y1, line, y2 - y1 + 1), stroke.colour);
        painter.fillRect(QRect(x2 - line + 1, y1, line, y2 - y1 + 1), stroke.colour);
        update(QRect(x1, y1, x2 - x1 + 1, y2 - y1 + 1));
        break;
    }
    case Stroke::Caption: {
        // Drawn in shown pixels, so that the elision fits the text at the size it is seen.
        const QRectF band(stroke.target.topLeft() * s, stroke.target.size() * s);
        QColor pale = palette().color(QPalette::Button);
        pale.setAlpha(200);
        painter.fillRect(band, pale);
        QFont small = font();
        small.setPixelSize(std::max(8, int(std::lround(band.height() * 0.8))));
        painter.setFont(small);
        painter.setPen(stroke.colour);
        const QString shown = QFontMetrics(small).elidedText(stroke.text, Qt::ElideMiddle, int(band.width()) - 2);
        painter.drawText(band, Qt::AlignCenter, shown);
        update(band.toAlignedRect());
        break;
    }
    case Stroke::Text: {
        painter.scale(s, s);
        painter.setPen(stroke.colour);
        painter.setFont(font());
        const QFontMetrics metrics(font());
        painter.drawText(QPointF(stroke.target.x(), stroke.target.y() + metrics.ascent()), stroke.text);
        update();
        break;
    }
    }
}

void PictureBox::redraw() {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (canvas_.size() != pixels || canvas_.devicePixelRatio() != ratio) {
        canvas_ = QImage(pixels, QImage::Format_RGB32);
        canvas_.setDevicePixelRatio(ratio);
    }
    canvas_.fill(palette().color(QPalette::Button));
    for (const Stroke& stroke : strokes_) paintStroke(stroke);
    update();
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(toDesign(event->position()).toPoint());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(toDesign(event->position()).toPoint());
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    emit doubleClicked(toDesign(event->position()).toPoint());
}

void PictureBox::acceptKeyboard() { setFocusPolicy(Qt::StrongFocus); }

void PictureBox::keyPressEvent(QKeyEvent* event) {
    using shell::GridKey;
    std::optional<GridKey> key;
    switch (event->key()) {
    case Qt::Key_Left: key = GridKey::Left; break;
    case Qt::Key_Right: key = GridKey::Right; break;
    case Qt::Key_Up: key = GridKey::Up; break;
    case Qt::Key_Down: key = GridKey::Down; break;
    case Qt::Key_Home: key = GridKey::Home; break;
    case Qt::Key_End: key = GridKey::End; break;
    case Qt::Key_PageUp: key = GridKey::PageUp; break;
    case Qt::Key_PageDown: key = GridKey::PageDown; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        emit activated();
        return;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
    emit gridKey(*key);
}

void PictureBox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    showFocus(true);
}

void PictureBox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    showFocus(false);
}

void PictureBox::showFocus(bool focused) {
    // The sunken border around a framed area turns into the highlight colour: the cells'
    // own frames blink inside it and stay visible.
    auto* border = qobject_cast<QFrame*>(parentWidget());
    if (!border || border->lineWidth() != 2) return;
    border->setStyleSheet(focused ? QStringLiteral(".QFrame { border: 2px solid palette(highlight); }")
                                  : QString());
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setClipRect(event->rect());
    painter.drawImage(QPointF(0, 0), canvas_);
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    redraw();
    emit rescaled();
}

ScaledArea::ScaledArea(QSize design, Qt::Alignment alignment, QWidget* parent)
    : QWidget(parent), design_(design), alignment_(alignment) {
    border_ = new QFrame(this);
    border_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    border_->setLineWidth(2);
    box_ = new PictureBox(border_);
    box_->setDesignSize(design);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    border_->setGeometry(0, 0, design.width() + 4, design.height() + 4);
    box_->setGeometry(2, 2, design.width(), design.height());
}

QSize ScaledArea::sizeHint() const { return design_ + QSize(4, 4); }
QSize ScaledArea::minimumSizeHint() const { return design_ + QSize(4, 4); }

void ScaledArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const double s = std::max(1.0, std::min(double(width() - 4) / design_.width(),
                                            double(height() - 4) / design_.height()));
    const QSize inner(int(std::floor(design_.width() * s)), int(std::floor(design_.height() * s)));
    const QSize outer = inner + QSize(4, 4);
    const QRect placed = QStyle::alignedRect(layoutDirection(), alignment_, outer, rect());
    border_->setGeometry(placed);
    box_->setGeometry(2, 2, inner.width(), inner.height());
}

}  // namespace drapeline::app
