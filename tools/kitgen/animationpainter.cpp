#include "animationpainter.h"

#include "emojiart.h"
#include "kitlayout.h"
#include "scenepainter.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {
// Hop height of a character whose hop starts at `start` and lasts `length`
// (fractions of the animation): zero outside, a sine arch inside.
qreal hop(qreal phase, qreal start, qreal length)
{
    const qreal t = (phase - start) / length;
    if (t <= 0 || t >= 1)
        return 0;
    return qSin(t * M_PI);
}

QImage frameCanvas(int w, int h)
{
    // Opaque, on the grey of the play area, so the GIF needs no transparency.
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(KitLayout::PlayAreaGrey, KitLayout::PlayAreaGrey, KitLayout::PlayAreaGrey));
    return image;
}
}

QList<QImage> AnimationPainter::friends(QString *error) const
{
    using namespace KitLayout;
    QList<QImage> frames;
    struct Friend {
        const char *emoji;
        qreal x, y, size, start;
    };
    const Friend cast[3] = {
        {"🐶", 0.26, 0.36, 0.38, 0.00},
        {"🐰", 0.74, 0.36, 0.38, 0.22},
        {"🐱", 0.50, 0.71, 0.40, 0.44},
    };
    for (int i = 0; i < FrameCount; ++i) {
        const qreal phase = qreal(i) / (FrameCount - 1);
        QImage image = frameCanvas(FriendsWidth, FriendsHeight);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        const QRectF card(6, 6, FriendsWidth - 12, FriendsHeight - 12);
        ScenePainter::paintCard(p, card, QColor(255, 236, 179));
        for (const Friend &f : cast) {
            const qreal h = hop(phase, f.start, 0.5);
            const qreal side = f.size * card.height();
            const QPointF centre(card.left() + f.x * card.width(), card.top() + f.y * card.height() - h * 26);
            // Shadow on the ground shrinks while the friend is in the air.
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 0, 0, 40));
            const QPointF foot(centre.x(), card.top() + f.y * card.height() + side * 0.46);
            p.drawEllipse(foot, side * 0.32 * (1 - 0.3 * h), side * 0.07 * (1 - 0.3 * h));
            if (!emoji->draw(p, QString::fromUtf8(f.emoji), QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side),
                             error))
                return {};
        }
        // A note over each friend in the air, drawn last so no friend hides it.
        for (const Friend &f : cast) {
            const qreal h = hop(phase, f.start, 0.5);
            if (h <= 0.3)
                continue;
            const qreal side = f.size * card.height();
            const qreal s = 24 * h;
            const qreal x = card.left() + f.x * card.width() + (f.x < 0.5 ? side * 0.42 : -side * 0.42);
            const qreal y = card.top() + f.y * card.height() - h * 26 - side * 0.42;
            if (!emoji->draw(p, "🎵", QRectF(x - s / 2, y - s / 2, s, s), error))
                return {};
        }
        frames << image;
    }
    return frames;
}

QList<QImage> AnimationPainter::martian(QString *error) const
{
    using namespace KitLayout;
    QList<QImage> frames;
    const QColor green(102, 187, 106), dark(46, 125, 50);
    for (int i = 0; i < FrameCount; ++i) {
        const qreal phase = qreal(i) / (FrameCount - 1);
        // Two waves of the hand and two wobbles of the antennae per play.
        const qreal wave = qSin(phase * 4 * M_PI);
        const qreal wobble = qSin(phase * 4 * M_PI + M_PI / 2) * qSin(phase * M_PI);
        const qreal bob = -5 * qAbs(qSin(phase * 2 * M_PI));
        QImage image = frameCanvas(MartianWidth, MartianHeight);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.translate(0, 14 + bob);
        const qreal cx = MartianWidth / 2.0 - 10;
        QPen outline(dark, 3);
        outline.setCapStyle(Qt::RoundCap);
        outline.setJoinStyle(Qt::RoundJoin);
        const QPen limb(green, 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        // Legs and feet.
        p.setPen(QPen(green, 14, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(cx - 18, 200), QPointF(cx - 22, 226));
        p.drawLine(QPointF(cx + 18, 200), QPointF(cx + 22, 226));
        p.setPen(outline);
        p.setBrush(dark);
        p.drawEllipse(QPointF(cx - 26, 230), 14, 7);
        p.drawEllipse(QPointF(cx + 26, 230), 14, 7);
        // The resting arm.
        p.setPen(limb);
        p.drawLine(QPointF(cx - 34, 150), QPointF(cx - 58, 194));
        p.setPen(outline);
        p.setBrush(green);
        p.drawEllipse(QPointF(cx - 58, 196), 9, 9);
        // Body with a round belly and a spacesuit belt.
        QRadialGradient g(QPointF(cx - 10, 150), 60);
        g.setColorAt(0, green.lighter(130));
        g.setColorAt(1, green);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(cx - 40, 126, 80, 84), 34, 34);
        p.setBrush(QColor(255, 193, 7));
        p.drawRoundedRect(QRectF(cx - 40, 176, 80, 10), 4, 4);
        p.setBrush(QColor(250, 250, 250));
        p.drawEllipse(QPointF(cx, 181), 7, 7);
        // Antennae with bobbles.
        const QPointF leftBase(cx - 24, 34), rightBase(cx + 24, 34);
        const QPointF leftTip(cx - 42 + 6 * wobble, 4), rightTip(cx + 42 + 6 * wobble, 4);
        p.setPen(QPen(dark, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(leftBase, leftTip);
        p.drawLine(rightBase, rightTip);
        p.setPen(outline);
        p.setBrush(QColor(255, 235, 59));
        p.drawEllipse(leftTip, 8, 8);
        p.drawEllipse(rightTip, 8, 8);
        // Head: the alien emoji, tinted green.
        if (!emoji->draw(p, "👽", QRectF(cx - 66, 16, 132, 132), error, false, 4 * wobble, QColor(120, 210, 110)))
            return {};
        // The waving arm, in front: upper arm out to the side, forearm swinging.
        const QPointF shoulder(cx + 36, 152), elbow(cx + 70, 140);
        const qreal angle = qDegreesToRadians(-90 + 28 * wave);
        const QPointF hand = elbow + QPointF(38 * qCos(angle), 38 * qSin(angle));
        p.setPen(limb);
        p.drawLine(shoulder, elbow);
        p.drawLine(elbow, hand);
        p.setPen(outline);
        p.setBrush(green);
        p.drawEllipse(hand, 10, 10);
        frames << image;
    }
    return frames;
}
