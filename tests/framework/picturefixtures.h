#ifndef PICTUREFIXTURES_H
#define PICTUREFIXTURES_H

// Small pictures written into the test's working directory, and a parent widget
// that counts the mouse presses passed on to it.

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QList>
#include <QMouseEvent>
#include <QPixmap>
#include <QProcess>
#include <QSize>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace PictureFixtures {

// A PNG of the given size filled with one colour; directories are created.
inline bool writePicture(const QString &path, const QSize &size, const QColor &color)
{
    QDir().mkpath(QFileInfo(path).path());
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return image.save(path, "PNG");
}

// An animated GIF with one frame per colour, each shown for delayCs hundredths
// of a second. Qt cannot write GIF files, so ImageMagick's convert makes it.
inline bool writeAnimation(const QString &path, const QSize &size, const QList<QColor> &colors, int delayCs = 3)
{
    QDir().mkpath(QFileInfo(path).path());
    QStringList args{"-delay", QString::number(delayCs), "-loop", "0"};
    for (int i = 0; i < colors.size(); ++i) {
        const QString frame = path + QString(".frame%1.png").arg(i);
        if (!writePicture(frame, size, colors.at(i)))
            return false;
        args << frame;
    }
    args << path;
    QProcess convert;
    convert.start("convert", args);
    return convert.waitForFinished(20000) && convert.exitStatus() == QProcess::NormalExit
        && convert.exitCode() == 0 && QFileInfo::exists(path);
}

// The colour at the centre of what a label shows, to tell its pictures apart.
inline QColor shownColor(const QLabel *label)
{
    const QPixmap pixmap = label->pixmap(Qt::ReturnByValue);
    if (pixmap.isNull())
        return QColor();
    const QImage image = pixmap.toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// A parent that accepts and counts every mouse press reaching it.
class PressCounter : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        ++presses;
        event->accept();
    }
};

} // namespace PictureFixtures

#endif // PICTUREFIXTURES_H
