#ifndef IMAGELABEL_H
#define IMAGELABEL_H

#include <QLabel>
#include <QPixmap>
#include <QString>

// A still picture loaded from a file (relative to the working directory). The
// widget takes exactly the picture's pixel size; a missing file gives an empty
// picture and a zero-sized widget. Mouse presses are left to QLabel, so they
// reach the parent.
//
// The field `pixmap` hides QLabel::pixmap(); reach the shown picture with
// label->QLabel::pixmap() or use picture().
class ImageLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ImageLabel(const QString &path, QWidget *parent = nullptr);

    const QPixmap &picture() const { return pixmap; }

protected:
    QPixmap pixmap;
};

#endif // IMAGELABEL_H
