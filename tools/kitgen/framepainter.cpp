#include "framepainter.h"

#include "emojiart.h"
#include "kitlayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
QImage transparentImage(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QFont boldFont(int pixelSize)
{
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(pixelSize);
    return font;
}
}

QImage FramePainter::toolbar() const
{
    using namespace KitLayout;
    QImage image(ToolbarWidth, ToolbarHeight, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, ToolbarHeight);
    g.setColorAt(0, QColor(84, 110, 122));
    g.setColorAt(1, QColor(38, 50, 56));
    p.fillRect(image.rect(), g);
    p.fillRect(0, 0, ToolbarWidth, 2, QColor(176, 190, 197));
    p.fillRect(0, 2, ToolbarWidth, 1, QColor(120, 144, 156));
    return image;
}

QImage FramePainter::toolbarButton(Icon icon, const QString &label, const QColor &colour, bool active) const
{
    using namespace KitLayout;
    QImage image = transparentImage(ButtonWidth, ButtonHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor base = active ? colour : QColor(120, 128, 132);
    const QRectF body(1.5, 1.5, ButtonWidth - 3, ButtonHeight - 3);
    QLinearGradient g(body.topLeft(), body.bottomLeft());
    g.setColorAt(0, base.lighter(125));
    g.setColorAt(1, base.darker(115));
    p.setBrush(g);
    p.setPen(QPen(active ? base.darker(150) : QColor(90, 96, 100), 2));
    p.drawRoundedRect(body, 12, 12);

    // Icon in a light disc at the left.
    const QColor ink = active ? Qt::white : QColor(196, 202, 206);
    const QPointF c(26, ButtonHeight / 2.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, active ? 60 : 30));
    p.drawEllipse(c, 17, 17);
    p.setBrush(ink);
    if (icon == Icon::Play) {
        QPolygonF triangle;
        triangle << c + QPointF(-6, -10) << c + QPointF(11, 0) << c + QPointF(-6, 10);
        p.drawPolygon(triangle);
    } else {
        QPolygonF arrow;
        arrow << c + QPointF(-11, -4) << c + QPointF(1, -4) << c + QPointF(1, -11) << c + QPointF(12, 0)
              << c + QPointF(1, 11) << c + QPointF(1, 4) << c + QPointF(-11, 4);
        p.drawPolygon(arrow);
    }

    if (!label.isEmpty()) {
        QFont font = boldFont(18);
        const QRectF textRect(48, 0, ButtonWidth - 54, ButtonHeight);
        while (QFontMetricsF(font).horizontalAdvance(label) > textRect.width() && font.pixelSize() > 10)
            font.setPixelSize(font.pixelSize() - 1);
        p.setFont(font);
        p.setPen(ink);
        p.drawText(textRect, Qt::AlignCenter, label);
    }
    return image;
}

QImage FramePainter::indicator(const QString &emojiSequence, const QColor &ring, QString *error) const
{
    using namespace KitLayout;
    QImage image = transparentImage(IndicatorSize, IndicatorSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::white);
    p.setPen(QPen(ring, 4));
    p.drawEllipse(QRectF(2, 2, IndicatorSize - 4, IndicatorSize - 4));
    const qreal inner = IndicatorSize * 0.56;
    const QRectF box((IndicatorSize - inner) / 2, (IndicatorSize - inner) / 2, inner, inner);
    if (!emoji->draw(p, emojiSequence, box, error))
        return QImage();
    return image;
}

QImage FramePainter::check() const
{
    using namespace KitLayout;
    QImage image = transparentImage(IndicatorSize, IndicatorSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(QColor(67, 160, 71));
    p.setPen(QPen(QColor(27, 94, 32), 2));
    p.drawEllipse(QRectF(1.5, 1.5, IndicatorSize - 3, IndicatorSize - 3));
    QPen pen(Qt::white, IndicatorSize * 0.12);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const qreal s = IndicatorSize;
    QPolygonF tick;
    tick << QPointF(s * 0.27, s * 0.52) << QPointF(s * 0.43, s * 0.68) << QPointF(s * 0.74, s * 0.34);
    p.drawPolyline(tick);
    return image;
}

QImage FramePainter::abortBackground() const
{
    using namespace KitLayout;
    // Opaque everywhere: without a compositing window manager the transparent
    // parts of a frameless window show black.
    QImage image(AbortWidth, AbortHeight, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(image.rect(), QColor(55, 71, 79));
    QLinearGradient g(0, 0, 0, AbortHeight);
    g.setColorAt(0, QColor(250, 250, 250));
    g.setColorAt(1, QColor(225, 230, 234));
    p.setBrush(g);
    p.setPen(QPen(QColor(144, 164, 174), 1));
    p.drawRoundedRect(QRectF(4.5, 4.5, AbortWidth - 9, AbortHeight - 9), 10, 10);
    return image;
}

QImage FramePainter::abortButton(const QString &label, const QColor &colour, bool on) const
{
    using namespace KitLayout;
    QImage image = transparentImage(AbortButtonWidth, AbortButtonHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF body(1.5, 1.5, AbortButtonWidth - 3, AbortButtonHeight - 3);
    if (on) {
        QLinearGradient g(body.topLeft(), body.bottomLeft());
        g.setColorAt(0, colour.lighter(120));
        g.setColorAt(1, colour.darker(110));
        p.setBrush(g);
        p.setPen(QPen(colour.darker(150), 2));
    } else {
        p.setBrush(Qt::white);
        p.setPen(QPen(colour, 2));
    }
    p.drawRoundedRect(body, 9, 9);
    p.setFont(boldFont(18));
    p.setPen(on ? QColor(Qt::white) : colour.darker(130));
    p.drawText(body, Qt::AlignCenter, label);
    return image;
}
