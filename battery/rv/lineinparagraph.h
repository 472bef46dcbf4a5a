#ifndef LINEINPARAGRAPH_H
#define LINEINPARAGRAPH_H

#include <QList>
#include <QString>
#include <QWidget>

class WordInParagraph;

// One line of a Paragraph: its words side by side, split at every blank.
class LineInParagraph : public QWidget
{
    Q_OBJECT

public:
    LineInParagraph(const char *utf8Line, QWidget *parent = nullptr);

    void disableWords();
    QList<WordInParagraph *> words() const { return wordLabels; }

signals:
    void clicked(QString word);

public slots:
    void selectedWord(QString word);

private:
    QList<WordInParagraph *> wordLabels;
};

#endif // LINEINPARAGRAPH_H
