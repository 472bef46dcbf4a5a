#ifndef ANIMATIONPAINTER_H
#define ANIMATIONPAINTER_H

#include <QImage>
#include <QList>
#include <QString>

class EmojiArt;

// The frames of the two animations. Each plays once per request and rests on
// its last frame, so the first and the last frame show the resting pose.
class AnimationPainter
{
public:
    explicit AnimationPainter(EmojiArt *emoji) : emoji(emoji) {}

    static constexpr int FrameCount = 12;
    static constexpr int FrameDelayCentiseconds = 9;

    // Three friends who hop in turn, as if singing together.
    QList<QImage> friends(QString *error) const;
    // A green martian who waves and wobbles its antennae.
    QList<QImage> martian(QString *error) const;

private:
    EmojiArt *emoji;
};

#endif // ANIMATIONPAINTER_H
