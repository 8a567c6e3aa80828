#pragma once
// A picture area that keeps what is painted on it: pictures placed at a position (whole,
// scaled, or clipped to a source width), unfilled rectangles and printed text, shown until
// cleared. Everything is placed in the area's design pixels (the documented geometry);
// when the area is shown larger, what was painted is drawn again from its sources at the
// larger size, so pictures stay sharp instead of a small drawing being blown up.

#include <QImage>
#include <QWidget>
#include <vector>

#include "shell/thumb_pager.h"

class QFrame;

namespace drapeline::app {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // A picture area whose drawing surface is `client` (in `parent`'s coordinates),
    // inside a sunken border drawn around it. It keeps that size.
    static PictureBox* framed(QWidget* parent, const QRect& client);

    // The size everything is placed in; the area's own size when never set.
    void setDesignSize(QSize size);
    QSize designSize() const { return design_.isEmpty() ? size() : design_; }
    // Shown pixels per design pixel (1 at the design size).
    double scale() const;
    // A design point's place on the widget, and back.
    QPoint toShown(QPoint design) const;

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
    // A caption centred in the rectangle on a pale band, elided in the middle when it
    // does not fit (the band and the text grow with the area).
    void printCaption(const QRect& box, const QString& text);

    // A thumbnail grid: takes the keyboard focus (its border then shows the highlight
    // colour, apart from the blinking selection frame) and reports its keys.
    void acceptKeyboard();

    // Everything painted so far, in shown pixels (design pixels at the design size).
    const QImage& canvas() const { return canvas_; }

signals:
    // Any mouse button pressed, the pointer moved, a double click: in design pixels.
    void mousePressed(QPoint at);
    void mouseMoved(QPoint at);
    void doubleClicked(QPoint at);
    // With the keyboard accepted: a move key, and Enter.
    void gridKey(drapeline::shell::GridKey key);
    void activated();
    // The area was shown at another scale: children placed in design pixels move.
    void rescaled();

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
    // What was painted since the last clear, in design pixels, so that a new size can
    // draw it again.
    struct Stroke {
        enum Kind { Picture, Box, Text, Caption } kind = Picture;
        QImage image;
        QRectF target;   // Picture: where; Box: the rectangle
        QRectF source;   // Picture: the part of the image
        QColor colour;
        QString text;
    };
    void paintStroke(const Stroke& stroke);
    void remember(Stroke stroke);
    void redraw();
    QPointF toDesign(QPointF shown) const;
    void showFocus(bool focused);

    QSize design_;
    QImage canvas_;
    QImage picture_;
    std::vector<Stroke> strokes_;
};

// A picture area that grows with the layout it sits in: the largest copy of its design
// rectangle (kept in proportion) that fits, inside the same sunken border as a framed
// area. At its smallest it is the design size.
class ScaledArea : public QWidget {
    Q_OBJECT
public:
    ScaledArea(QSize design, Qt::Alignment alignment, QWidget* parent = nullptr);
    PictureBox* box() const { return box_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QSize design_;
    Qt::Alignment alignment_;
    QFrame* border_;
    PictureBox* box_;
};

}  // namespace drapeline::app
