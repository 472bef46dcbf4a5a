#include "emojiart.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QVector>

const char *EmojiArt::FontFamily = "Noto Color Emoji";

namespace {
// The font is a bitmap font with glyphs of this pixel size; drawing at it
// avoids a first, blurring scale step.
constexpr int NativePixelSize = 109;
constexpr int Canvas = 320;
}

bool EmojiArt::fontAvailable(QString *error)
{
    QFont font(FontFamily);
    font.setPixelSize(NativePixelSize);
    if (QFontInfo(font).family() != FontFamily) {
        *error = QString("the font \"%1\" is not installed (Debian package fonts-noto-color-emoji)")
                     .arg(FontFamily);
        return false;
    }
    return true;
}

QImage EmojiArt::glyph(const QString &emoji, QString *error)
{
    const auto cached = cache.constFind(emoji);
    if (cached != cache.constEnd())
        return *cached;

    QFont font(FontFamily);
    font.setPixelSize(NativePixelSize);
    const QFontMetrics metrics(font);
    const QVector<uint> codePoints = emoji.toUcs4();
    for (uint c : codePoints) {
        // Joiners, variation selectors and skin-tone modifiers shape the
        // sequence; every other character must have its own glyph.
        const bool shaping = c == 0x200D || c == 0xFE0F || c == 0xFE0E || (c >= 0x1F3FB && c <= 0x1F3FF);
        if (!shaping && !metrics.inFontUcs4(c)) {
            const QString code = QString("%1").arg(c, 4, 16, QLatin1Char('0')).toUpper();
            *error = QString("the emoji font has no glyph for U+%1 in \"%2\"").arg(code, emoji);
            return QImage();
        }
    }

    QImage canvas(Canvas, Canvas, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter p(&canvas);
        p.setFont(font);
        p.drawText(QRect(0, 0, Canvas, Canvas), Qt::AlignCenter, emoji);
    }
    int left = Canvas, top = Canvas, right = -1, bottom = -1;
    for (int y = 0; y < Canvas; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(canvas.constScanLine(y));
        for (int x = 0; x < Canvas; ++x) {
            if (qAlpha(line[x]) > 0) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
        }
    }
    if (right < 0) {
        *error = QString("the emoji \"%1\" draws nothing").arg(emoji);
        return QImage();
    }
    const QImage cropped = canvas.copy(left, top, right - left + 1, bottom - top + 1);
    cache.insert(emoji, cropped);
    return cropped;
}

QImage EmojiArt::tinted(const QImage &image, const QColor &tint)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const qreal tr = tint.redF(), tg = tint.greenF(), tb = tint.blueF();
    for (int y = 0; y < out.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb px = line[x];
            const int a = qAlpha(px);
            if (a == 0)
                continue;
            // Keep the light and shade of the original, take the hue of the tint.
            const qreal lum = (0.30 * qRed(px) + 0.59 * qGreen(px) + 0.11 * qBlue(px)) / 255.0;
            const qreal k = qMin(1.6, lum / 0.55);
            auto mix = [&](int orig, qreal t) {
                const qreal v = 0.8 * qMin(1.0, t * k) * 255.0 + 0.2 * orig;
                return qBound(0, qRound(v), 255);
            };
            line[x] = qRgba(mix(qRed(px), tr), mix(qGreen(px), tg), mix(qBlue(px), tb), a);
        }
    }
    return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

bool EmojiArt::draw(QPainter &painter, const QString &emoji, const QRectF &box, QString *error,
                    bool mirrored, qreal rotation, const QColor &tint)
{
    QImage image = glyph(emoji, error);
    if (image.isNull())
        return false;
    if (tint.isValid())
        image = tinted(image, tint);
    if (mirrored)
        image = image.mirrored(true, false);

    const qreal scale = qMin(box.width() / image.width(), box.height() / image.height());
    const QSize target(qMax(1, qRound(image.width() * scale)), qMax(1, qRound(image.height() * scale)));
    const QImage scaled = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.translate(box.center());
    if (rotation != 0)
        painter.rotate(rotation);
    painter.drawImage(QPointF(-target.width() / 2.0, -target.height() / 2.0), scaled);
    painter.restore();
    return true;
}
