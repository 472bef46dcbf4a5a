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
// The size is read from the file's header at construction; the picture itself
// is decoded when the widget is first shown or painted (or picture() is asked
// for), so the test screens built at start-up cost little time and memory until
// a test is actually run; a test that is left gives its pictures back
// (releasePicture()).
//
// The field `pixmap` hides QLabel::pixmap(); reach the shown picture with
// label->QLabel::pixmap() or use picture().
class ImageLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ImageLabel(const QString &path, QWidget *parent = nullptr);

    const QPixmap &picture();
    // Forgets the decoded picture (the size stays); it is decoded again when the
    // widget is next shown or painted.
    void releasePicture();

    // The pixel size a picture file declares in its header, without decoding
    // it; an empty size when the file is missing or not a picture.
    static QSize declaredSize(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    QPixmap pixmap;

private:
    void decode();

    QString path;
    bool decoded;
};

#endif // IMAGELABEL_H
