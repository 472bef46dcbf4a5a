#include "imagelabel.h"

#include <QImageReader>

ImageLabel::ImageLabel(const QString &path, QWidget *parent)
    : QLabel(parent)
    , path(path)
    , decoded(false)
{
    setFixedSize(declaredSize(path));
    setAttribute(Qt::WA_TranslucentBackground);
}

QSize ImageLabel::declaredSize(const QString &path)
{
    const QSize size = QImageReader(path).size();
    return size.isValid() ? size : QSize(0, 0);
}

const QPixmap &ImageLabel::picture()
{
    decode();
    return pixmap;
}

void ImageLabel::decode()
{
    if (decoded)
        return;
    decoded = true;
    pixmap.load(path);
    // A file whose header promises more than its data holds gives no picture.
    setFixedSize(pixmap.size());
    setPixmap(pixmap);
}

void ImageLabel::releasePicture()
{
    if (!decoded)
        return;
    decoded = false;
    pixmap = QPixmap();
    setPixmap(pixmap);
}

void ImageLabel::showEvent(QShowEvent *event)
{
    decode();
    QLabel::showEvent(event);
}

void ImageLabel::paintEvent(QPaintEvent *event)
{
    decode();
    QLabel::paintEvent(event);
}
