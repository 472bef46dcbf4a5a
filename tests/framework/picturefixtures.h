#ifndef PICTUREFIXTURES_H
#define PICTUREFIXTURES_H

// Small pictures written into the test's working directory, the colour a widget
// paints, pointer and key events, and a parent that counts the presses reaching it.

#include "testworkspace.h"

#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

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
    QStringList args{"-delay", QString::number(delayCs), "-loop", "0"};
    for (int i = 0; i < colors.size(); ++i) {
        args << path + QString(".frame%1.png").arg(i);
        if (!writePicture(args.last(), size, colors.at(i)))
            return false;
    }
    return QProcess::execute("convert", args << path) == 0 && QFileInfo::exists(path);
}

// The colour at the centre of what a widget paints.
inline QColor paintedColor(QWidget *widget)
{
    const QImage image = widget->grab().toImage();
    return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
}

// The pointer entering (or leaving) a widget.
inline void hover(QWidget *widget, bool enter = true)
{
    QEvent event(enter ? QEvent::Enter : QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

// Sends a key press; whether the widget accepted it.
inline bool keyAccepted(QWidget *widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    press.ignore();
    QApplication::sendEvent(widget, &press);
    return press.isAccepted();
}

// A parent that accepts and counts every mouse press reaching it.
class PressCounter : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *event) override { ++presses; event->accept(); }
};

#endif // PICTUREFIXTURES_H
