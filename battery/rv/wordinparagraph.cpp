#include "wordinparagraph.h"

#include <QDebug>
#include <QFontMetrics>
#include <QMouseEvent>

WordInParagraph::WordInParagraph(QString word, QWidget *parent)
    : QLabel(parent)
    , underlined(false)
    , selectable(true)
{
    QFont large = font();
    large.setPointSize(36);
    setFont(large);
    setText(word);
    // The extra 20 pixels are the only space between neighbouring words.
    const QRect bounds = QFontMetrics(large).boundingRect(word);
    setFixedSize(bounds.width() + 20, bounds.height());
    setStyleSheet("text-decoration: none; ");
}

void WordInParagraph::disableWord()
{
    selectable = false;
}

void WordInParagraph::mousePressEvent(QMouseEvent *event)
{
    if (underlined || !selectable) {
        event->ignore();
        return;
    }
    qDebug().noquote() << QString("WordInParagraph::mousePressEvent can be used, word clicked was %1").arg(text());
    setStyleSheet("text-decoration:underline; ");
    underlined = true;
    event->accept();
    emit clicked(text());
}
