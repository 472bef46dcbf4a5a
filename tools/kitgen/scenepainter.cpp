#include "scenepainter.h"

#include "drawnthings.h"
#include "emojiart.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>

QColor ScenePainter::pastelFor(const QString &name)
{
    static const QColor pastels[] = {
        QColor(253, 235, 208), QColor(214, 234, 248), QColor(213, 245, 227), QColor(232, 218, 239),
        QColor(252, 243, 207), QColor(250, 219, 216), QColor(209, 242, 235), QColor(250, 229, 211),
        QColor(235, 222, 240), QColor(226, 240, 203),
    };
    // FNV-1a over the UTF-8 bytes: the same colour on every run and machine.
    quint32 hash = 2166136261u;
    for (const char c : name.toUtf8()) {
        hash ^= static_cast<quint8>(c);
        hash *= 16777619u;
    }
    return pastels[hash % (sizeof(pastels) / sizeof(pastels[0]))];
}

void ScenePainter::paintCard(QPainter &painter, const QRectF &rect, const QColor &colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const qreal radius = qMin(rect.width(), rect.height()) * 0.08;
    QRadialGradient glow(rect.center() - QPointF(0, rect.height() * 0.1), qMax(rect.width(), rect.height()) * 0.75);
    glow.setColorAt(0, colour.lighter(112));
    glow.setColorAt(1, colour);
    painter.setBrush(glow);
    painter.setPen(QPen(colour.darker(135), 2));
    painter.drawRoundedRect(rect.adjusted(1, 1, -1, -1), radius, radius);
    painter.restore();
}

bool ScenePainter::paintScene(QPainter &painter, const QRectF &area, const QString &scene, QString *error)
{
    const QStringList parts = scene.split(' ', Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (part.startsWith("sky:") || part.startsWith("ground:")) {
            const bool sky = part.startsWith("sky:");
            const QColor colour(part.mid(part.indexOf(':') + 1));
            if (!colour.isValid()) {
                *error = QString("bad colour in scene part \"%1\"").arg(part);
                return false;
            }
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing, true);
            QPainterPath clip;
            const qreal radius = qMin(area.width(), area.height()) * 0.08;
            clip.addRoundedRect(area.adjusted(2, 2, -2, -2), radius, radius);
            painter.setClipPath(clip);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawRect(sky ? area : QRectF(area.left(), area.top() + area.height() * 0.7, area.width(),
                                                 area.height() * 0.3));
            painter.restore();
            continue;
        }

        // what[@x,y,s[,flags...]]
        const int at = part.indexOf('@');
        const QString what = at < 0 ? part : part.left(at);
        // Unplaced parts fill the card: emoji a little less, as their glyphs have no margin.
        qreal x = 0.5, y = 0.5, s = what.startsWith("draw:") ? 1.0 : 0.84, rotation = 0;
        bool mirrored = false;
        QColor tint;
        if (at >= 0) {
            const QStringList fields = part.mid(at + 1).split(',');
            bool okX = false, okY = false, okS = false;
            if (fields.size() >= 3) {
                x = fields[0].toDouble(&okX);
                y = fields[1].toDouble(&okY);
                s = fields[2].toDouble(&okS);
            }
            if (!okX || !okY || !okS) {
                *error = QString("scene part \"%1\" needs @x,y,size").arg(part);
                return false;
            }
            for (int i = 3; i < fields.size(); ++i) {
                const QString flag = fields[i];
                if (flag == "m") {
                    mirrored = true;
                } else if (flag.startsWith('r')) {
                    rotation = flag.mid(1).toDouble();
                } else if (flag.startsWith('t')) {
                    tint = QColor(flag.mid(1));
                    if (!tint.isValid()) {
                        *error = QString("bad tint in scene part \"%1\"").arg(part);
                        return false;
                    }
                } else {
                    *error = QString("unknown flag \"%1\" in scene part \"%2\"").arg(flag, part);
                    return false;
                }
            }
        }
        const qreal side = s * qMin(area.width(), area.height());
        const QPointF centre(area.left() + x * area.width(), area.top() + y * area.height());
        const QRectF box(centre.x() - side / 2, centre.y() - side / 2, side, side);

        if (what.startsWith("draw:")) {
            const QString name = what.mid(5);
            painter.save();
            if (mirrored) {
                painter.translate(box.center());
                painter.scale(-1, 1);
                painter.translate(-box.center());
            }
            const bool known = DrawnThings::draw(painter, name, box);
            painter.restore();
            if (!known) {
                *error = QString("no drawing named \"%1\"").arg(name);
                return false;
            }
        } else if (!emoji->draw(painter, what, box, error, mirrored, rotation, tint)) {
            return false;
        }
    }
    return true;
}

QImage ScenePainter::picture(const QSize &size, const QString &scene, const QColor &card, int inset, QString *error)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF cardRect = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(inset, inset, -inset, -inset);
    paintCard(painter, cardRect, card);
    // Leave a margin inside the card so nothing touches its border.
    const qreal margin = qMin(cardRect.width(), cardRect.height()) * 0.06;
    if (!paintScene(painter, cardRect.adjusted(margin, margin, -margin, -margin), scene, error))
        return QImage();
    return image;
}
