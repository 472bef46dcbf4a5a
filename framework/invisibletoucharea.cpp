#include "invisibletoucharea.h"

#include <QMouseEvent>

namespace {
const char *const transparentStyle = "background:none;";
const char *const veiledStyle = "background-color:rgba(255,255,255,75);";
}

InvisibleTouchArea::InvisibleTouchArea(int width, int height, const QString &value, QWidget *parent)
    : QLabel(parent)
    , value(value)
    , touchEnabled(true)
{
    setFixedSize(width, height);
    show();
    setStyleSheet(transparentStyle);
}

void InvisibleTouchArea::setTouchEnabled(bool e)
{
    touchEnabled = e;
    setVisible(e);
}

void InvisibleTouchArea::enterEvent(QEvent *event)
{
    if (touchEnabled)
        setStyleSheet(veiledStyle);
    QLabel::enterEvent(event);
}

void InvisibleTouchArea::leaveEvent(QEvent *event)
{
    if (touchEnabled)
        setStyleSheet(transparentStyle);
    QLabel::leaveEvent(event);
}

void InvisibleTouchArea::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (touchEnabled)
        emit clicked(value);
}
