#include "app/artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

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
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(196, 70, 196, 50), Qt::AlignCenter, QStringLiteral("Drapeline"));

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
    return art.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AutoColor);
}

}  // namespace drapeline::app
