#include "clickableimage.h"

#include "imagelabel.h"

#include <QMouseEvent>

ClickableImage::ClickableImage(const QString &inactivePath, const QString &activePath, QWidget *parent)
    : QLabel(parent)
    , active(true)
    , inactivePath(inactivePath)
    , activePath(activePath)
    , decoded(false)
{
    setFixedSize(ImageLabel::declaredSize(activePath));
    setAttribute(Qt::WA_TranslucentBackground);
}

void ClickableImage::decode()
{
    if (decoded)
        return;
    decoded = true;
    inactivePixmap.load(inactivePath);
    activePixmap.load(activePath);
    setFixedSize(activePixmap.size());
    setPixmap(active ? activePixmap : inactivePixmap);
}

void ClickableImage::releasePictures()
{
    if (!decoded)
        return;
    decoded = false;
    inactivePixmap = QPixmap();
    activePixmap = QPixmap();
    setPixmap(QPixmap());
}

void ClickableImage::setActive(bool a)
{
    active = a;
    if (decoded)
        setPixmap(active ? activePixmap : inactivePixmap);
    if (a)
        raise();
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

void ClickableImage::showEvent(QShowEvent *event)
{
    decode();
    QLabel::showEvent(event);
}

void ClickableImage::paintEvent(QPaintEvent *event)
{
    decode();
    QLabel::paintEvent(event);
}
