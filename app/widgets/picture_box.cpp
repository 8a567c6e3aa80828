#include "app/widgets/picture_box.h"

#include "shell/thumb_grid.h"

#include <QFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QMouseEvent>
#include <QPaintEvent>

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

void PictureBox::clear() {
    picture_ = QImage();
    if (canvas_.size() != size()) canvas_ = QImage(size(), QImage::Format_RGB32);
    canvas_.fill(palette().color(QPalette::Button));
    update();
}

void PictureBox::setPicture(const QImage& picture) {
    clear();
    picture_ = picture;
    paintPicture(picture, 0, 0);
}

void PictureBox::paintPicture(const QImage& picture, int x, int y, int sourceWidth) {
    if (picture.isNull()) return;
    QPainter painter(&canvas_);
    const int w = sourceWidth < 0 ? picture.width() : std::min(sourceWidth, picture.width());
    painter.drawImage(QPoint(x, y), picture, QRect(0, 0, w, picture.height()));
    update(QRect(x, y, w, picture.height()));
}

void PictureBox::paintScaled(const QImage& picture, int x, int y, int w, int h) {
    if (picture.isNull()) return;
    QPainter painter(&canvas_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(x, y, w, h), picture);
    update(QRect(x, y, w, h));
}

void PictureBox::drawBox(int x1, int y1, int x2, int y2, const QColor& colour) {
    QPainter painter(&canvas_);
    painter.setPen(colour);
    painter.drawRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
    update(QRect(QPoint(x1, y1), QPoint(x2, y2)));
}

void PictureBox::drawCellFrame(int cell, const QColor& colour) {
    const shell::GridPoint corner = shell::thumbgrid::frameCorner(cell);
    drawBox(corner.x, corner.y, corner.x + 67, corner.y + 67, colour);
    drawBox(corner.x + 1, corner.y + 1, corner.x + 66, corner.y + 66, colour);
}

void PictureBox::printText(int x, int y, const QString& text) {
    QPainter painter(&canvas_);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.setFont(font());
    const QFontMetrics metrics(font());
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
    update();
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(event->position().toPoint());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint());
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    emit doubleClicked(event->position().toPoint());
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
    painter.drawImage(event->rect(), canvas_, event->rect());
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    QImage grown(size(), QImage::Format_RGB32);
    grown.fill(palette().color(QPalette::Button));
    if (!canvas_.isNull()) {
        QPainter painter(&grown);
        painter.drawImage(QPoint(0, 0), canvas_);
    }
    canvas_ = grown;
}

}  // namespace drapeline::app
