#ifndef DOCUMENTPAINTER_H
#define DOCUMENTPAINTER_H

#include <QFont>
#include <QImage>
#include <QMap>
#include <QRectF>
#include <QString>
#include <QStringList>

class ScenePainter;
class QPainter;

// Pictures made of text: letters, the six kinds of text, story pages, the
// sentence cards and the reading comprehension pages, and the speech bubble.
class DocumentPainter
{
public:
    explicit DocumentPainter(ScenePainter *scenes) : scenes(scenes) {}

    // Lays out text (paragraphs separated by blank lines, explicit line breaks
    // kept) in rect's width and draws it when painter is not null; returns the
    // height used.
    static qreal drawText(QPainter *painter, const QString &text, const QFont &font, const QRectF &rect,
                          Qt::Alignment align = Qt::AlignLeft, qreal lineFactor = 1.3, qreal paragraphGap = 0.6);
    // The largest pixel size from maxPixels down to minPixels at which text fits in rect.
    static QFont fittingFont(const QString &text, QFont font, const QRectF &rect, int maxPixels, int minPixels,
                             qreal lineFactor = 1.3, qreal paragraphGap = 0.6);
    static QFont font(const QString &family, int pixelSize, bool bold = false);

    QImage letter(const QString &letter) const;
    QImage speechBubble() const;

    // The six kinds of text at their enlarged size.
    QImage newsItem(const QMap<QString, QString> &s, QString *error) const;
    QImage letterToGrandmother(const QMap<QString, QString> &s) const;
    QImage storyBook(const QMap<QString, QString> &s, QString *error) const;
    QImage poem(const QMap<QString, QString> &s) const;
    QImage recipe(const QMap<QString, QString> &s, QString *error) const;
    QImage poster(const QMap<QString, QString> &s, QString *error) const;
    // The enlarged picture reduced to a 270 x 270 tile.
    static QImage miniature(const QImage &preview);

    // A story page for the child to read aloud (title on the first line).
    QImage readingPage(const QString &story, QString *error) const;
    // A sentence card.
    QImage sentence(const QString &statement) const;
    // The reading comprehension story, and a question page laid over it.
    QImage comprehensionStory(const QString &story, QString *error) const;
    QImage comprehensionQuestion(int number, const QString &question, const QStringList &answers,
                                 QString *error) const;

private:
    ScenePainter *scenes;
};

#endif // DOCUMENTPAINTER_H
