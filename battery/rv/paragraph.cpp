#include "paragraph.h"

#include "lineinparagraph.h"

#include <QDebug>

Paragraph::Paragraph(QWidget *parent)
    : QWidget(parent)
    , selectable(false)
{
}

void Paragraph::addLine(const char *utf8Line)
{
    auto *line = new LineInParagraph(utf8Line, this);
    connect(line, &LineInParagraph::clicked, this, &Paragraph::selectedWord);
    lineWidgets.append(line);
}

void Paragraph::layoutLines()
{
    int y = 0;
    int width = 0;
    for (LineInParagraph *line : qAsConst(lineWidgets)) {
        line->move(0, y);
        y += line->height() + 20;
        width = qMax(width, line->width());
    }
    setFixedSize(width, y);
}

void Paragraph::selectedWord(QString word)
{
    if (!selectable)
        return;
    qDebug().noquote() << QString("Paragraph::selectedWord, word clicked was %1").arg(word);
    emit clicked(word);
}

void Paragraph::setSelectableWord(bool value)
{
    qDebug().noquote() << QString("Paragraph::setSelectableWord, new value is %1").arg(value ? "true" : "false");
    selectable = value;
}

void Paragraph::disableAllWords()
{
    setSelectableWord(false);
    for (LineInParagraph *line : qAsConst(lineWidgets))
        line->disableWords();
}
