#include "lineinparagraph.h"

#include "wordinparagraph.h"

#include <QDebug>

LineInParagraph::LineInParagraph(const char *utf8Line, QWidget *parent)
    : QWidget(parent)
{
    // Every blank separates two words; two blanks in a row give an empty word.
    const QStringList parts = QString::fromUtf8(utf8Line).split(' ');
    int x = 0;
    int height = 0;
    for (const QString &part : parts) {
        auto *word = new WordInParagraph(part, this);
        connect(word, &WordInParagraph::clicked, this, &LineInParagraph::selectedWord);
        wordLabels.append(word);
        word->move(x, 0);
        x += word->width();
        height = qMax(height, word->height());
    }
    setFixedSize(x, height);
}

void LineInParagraph::selectedWord(QString word)
{
    qDebug().noquote() << QString("LineInParagraph::selectedWord, word clicked was %1").arg(word);
    emit clicked(word);
}

void LineInParagraph::disableWords()
{
    for (WordInParagraph *word : qAsConst(wordLabels))
        word->disableWord();
}
