#include "hoverableclickableimage.h"

HoverableClickableImage::HoverableClickableImage(const QString &inactivePath, const QString &activePath,
                                                 QWidget *parent)
    : ClickableImage(inactivePath, activePath, parent)
    , hoverMode(true)
{
    setActive(false);
}

void HoverableClickableImage::setHoverMode(bool h)
{
    hoverMode = h;
    setActive(!h);
}

void HoverableClickableImage::enterEvent(QEvent *event)
{
    if (hoverMode)
        setActive(true);
    else
        setFrameStyle(QFrame::StyledPanel);
    ClickableImage::enterEvent(event);
}

void HoverableClickableImage::leaveEvent(QEvent *event)
{
    if (hoverMode)
        setActive(false);
    else
        setFrameStyle(QFrame::NoFrame);
    ClickableImage::leaveEvent(event);
}
