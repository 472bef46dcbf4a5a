#ifndef SCENEPAINTER_H
#define SCENEPAINTER_H

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

class EmojiArt;
class QPainter;

// Draws the scenes of the content tables (emoji and drawn things placed on a
// card) and the soft cards they sit on.
class ScenePainter
{
public:
    explicit ScenePainter(EmojiArt *emoji) : emoji(emoji) {}

    // A pastel colour that depends only on the name.
    static QColor pastelFor(const QString &name);
    // A rounded card with a lighter centre and a fine darker border.
    static void paintCard(QPainter &painter, const QRectF &rect, const QColor &colour);

    // Draws the parts of a scene inside area (see content/things.tsv for the syntax).
    bool paintScene(QPainter &painter, const QRectF &area, const QString &scene, QString *error);

    // A whole picture: transparent margin of inset pixels, a card, the scene on it.
    QImage picture(const QSize &size, const QString &scene, const QColor &card, int inset, QString *error);

private:
    EmojiArt *emoji;
};

#endif // SCENEPAINTER_H
