#include "movielabel.h"

#include "imagelabel.h"

#include <QMouseEvent>
#include <QMovie>

MovieLabel::MovieLabel(const QString &path, QWidget *parent)
    : QLabel(parent)
    , movie(new QMovie(path, QByteArray(), this))
    , firstFrameShown(false)
{
    setMovie(movie);
    setFixedSize(ImageLabel::declaredSize(path));
    setAttribute(Qt::WA_TranslucentBackground);
    connect(movie, &QMovie::frameChanged, this, &MovieLabel::checkLoop);
}

void MovieLabel::showFirstFrame()
{
    if (firstFrameShown)
        return;
    firstFrameShown = true;
    // Starting loads the first frame, which gives the size; stopping leaves that
    // frame on show.
    movie->start();
    setFixedSize(movie->currentPixmap().size());
    movie->stop();
}

void MovieLabel::play()
{
    firstFrameShown = true;
    movie->stop();
    movie->start();
}

bool MovieLabel::isPlaying() const
{
    return movie->state() == QMovie::Running;
}

int MovieLabel::currentFrameNumber() const
{
    return movie->currentFrameNumber();
}

int MovieLabel::frameCount() const
{
    return movie->frameCount();
}

void MovieLabel::checkLoop(int frameNumber)
{
    if (frameNumber + 1 == movie->frameCount())
        movie->stop();
}

void MovieLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (isVisible())
        emit clicked();
}

void MovieLabel::showEvent(QShowEvent *event)
{
    showFirstFrame();
    QLabel::showEvent(event);
}

void MovieLabel::paintEvent(QPaintEvent *event)
{
    showFirstFrame();
    QLabel::paintEvent(event);
}
