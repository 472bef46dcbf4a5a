#include "documentpainter.h"

#include "kitlayout.h"
#include "scenepainter.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <QVector>
#include <QtMath>

namespace {
QImage blank(int w, int h, const QColor &fill = Qt::transparent)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

// A sheet of paper with a soft shadow.
void paper(QPainter &p, const QRectF &r, const QColor &colour, qreal radius = 6)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(r.translated(4, 5), radius, radius);
    p.setBrush(colour);
    p.setPen(QPen(colour.darker(125), 1));
    p.drawRoundedRect(r, radius, radius);
    p.restore();
}

// Lays out the lines of text and places them into the given columns one after
// the other; draws them when painter is set. Returns the bottom of the last
// line relative to its column's top, or -1 when the text did not fit.
qreal flow(QPainter *painter, const QString &text, const QFont &font, const QList<QRectF> &columns,
           Qt::Alignment align, qreal lineFactor, qreal paragraphGap)
{
    const QFontMetricsF metrics(font);
    const qreal lineHeight = metrics.height() * lineFactor;
    int column = 0;
    qreal y = 0;
    const QStringList paragraphs = text.split("\n\n");
    for (int pi = 0; pi < paragraphs.size(); ++pi) {
        if (pi > 0 && y > 0)
            y += lineHeight * paragraphGap;
        const QStringList lines = paragraphs[pi].split('\n');
        for (const QString &rawLine : lines) {
            const QString line = rawLine.trimmed();
            QTextLayout layout(line, font);
            QTextOption option;
            option.setAlignment(align);
            option.setWrapMode(QTextOption::WordWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            QVector<QTextLine> made;
            for (;;) {
                QTextLine l = layout.createLine();
                if (!l.isValid())
                    break;
                l.setLineWidth(columns[column].width());
                made << l;
            }
            layout.endLayout();
            for (QTextLine &l : made) {
                if (y + lineHeight > columns[column].height() + 0.5) {
                    if (column + 1 >= columns.size())
                        return -1;
                    ++column;
                    y = 0;
                }
                const qreal extra = (lineHeight - metrics.height()) / 2;
                l.setPosition(QPointF(0, 0));
                if (painter)
                    l.draw(painter, QPointF(columns[column].left(), columns[column].top() + y + extra));
                y += lineHeight;
            }
        }
    }
    return y;
}
}

QFont DocumentPainter::font(const QString &family, int pixelSize, bool bold)
{
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setKerning(true);
    return f;
}

qreal DocumentPainter::drawText(QPainter *painter, const QString &text, const QFont &font, const QRectF &rect,
                                Qt::Alignment align, qreal lineFactor, qreal paragraphGap)
{
    QRectF unlimited = rect;
    unlimited.setHeight(1e6);
    return flow(painter, text, font, {unlimited}, align, lineFactor, paragraphGap);
}

QFont DocumentPainter::fittingFont(const QString &text, QFont font, const QRectF &rect, int maxPixels,
                                   int minPixels, qreal lineFactor, qreal paragraphGap)
{
    for (int px = maxPixels; px > minPixels; --px) {
        font.setPixelSize(px);
        const qreal h = drawText(nullptr, text, font, rect, Qt::AlignLeft, lineFactor, paragraphGap);
        if (h <= rect.height())
            return font;
    }
    font.setPixelSize(minPixels);
    return font;
}

QImage DocumentPainter::letter(const QString &letter) const
{
    const int size = KitLayout::LetterSize;
    QImage image = blank(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    ScenePainter::paintCard(p, QRectF(6, 6, size - 12, size - 12), QColor(255, 255, 255));
    const QFont f = font("DejaVu Sans", 210);
    const QFontMetricsF m(f);
    // Centre the ink horizontally and the x-height vertically, so letters with
    // ascenders and descenders sit on one common baseline.
    const QRectF ink = m.tightBoundingRect(letter);
    const qreal baseline = size / 2.0 + m.xHeight() / 2.0;
    const qreal x = (size - ink.width()) / 2.0 - ink.left();
    QPainterPath path;
    path.addText(x, baseline, f, letter);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(26, 35, 126));
    p.drawPath(path);
    return image;
}

QImage DocumentPainter::speechBubble() const
{
    using namespace KitLayout;
    QImage image = blank(BubbleWidth, BubbleHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF centre(BubbleWordX, BubbleWordY + 2);
    QPainterPath bubble;
    bubble.addEllipse(centre, 126, 46);
    QPainterPath tail;
    tail.moveTo(40, 72);
    tail.quadTo(30, 100, 4, 120);
    tail.quadTo(48, 108, 70, 84);
    tail.closeSubpath();
    const QPainterPath shape = bubble.united(tail);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 35));
    p.drawPath(shape.translated(3, 3));
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(60, 60, 80), 3));
    p.drawPath(shape);
    return image;
}

QImage DocumentPainter::newsItem(const QMap<QString, QString> &s, QString *error) const
{
    QImage image = blank(500, 500, QColor(226, 222, 212));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF sheet(16, 12, 468, 476);
    paper(p, sheet, QColor(250, 248, 240), 2);
    const QColor ink(30, 30, 34);
    p.setPen(ink);
    p.setFont(font("DejaVu Serif", 30, true));
    p.drawText(QRectF(30, 20, 440, 40), Qt::AlignCenter, s.value("diario"));
    p.fillRect(QRectF(30, 64, 440, 2), ink);
    p.setFont(font("DejaVu Sans", 11));
    p.drawText(QRectF(30, 67, 440, 16), Qt::AlignCenter, s.value("fecha"));
    p.fillRect(QRectF(30, 85, 440, 1), ink);
    const QFont headline = fittingFont(s.value("titular"), font("DejaVu Serif", 26, true), QRectF(30, 92, 440, 64), 26, 18, 1.1);
    p.setPen(ink);
    const qreal hh = drawText(&p, s.value("titular"), headline, QRectF(30, 92, 440, 64), Qt::AlignLeft, 1.1);
    p.setPen(QColor(90, 90, 96));
    drawText(&p, s.value("bajada"), font("DejaVu Sans", 14), QRectF(30, 96 + hh, 440, 20));
    const qreal top = 96 + hh + 28;
    // Photo with caption in the left column.
    const QRectF photo(30, top, 212, 136);
    p.save();
    p.setClipRect(photo);
    p.fillRect(photo, QColor(170, 210, 150));
    p.fillRect(QRectF(photo.left(), photo.top(), photo.width(), photo.height() * 0.45), QColor(196, 226, 240));
    p.restore();
    if (!scenes->paintScene(p, photo, s.value("foto") + "@0.5,0.55,0.85", error))
        return QImage();
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(photo);
    p.setPen(QColor(70, 70, 76));
    const qreal ch = drawText(&p, s.value("pie"), font("DejaVu Sans", 10), QRectF(30, photo.bottom() + 4, 212, 30), Qt::AlignLeft, 1.15);
    p.setPen(ink);
    const QFont body = font("DejaVu Serif", 12);
    const qreal colTop = photo.bottom() + ch + 12;
    flow(&p, s.value("cuerpo"), body,
         {QRectF(30, colTop, 212, sheet.bottom() - 10 - colTop), QRectF(258, top, 212, sheet.bottom() - 10 - top)},
         Qt::AlignJustify, 1.3, 0.4);
    p.fillRect(QRectF(249.5, top, 1, sheet.bottom() - 10 - top), QColor(180, 180, 180));
    return image;
}

QImage DocumentPainter::letterToGrandmother(const QMap<QString, QString> &s) const
{
    QImage image = blank(500, 500, QColor(214, 228, 240));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF sheet(56, 10, 388, 480);
    paper(p, sheet, QColor(255, 253, 244), 3);
    // Ruled lines and a margin, like a school letter pad.
    p.setPen(QPen(QColor(190, 214, 236), 1));
    for (qreal y = sheet.top() + 52; y < sheet.bottom() - 8; y += 24)
        p.drawLine(QPointF(sheet.left() + 8, y), QPointF(sheet.right() - 8, y));
    p.setPen(QPen(QColor(236, 160, 160), 1));
    p.drawLine(QPointF(sheet.left() + 40, sheet.top() + 4), QPointF(sheet.left() + 40, sheet.bottom() - 4));
    const QColor ink(26, 58, 140);
    p.setPen(ink);
    const qreal left = sheet.left() + 50, width = sheet.width() - 66;
    p.setFont(font("DejaVu Serif", 14));
    p.drawText(QRectF(left, sheet.top() + 18, width, 20), Qt::AlignRight, s.value("lugar"));
    p.setFont(font("DejaVu Serif", 16, true));
    p.drawText(QRectF(left, sheet.top() + 58, width, 22), Qt::AlignLeft, s.value("saludo"));
    const QRectF bodyRect(left, sheet.top() + 92, width, 290);
    const QFont body = fittingFont(s.value("cuerpo"), font("DejaVu Serif", 15), bodyRect, 15, 11, 1.25, 0.5);
    const qreal bh = drawText(&p, s.value("cuerpo"), body, bodyRect, Qt::AlignLeft, 1.25, 0.5);
    p.setFont(font("DejaVu Serif", 15));
    p.drawText(QRectF(left, bodyRect.top() + bh + 14, width, 22), Qt::AlignRight, s.value("despedida"));
    p.setFont(font("DejaVu Serif", 17, true));
    p.drawText(QRectF(left, bodyRect.top() + bh + 40, width, 24), Qt::AlignRight, s.value("firma"));
    return image;
}

QImage DocumentPainter::storyBook(const QMap<QString, QString> &s, QString *error) const
{
    QImage image = blank(900, 498, QColor(222, 206, 178));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    // Cover behind the pages.
    p.setPen(QPen(QColor(90, 30, 20), 2));
    p.setBrush(QColor(150, 50, 36));
    p.drawRoundedRect(QRectF(18, 12, 864, 474), 10, 10);
    // Two pages, shaded towards the spine.
    const QRectF left(34, 22, 416, 452), right(450, 22, 416, 452);
    QLinearGradient lg(left.topLeft(), left.topRight());
    lg.setColorAt(0, QColor(255, 252, 240));
    lg.setColorAt(0.85, QColor(250, 244, 226));
    lg.setColorAt(1, QColor(214, 204, 180));
    QLinearGradient rg(right.topLeft(), right.topRight());
    rg.setColorAt(0, QColor(214, 204, 180));
    rg.setColorAt(0.15, QColor(250, 244, 226));
    rg.setColorAt(1, QColor(255, 252, 240));
    p.setPen(QPen(QColor(190, 176, 150), 1));
    p.setBrush(lg);
    p.drawRect(left);
    p.setBrush(rg);
    p.drawRect(right);
    // Illustration on the left page.
    const QRectF picture = left.adjusted(26, 26, -30, -30);
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(picture, 8, 8);
    p.setClipPath(clip);
    if (!scenes->paintScene(p, picture, s.value("dibujo"), error))
        return QImage();
    p.restore();
    p.setPen(QPen(QColor(120, 100, 80), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(picture, 8, 8);
    // Title and text on the right page.
    const QColor ink(40, 30, 24);
    p.setPen(QColor(140, 40, 30));
    const QRectF titleRect(right.left() + 40, right.top() + 28, right.width() - 70, 70);
    const qreal th = drawText(&p, s.value("titulo"), font("DejaVu Serif", 24, true), titleRect, Qt::AlignCenter, 1.15);
    p.setPen(ink);
    const QRectF textRect(right.left() + 40, titleRect.top() + th + 18, right.width() - 70, right.bottom() - 50 - (titleRect.top() + th + 18));
    const QFont body = fittingFont(s.value("texto"), font("DejaVu Serif", 17), textRect, 17, 11, 1.35, 0.5);
    flow(&p, s.value("texto"), body, {textRect}, Qt::AlignJustify, 1.35, 0.5);
    p.setFont(font("DejaVu Serif", 13));
    p.setPen(QColor(120, 100, 80));
    p.drawText(QRectF(right.left(), right.bottom() - 34, right.width() - 30, 20), Qt::AlignRight, s.value("pagina"));
    return image;
}

QImage DocumentPainter::poem(const QMap<QString, QString> &s) const
{
    QImage image = blank(500, 500, QColor(226, 220, 238));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF sheet(46, 10, 408, 480);
    paper(p, sheet, QColor(255, 253, 248), 4);
    // A double border with small waves in the corners.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(80, 120, 170), 2));
    p.drawRect(sheet.adjusted(12, 12, -12, -12));
    p.setPen(QPen(QColor(80, 120, 170), 1));
    p.drawRect(sheet.adjusted(17, 17, -17, -17));
    p.setPen(QPen(QColor(60, 140, 200), 2));
    for (const QPointF &c : {QPointF(sheet.left() + 50, sheet.bottom() - 40), QPointF(sheet.right() - 90, sheet.bottom() - 40)}) {
        QPainterPath wave;
        wave.moveTo(c);
        for (int k = 0; k < 3; ++k)
            wave.quadTo(c + QPointF(k * 14 + 7, -8), c + QPointF((k + 1) * 14, 0));
        p.drawPath(wave);
    }
    const QColor ink(40, 40, 60);
    p.setPen(QColor(50, 80, 140));
    p.setFont(font("DejaVu Serif", 28, true));
    p.drawText(QRectF(sheet.left(), sheet.top() + 32, sheet.width(), 36), Qt::AlignCenter, s.value("titulo"));
    p.setPen(QColor(110, 110, 130));
    p.setFont(font("DejaVu Serif", 12));
    p.drawText(QRectF(sheet.left(), sheet.top() + 70, sheet.width(), 18), Qt::AlignCenter, s.value("autor"));
    p.setPen(ink);
    const QRectF verses(sheet.left() + 30, sheet.top() + 102, sheet.width() - 60, sheet.height() - 160);
    const QFont f = fittingFont(s.value("versos"), font("DejaVu Serif", 17), verses, 17, 11, 1.3, 0.8);
    drawText(&p, s.value("versos"), f, verses, Qt::AlignHCenter, 1.3, 0.8);
    return image;
}

QImage DocumentPainter::recipe(const QMap<QString, QString> &s, QString *error) const
{
    QImage image = blank(500, 500, QColor(214, 236, 214));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF card(16, 12, 468, 476);
    paper(p, card, QColor(255, 255, 252), 10);
    // Title band.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(239, 108, 0));
    p.save();
    p.setClipRect(QRectF(card.left(), card.top(), card.width(), 56));
    p.drawRoundedRect(QRectF(card.left(), card.top(), card.width(), 80), 10, 10);
    p.restore();
    p.setPen(Qt::white);
    p.setFont(font("DejaVu Sans", 28, true));
    p.drawText(QRectF(card.left(), card.top(), card.width(), 56), Qt::AlignCenter, s.value("titulo"));
    // Picture of the dish on the right.
    const QRectF photo(276, 80, 192, 166);
    p.setPen(QPen(QColor(200, 160, 120), 2));
    p.setBrush(QColor(255, 240, 214));
    p.drawRoundedRect(photo, 10, 10);
    if (!scenes->paintScene(p, photo.adjusted(6, 6, -6, -6), s.value("foto"), error))
        return QImage();
    const QColor ink(40, 40, 40);
    p.setPen(QColor(120, 120, 120));
    p.setFont(font("DejaVu Sans", 13));
    p.drawText(QRectF(32, 76, 240, 20), Qt::AlignLeft, s.value("porciones"));
    p.setPen(QColor(200, 80, 0));
    p.setFont(font("DejaVu Sans", 19, true));
    p.drawText(QRectF(32, 100, 240, 24), Qt::AlignLeft, "Ingredientes");
    p.setPen(ink);
    const QStringList items = s.value("ingredientes").split('\n', Qt::SkipEmptyParts);
    qreal y = 130;
    const QFont itemFont = font("DejaVu Sans", 16);
    for (const QString &item : items) {
        p.setBrush(QColor(239, 108, 0));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(38, y + 11), 4, 4);
        p.setPen(ink);
        y += drawText(&p, item.trimmed(), itemFont, QRectF(50, y, 220, 44), Qt::AlignLeft, 1.2);
    }
    y = qMax(y, photo.bottom()) + 16;
    p.setPen(QColor(200, 80, 0));
    p.setFont(font("DejaVu Sans", 19, true));
    p.drawText(QRectF(32, y, 420, 24), Qt::AlignLeft, "Preparación");
    y += 32;
    const QStringList steps = s.value("preparacion").split('\n', Qt::SkipEmptyParts);
    const QFont stepFont = font("DejaVu Sans", 15);
    for (int i = 0; i < steps.size(); ++i) {
        p.setPen(QColor(200, 80, 0));
        p.setFont(font("DejaVu Sans", 15, true));
        p.drawText(QRectF(32, y, 22, 22), Qt::AlignLeft, QString::number(i + 1) + ".");
        p.setPen(ink);
        y += drawText(&p, steps[i].trimmed(), stepFont, QRectF(56, y, 412, 60), Qt::AlignLeft, 1.2) + 4;
    }
    return image;
}

QImage DocumentPainter::poster(const QMap<QString, QString> &s, QString *error) const
{
    QImage image = blank(500, 500);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient bg(0, 0, 500, 500);
    bg.setColorAt(0, QColor(255, 152, 0));
    bg.setColorAt(1, QColor(233, 30, 99));
    p.fillRect(image.rect(), bg);
    // Confetti.
    const QColor confetti[4] = {QColor(255, 235, 59), QColor(129, 212, 250), QColor(255, 255, 255), QColor(174, 213, 129)};
    for (int i = 0; i < 28; ++i) {
        const qreal x = 12 + (i * 173) % 476, y = 10 + (i * 97) % 480;
        p.setPen(Qt::NoPen);
        p.setBrush(confetti[i % 4]);
        p.drawEllipse(QPointF(x, y), 4 + i % 3, 4 + i % 3);
    }
    // Title with an outline.
    QFont title = font("DejaVu Sans", 46, true);
    const QRectF titleRect(24, 18, 452, 120);
    title = fittingFont(s.value("titulo"), title, titleRect, 46, 28, 1.05);
    QPainterPath titlePath;
    {
        const QFontMetricsF m(title);
        const QStringList words = s.value("titulo").split(' ');
        // Break into at most two centred lines.
        QStringList lines;
        QString current;
        for (const QString &w : words) {
            const QString tryLine = current.isEmpty() ? w : current + " " + w;
            if (m.horizontalAdvance(tryLine) > titleRect.width() && !current.isEmpty()) {
                lines << current;
                current = w;
            } else {
                current = tryLine;
            }
        }
        lines << current;
        qreal y = titleRect.top() + m.ascent();
        for (const QString &line : lines) {
            titlePath.addText(titleRect.left() + (titleRect.width() - m.horizontalAdvance(line)) / 2, y, title, line);
            y += m.height() * 1.05;
        }
    }
    p.setPen(QPen(QColor(120, 20, 60), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(titlePath);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(titlePath);
    // Big picture.
    if (!scenes->paintScene(p, QRectF(30, 138, 340, 184), s.value("dibujo"), error))
        return QImage();
    p.setPen(Qt::white);
    const QFont sub = fittingFont(s.value("subtitulo"), font("DejaVu Sans", 20, true), QRectF(30, 326, 440, 30), 20, 12, 1.1);
    drawText(&p, s.value("subtitulo"), sub, QRectF(30, 326, 440, 30), Qt::AlignHCenter, 1.1);
    // Date and place on a white banner.
    const QRectF banner(40, 370, 420, 76);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawRoundedRect(banner, 12, 12);
    p.setPen(QColor(136, 14, 79));
    const QFont info = fittingFont(s.value("datos"), font("DejaVu Sans", 18, true), banner.adjusted(10, 8, -10, -6), 18, 11, 1.25, 0);
    drawText(&p, s.value("datos"), info, banner.adjusted(10, 10, -10, -6), Qt::AlignHCenter, 1.25, 0);
    // Star-burst stamp.
    const QPointF c(420, 236);
    QPolygonF star;
    for (int i = 0; i < 24; ++i) {
        const qreal r = (i % 2 == 0) ? 62 : 50;
        const qreal a = i * M_PI / 12;
        star << c + QPointF(r * qCos(a), r * qSin(a));
    }
    p.setPen(QPen(QColor(180, 120, 0), 2));
    p.setBrush(QColor(255, 235, 59));
    p.drawPolygon(star);
    p.setPen(QColor(136, 14, 79));
    const QRectF stampText(c.x() - 46, c.y() - 24, 92, 48);
    const QFont stamp = fittingFont(s.value("sello"), font("DejaVu Sans", 18, true), stampText, 18, 10, 1.05, 0);
    const qreal sh = drawText(nullptr, s.value("sello"), stamp, stampText, Qt::AlignHCenter, 1.05, 0);
    drawText(&p, s.value("sello"), stamp, QRectF(stampText.left(), c.y() - sh / 2, stampText.width(), sh), Qt::AlignHCenter, 1.05, 0);
    return image;
}

QImage DocumentPainter::miniature(const QImage &preview)
{
    QImage image = blank(270, 270);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const QRectF card(5, 5, 260, 260);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(150, 150, 160), 2));
    p.drawRoundedRect(card, 12, 12);
    const QRectF inner = card.adjusted(10, 10, -10, -10);
    const QSize fitted = preview.size().scaled(inner.size().toSize(), Qt::KeepAspectRatio);
    const QImage scaled = preview.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    p.drawImage(QPointF(inner.left() + (inner.width() - fitted.width()) / 2.0,
                        inner.top() + (inner.height() - fitted.height()) / 2.0), scaled);
    return image;
}

QImage DocumentPainter::readingPage(const QString &story, QString *error) const
{
    using namespace KitLayout;
    QImage image = blank(ReadingWidth, ReadingHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF sheet(4, 4, ReadingWidth - 12, ReadingHeight - 12);
    paper(p, sheet, QColor(255, 253, 246), 10);
    const int split = story.indexOf("\n\n");
    const QString title = story.left(split).trimmed();
    const QString body = story.mid(split).trimmed();
    p.setPen(QColor(170, 30, 40));
    p.setFont(font("DejaVu Sans", 36, true));
    p.drawText(QRectF(sheet.left(), sheet.top() + 22, sheet.width(), 46), Qt::AlignCenter, title);
    if (!scenes->paintScene(p, QRectF(sheet.right() - 150, sheet.top() + 8, 120, 80), "🎈@0.35,0.5,0.9 🐦@0.78,0.55,0.45,m", error))
        return QImage();
    const QRectF textRect(sheet.left() + 50, sheet.top() + 92, sheet.width() - 100, sheet.height() - 110);
    const QFont f = fittingFont(body, font("DejaVu Sans", 30), textRect, 30, 20, 1.45, 0.35);
    p.setPen(QColor(30, 30, 36));
    drawText(&p, body, f, textRect, Qt::AlignLeft, 1.45, 0.35);
    return image;
}

QImage DocumentPainter::sentence(const QString &statement) const
{
    using namespace KitLayout;
    QImage image = blank(SentenceWidth, SentenceHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF card(4, 4, SentenceWidth - 10, SentenceHeight - 10);
    paper(p, card, QColor(255, 255, 255), 16);
    const QRectF textRect = card.adjusted(30, 14, -30, -14);
    const QFont f = fittingFont(statement, font("DejaVu Sans", 52), textRect, 52, 30, 1.2, 0);
    const qreal h = drawText(nullptr, statement, f, textRect, Qt::AlignHCenter, 1.2, 0);
    p.setPen(QColor(20, 24, 40));
    drawText(&p, statement, f, QRectF(textRect.left(), textRect.top() + (textRect.height() - h) / 2, textRect.width(), h),
             Qt::AlignHCenter, 1.2, 0);
    return image;
}

QImage DocumentPainter::comprehensionStory(const QString &story, QString *error) const
{
    using namespace KitLayout;
    QImage image = blank(ComprehensionWidth, ComprehensionHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF sheet(2, 2, ComprehensionWidth - 8, ComprehensionHeight - 8);
    paper(p, sheet, QColor(255, 253, 246), 8);
    const int split = story.indexOf("\n\n");
    p.setPen(QColor(170, 60, 30));
    p.setFont(font("DejaVu Sans", 26, true));
    p.drawText(QRectF(sheet.left(), sheet.top() + 14, sheet.width(), 34), Qt::AlignCenter, story.left(split).trimmed());
    const QString body = story.mid(split).trimmed();
    const QRectF textRect(sheet.left() + 30, sheet.top() + 58, sheet.width() - 60, QuestionPanelTop - 12 - (sheet.top() + 58));
    const QFont f = fittingFont(body, font("DejaVu Sans", 21), textRect, 21, 14, 1.35, 0.4);
    p.setPen(QColor(30, 30, 36));
    if (drawText(nullptr, body, f, textRect, Qt::AlignLeft, 1.35, 0.4) > textRect.height()) {
        *error = "the reading comprehension story does not fit above the question panel";
        return QImage();
    }
    drawText(&p, body, f, textRect, Qt::AlignJustify, 1.35, 0.4);
    // Under the story, where the questions will lie, a picture of it.
    const QRectF picture(sheet.left() + 30, QuestionPanelTop + 8, sheet.width() - 60, sheet.bottom() - QuestionPanelTop - 24);
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(picture, 10, 10);
    p.setClipPath(clip);
    if (!scenes->paintScene(p, picture,
                            "sky:#e6f4ff ground:#a5d46a 🌳@0.22,0.52,0.9 🍋@0.17,0.35,0.12 🍋@0.27,0.45,0.11 "
                            "🐢@0.5,0.78,0.42 🏠@0.82,0.52,0.8",
                            error))
        return QImage();
    p.restore();
    return image;
}

QImage DocumentPainter::comprehensionQuestion(int number, const QString &question, const QStringList &answers,
                                              QString *error) const
{
    using namespace KitLayout;
    QImage image = blank(ComprehensionWidth, ComprehensionHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    // Only the lower panel is painted; above it the story stays visible.
    const QRectF panel(2, QuestionPanelTop, ComprehensionWidth - 8, ComprehensionHeight - 6 - QuestionPanelTop);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(panel.translated(3, 3), 8, 8);
    p.setBrush(QColor(255, 246, 214));
    p.setPen(QPen(QColor(214, 160, 60), 2));
    p.drawRoundedRect(panel, 8, 8);
    // Question number in a disc, then the question.
    p.setBrush(QColor(239, 87, 47));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(42, QuestionPanelTop + 40), 20, 20);
    p.setPen(Qt::white);
    p.setFont(font("DejaVu Sans", 22, true));
    p.drawText(QRectF(22, QuestionPanelTop + 20, 40, 40), Qt::AlignCenter, QString::number(number));
    const QRectF questionRect(76, QuestionPanelTop + 16, ComprehensionWidth - 110, AnswerY[0] - 10 - (QuestionPanelTop + 16));
    const QFont qf = fittingFont(question, font("DejaVu Sans", 22, true), questionRect, 22, 15, 1.2, 0);
    if (drawText(nullptr, question, qf, questionRect, Qt::AlignLeft, 1.2, 0) > questionRect.height()) {
        *error = QString("question %1 does not fit above its answers").arg(number);
        return QImage();
    }
    p.setPen(QColor(40, 30, 20));
    drawText(&p, question, qf, questionRect, Qt::AlignLeft, 1.2, 0);
    // The three answer lines exactly where the touch areas lie.
    const char *letters[3] = {"a)", "b)", "c)"};
    for (int i = 0; i < 3; ++i) {
        const QRectF line(AnswerX, AnswerY[i], AnswerWidth, AnswerHeight);
        p.setPen(QPen(QColor(190, 170, 130), 1.5));
        p.setBrush(Qt::white);
        p.drawRoundedRect(line.adjusted(1, 2, -1, -2), 8, 8);
        p.setPen(QColor(160, 60, 20));
        p.setFont(font("DejaVu Sans", 19, true));
        p.drawText(QRectF(AnswerX - 44, AnswerY[i], 38, AnswerHeight), Qt::AlignRight | Qt::AlignVCenter, letters[i]);
        QFont af = font("DejaVu Sans", 18);
        while (QFontMetricsF(af).horizontalAdvance(answers[i]) > AnswerWidth - 20 && af.pixelSize() > 12)
            af.setPixelSize(af.pixelSize() - 1);
        if (QFontMetricsF(af).horizontalAdvance(answers[i]) > AnswerWidth - 20) {
            *error = QString("answer \"%1\" is too long for its line").arg(answers[i]);
            return QImage();
        }
        p.setFont(af);
        p.setPen(QColor(30, 30, 36));
        p.drawText(line.adjusted(10, 0, -10, 0), Qt::AlignLeft | Qt::AlignVCenter, answers[i]);
    }
    if (!scenes->paintScene(p, QRectF(AnswerX + AnswerWidth + 40, AnswerY[0] - 8, 200, 120), "🐢@0.5,0.5,0.9", error))
        return QImage();
    return image;
}
