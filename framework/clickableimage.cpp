#include "clickableimage.h"

#include <QMouseEvent>

ClickableImage::ClickableImage(const QString &inactivePath, const QString &activePath, QWidget *parent)
    : QLabel(parent)
    , active(true)
    , inactivePixmap(inactivePath)
    , activePixmap(activePath)
{
    setPixmap(activePixmap);
    setFixedSize(activePixmap.size());
    setAttribute(Qt::WA_TranslucentBackground);
}

void ClickableImage::setActive(bool a)
{
    active = a;
    if (a) {
        setPixmap(activePixmap);
        raise();
    } else {
        setPixmap(inactivePixmap);
    }
}

void ClickableImage::setFramed(bool f)
{
    setFrameStyle(f ? QFrame::StyledPanel : QFrame::NoFrame);
}

void ClickableImage::mousePressEvent(QMouseEvent *event)
{
    // Accepted in every case so that the press never reaches the parent.
    event->accept();
    if (active && isVisible())
        emit clicked();
}
