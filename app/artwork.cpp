#include "app/artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <functional>

namespace drapeline::app {

namespace {

// A coat hanger: the hook, the shoulders and the bar.
void drawHanger(QPainter& p, QPointF top, qreal width) {
    QPainterPath hook;
    hook.moveTo(top + QPointF(0, 34));
    hook.lineTo(top + QPointF(0, 22));
    hook.cubicTo(top + QPointF(0, 14), top + QPointF(12, 12), top + QPointF(12, 5));
    hook.cubicTo(top + QPointF(12, -3), top + QPointF(-2, -5), top + QPointF(-6, 2));
    QPainterPath body;
    body.moveTo(top + QPointF(0, 34));
    body.lineTo(top + QPointF(width / 2, 74));
    body.quadTo(top + QPointF(width / 2 + 4, 80), top + QPointF(width / 2 - 6, 80));
    body.lineTo(top + QPointF(-width / 2 + 6, 80));
    body.quadTo(top + QPointF(-width / 2 - 4, 80), top + QPointF(-width / 2, 74));
    body.closeSubpath();
    QPen pen(QColor(240, 220, 170), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.drawPath(body);
}

// A draped cloth hanging from the hanger's bar, in folds.
void drawDrape(QPainter& p, QPointF barLeft, qreal width, qreal length, const QColor& colour) {
    QPainterPath cloth;
    cloth.moveTo(barLeft);
    cloth.lineTo(barLeft + QPointF(width, 0));
    cloth.cubicTo(barLeft + QPointF(width + 10, length * 0.5), barLeft + QPointF(width - 6, length * 0.8),
                  barLeft + QPointF(width + 4, length));
    const int folds = 5;
    for (int i = folds; i > 0; --i) {
        const qreal x0 = width * i / folds;
        const qreal x1 = width * (i - 1) / folds;
        cloth.quadTo(barLeft + QPointF((x0 + x1) / 2, length + (i % 2 ? 12 : -4)),
                     barLeft + QPointF(x1 - (i == 1 ? 4 : 0), length));
    }
    cloth.cubicTo(barLeft + QPointF(6, length * 0.8), barLeft + QPointF(-10, length * 0.5), barLeft);
    QLinearGradient shade(barLeft, barLeft + QPointF(width, 0));
    shade.setColorAt(0.0, colour.darker(150));
    shade.setColorAt(0.35, colour.lighter(120));
    shade.setColorAt(0.65, colour);
    shade.setColorAt(1.0, colour.darker(170));
    p.setPen(QPen(colour.darker(200), 1.5));
    p.setBrush(shade);
    p.drawPath(cloth);
    p.setPen(QPen(colour.darker(140), 1));
    for (int i = 1; i < folds; ++i) {
        const qreal x = width * i / folds;
        p.drawLine(barLeft + QPointF(x, 6), barLeft + QPointF(x + (i % 2 ? 3 : -3), length - 2));
    }
}

}  // namespace

QImage titleImage() {
    QImage art(396, 273, QImage::Format_RGB32);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 273);
    sky.setColorAt(0.0, QColor(28, 36, 86));
    sky.setColorAt(1.0, QColor(92, 40, 96));
    p.fillRect(art.rect(), sky);
    QRadialGradient glow(QPointF(110, 120), 150);
    glow.setColorAt(0.0, QColor(255, 235, 180, 90));
    glow.setColorAt(1.0, QColor(255, 235, 180, 0));
    p.fillRect(art.rect(), glow);

    // The wardrobe rail.
    p.setPen(QPen(QColor(200, 200, 215), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(24, 40), QPointF(196, 40));

    drawHanger(p, QPointF(64, 42), 70);
    drawDrape(p, QPointF(31, 122), 66, 110, QColor(190, 40, 70));
    drawHanger(p, QPointF(150, 42), 70);
    drawDrape(p, QPointF(117, 122), 66, 96, QColor(40, 140, 120));

    p.setPen(QColor(255, 240, 200));
    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPixelSize(34);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(200, 70, 192, 50), Qt::AlignCenter, QStringLiteral("Drapeline"));

    QFont tagline(QStringLiteral("DejaVu Sans"));
    tagline.setPixelSize(13);
    p.setFont(tagline);
    p.setPen(QColor(225, 215, 240));
    p.drawText(QRectF(196, 122, 196, 60), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("A wardrobe editor\nfor The Sims"));

    p.setPen(QPen(QColor(240, 220, 170), 1.5));
    p.drawLine(QPointF(236, 120), QPointF(352, 120));
    p.end();

    // The title picture is a 256-colour image.
    return art.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither | Qt::AutoColor);
}

}  // namespace drapeline::app

namespace drapeline::app {

namespace {

// A soft panel with a dashed frame, a symbol and a caption: the look of every stock picture.
QImage stockPanel(int w, int h, const QColor& tint, const QString& caption, int captionPixels,
                  const std::function<void(QPainter&, const QRectF&)>& symbol) {
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, h);
    bg.setColorAt(0, tint.lighter(185));
    bg.setColorAt(1, tint.lighter(150));
    p.fillRect(img.rect(), bg);
    QPen dash(tint.darker(130), std::max(1, w / 96), Qt::DashLine);
    p.setPen(dash);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 1.5, w - 3, h - 3));
    const qreal captionHeight = caption.isEmpty() ? 0 : captionPixels * 1.6;
    symbol(p, QRectF(w * 0.2, h * 0.12, w * 0.6, h * 0.76 - captionHeight));
    if (!caption.isEmpty()) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(captionPixels);
        f.setBold(true);
        p.setFont(f);
        p.setPen(tint.darker(220));
        p.drawText(QRectF(2, h - captionHeight - h * 0.06, w - 4, captionHeight),
                   Qt::AlignCenter | Qt::TextWordWrap, caption);
    }
    return img;
}

void shirtSymbol(QPainter& p, const QRectF& r, const QColor& colour) {
    const qreal s = std::min(r.width(), r.height());
    const QPointF c = r.center();
    QPainterPath shirt;
    shirt.moveTo(c + QPointF(-0.18 * s, -0.45 * s));
    shirt.lineTo(c + QPointF(-0.5 * s, -0.25 * s));
    shirt.lineTo(c + QPointF(-0.38 * s, 0.0));
    shirt.lineTo(c + QPointF(-0.28 * s, -0.07 * s));
    shirt.lineTo(c + QPointF(-0.28 * s, 0.45 * s));
    shirt.lineTo(c + QPointF(0.28 * s, 0.45 * s));
    shirt.lineTo(c + QPointF(0.28 * s, -0.07 * s));
    shirt.lineTo(c + QPointF(0.38 * s, 0.0));
    shirt.lineTo(c + QPointF(0.5 * s, -0.25 * s));
    shirt.lineTo(c + QPointF(0.18 * s, -0.45 * s));
    shirt.quadTo(c + QPointF(0, -0.3 * s), c + QPointF(-0.18 * s, -0.45 * s));
    p.setPen(QPen(colour.darker(160), std::max(1.0, s / 60)));
    p.setBrush(colour);
    p.drawPath(shirt);
    p.setPen(QPen(QColor(180, 40, 40), std::max(1.5, s / 25), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-0.45 * s, -0.45 * s), c + QPointF(0.45 * s, 0.45 * s));
}

void handSymbol(QPainter& p, const QRectF& r, const QColor& colour) {
    const qreal s = std::min(r.width(), r.height());
    const QPointF c = r.center();
    p.setPen(QPen(colour.darker(170), std::max(1.0, s / 30)));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(c.x() - 0.28 * s, c.y() - 0.05 * s, 0.56 * s, 0.5 * s), 0.12 * s, 0.12 * s);
    for (int i = 0; i < 4; ++i)
        p.drawRoundedRect(QRectF(c.x() - 0.28 * s + i * 0.145 * s, c.y() - 0.45 * s, 0.12 * s, 0.45 * s),
                          0.06 * s, 0.06 * s);
    p.drawRoundedRect(QRectF(c.x() + 0.22 * s, c.y() - 0.02 * s, 0.28 * s, 0.12 * s), 0.06 * s, 0.06 * s);
}

void portraitSymbol(QPainter& p, const QRectF& r, const QColor& colour) {
    const qreal s = std::min(r.width(), r.height());
    const QPointF c = r.center();
    p.setPen(QPen(colour.darker(170), std::max(1.0, s / 30)));
    p.setBrush(colour);
    p.drawEllipse(c + QPointF(0, -0.18 * s), 0.2 * s, 0.2 * s);
    QPainterPath body;
    body.moveTo(c + QPointF(-0.4 * s, 0.48 * s));
    body.quadTo(c + QPointF(-0.38 * s, 0.05 * s), c + QPointF(0, 0.05 * s));
    body.quadTo(c + QPointF(0.38 * s, 0.05 * s), c + QPointF(0.4 * s, 0.48 * s));
    body.closeSubpath();
    p.drawPath(body);
}

template <class Make>
const QImage& cached(QImage& slot, Make make) {
    if (slot.isNull()) slot = make();
    return slot;
}

}  // namespace

QImage picNotFound() {
    static QImage image;
    return cached(image, [] {
        return stockPanel(256, 256, QColor(120, 140, 190), QStringLiteral("Skin not found"), 18,
                          [](QPainter& p, const QRectF& r) { shirtSymbol(p, r, QColor(235, 235, 245)); });
    });
}

QImage picHandNotFound() {
    static QImage image;
    return cached(image, [] {
        return stockPanel(64, 64, QColor(170, 140, 110), QString(), 0,
                          [](QPainter& p, const QRectF& r) {
                              handSymbol(p, r.adjusted(-6, -4, 6, 6), QColor(245, 230, 215));
                              p.setPen(QPen(QColor(180, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
                              p.drawLine(QPointF(10, 10), QPointF(54, 54));
                          });
    });
}

QImage picWebNotFound() {
    static QImage image;
    return cached(image, [] {
        return stockPanel(90, 60, QColor(110, 150, 140), QStringLiteral("No picture"), 10,
                          [](QPainter& p, const QRectF& r) { portraitSymbol(p, r, QColor(235, 245, 240)); });
    });
}

QImage picNoBitmaps() {
    static QImage image;
    return cached(image, [] {
        return stockPanel(240, 60, QColor(140, 130, 170), QStringLiteral("No relationship pictures"), 12,
                          [](QPainter& p, const QRectF& r) {
                              portraitSymbol(p, r.translated(-r.width() * 0.3, 0), QColor(240, 235, 250));
                              portraitSymbol(p, r.translated(r.width() * 0.3, 0), QColor(240, 235, 250));
                          });
    });
}

QImage picCanNotLoad() {
    static QImage image;
    return cached(image, [] {
        return stockPanel(45, 45, QColor(200, 110, 100), QString(), 0, [](QPainter& p, const QRectF& r) {
            const qreal s = std::min(r.width(), r.height());
            p.setPen(QPen(QColor(150, 20, 20), std::max(2.0, s / 8), Qt::SolidLine, Qt::RoundCap));
            p.drawLine(r.center() + QPointF(-s / 2, -s / 2), r.center() + QPointF(s / 2, s / 2));
            p.drawLine(r.center() + QPointF(s / 2, -s / 2), r.center() + QPointF(-s / 2, s / 2));
        });
    });
}

}  // namespace drapeline::app
