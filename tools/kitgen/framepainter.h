#ifndef FRAMEPAINTER_H
#define FRAMEPAINTER_H

#include <QColor>
#include <QImage>
#include <QString>

class EmojiArt;

// The pictures of the test screen frame: the toolbar strip, its buttons and
// indicators, the green check, and the abort dialog with its buttons.
class FramePainter
{
public:
    explicit FramePainter(EmojiArt *emoji) : emoji(emoji) {}

    QImage toolbar() const;
    enum class Icon { Play, Next };
    // A toolbar button; an empty label draws the icon alone. Inactive buttons are grey.
    QImage toolbarButton(Icon icon, const QString &label, const QColor &colour, bool active) const;
    // A round indicator showing an emoji on a white disc with a coloured ring.
    QImage indicator(const QString &emojiSequence, const QColor &ring, QString *error) const;
    QImage check() const;

    QImage abortBackground() const;
    QImage abortButton(const QString &label, const QColor &colour, bool on) const;

private:
    EmojiArt *emoji;
};

#endif // FRAMEPAINTER_H
