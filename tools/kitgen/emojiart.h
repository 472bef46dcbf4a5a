#ifndef EMOJIART_H
#define EMOJIART_H

#include <QColor>
#include <QHash>
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

// Colour pictures of things taken from the Noto Color Emoji font: each emoji
// sequence is drawn once at the font's own bitmap size, cropped to its visible
// pixels and kept, then scaled smoothly wherever it is placed.
class EmojiArt
{
public:
    static const char *FontFamily;

    // Whether the font is installed and is the one Qt picks for that family.
    static bool fontAvailable(QString *error);

    // The cropped glyph of the sequence; a null image (and a message) when the
    // font has no glyph for one of its characters.
    QImage glyph(const QString &emoji, QString *error);

    // Draws the sequence as large as fits in box, centred, optionally mirrored,
    // turned by rotation degrees about the box centre, and tinted (keeping its
    // shading) when tint is valid.
    bool draw(QPainter &painter, const QString &emoji, const QRectF &box, QString *error,
              bool mirrored = false, qreal rotation = 0, const QColor &tint = QColor());

private:
    static QImage tinted(const QImage &image, const QColor &tint);

    QHash<QString, QImage> cache;
};

#endif // EMOJIART_H
