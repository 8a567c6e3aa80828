#pragma once
// A picture area that keeps what is painted on it: pictures placed at a position (whole,
// scaled, or clipped to a source width), unfilled rectangles and printed text, drawn onto
// an image of the area's size and shown until cleared.

#include <QImage>
#include <QWidget>

#include "shell/thumb_pager.h"

namespace drapeline::app {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // A picture area whose drawing surface is `client` (in `parent`'s coordinates),
    // inside a sunken border drawn around it.
    static PictureBox* framed(QWidget* parent, const QRect& client);

    // Empties the area to its background colour.
    void clear();
    // Shows `picture` at (0, 0) at its own size, like loading a picture into the area.
    void setPicture(const QImage& picture);
    // The last picture given to setPicture (null when cleared).
    const QImage& picture() const { return picture_; }

    // Paints `picture` at (x, y) at its own size, copying only its leftmost
    // `sourceWidth` pixels when that is not negative.
    void paintPicture(const QImage& picture, int x, int y, int sourceWidth = -1);
    // Paints `picture` stretched into the rectangle (x, y, w, h).
    void paintScaled(const QImage& picture, int x, int y, int w, int h);
    // An unfilled rectangle whose corners are (x1, y1) and (x2, y2), both included.
    void drawBox(int x1, int y1, int x2, int y2, const QColor& colour);
    // The two-rectangle selection frame of a thumbnail grid cell.
    void drawCellFrame(int cell, const QColor& colour);
    // Text printed with its top-left corner at (x, y).
    void printText(int x, int y, const QString& text);

    // A thumbnail grid: takes the keyboard focus (its border then shows the highlight
    // colour, apart from the blinking selection frame) and reports its keys.
    void acceptKeyboard();

    // Everything painted so far, at the area's size.
    const QImage& canvas() const { return canvas_; }

signals:
    // Any mouse button pressed, the pointer moved, a double click: in area pixels.
    void mousePressed(QPoint at);
    void mouseMoved(QPoint at);
    void doubleClicked(QPoint at);
    // With the keyboard accepted: a move key, and Enter.
    void gridKey(drapeline::shell::GridKey key);
    void activated();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showFocus(bool focused);

    QImage canvas_;
    QImage picture_;
};

}  // namespace drapeline::app
