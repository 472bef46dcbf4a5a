#ifndef HOVERABLECLICKABLEIMAGE_H
#define HOVERABLECLICKABLEIMAGE_H

#include "clickableimage.h"

// A picture button that reacts to the pointer. In hover mode (the default) it
// rests inactive and becomes active (active picture, raised, clicks accepted)
// only while the pointer is over it, so a press without a preceding enter event
// is ignored. Out of hover mode it is permanently active and the pointer only
// draws a frame around it.
class HoverableClickableImage : public ClickableImage
{
    Q_OBJECT

public:
    HoverableClickableImage(const QString &inactivePath, const QString &activePath, QWidget *parent = nullptr);

    void setHoverMode(bool h);
    bool isHoverMode() const { return hoverMode; }

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;

    bool hoverMode;
};

#endif // HOVERABLECLICKABLEIMAGE_H
