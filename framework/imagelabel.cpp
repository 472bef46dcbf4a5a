#include "imagelabel.h"

ImageLabel::ImageLabel(const QString &path, QWidget *parent)
    : QLabel(parent)
    , pixmap(path)
{
    setPixmap(pixmap);
    setFixedSize(pixmap.size());
    setAttribute(Qt::WA_TranslucentBackground);
}
