#include "transitionlabel.h"

#include <QMouseEvent>

TransitionLabel::TransitionLabel(QWidget *parent)
    : QLabel(parent)
{
}

void TransitionLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit clicked();
}
