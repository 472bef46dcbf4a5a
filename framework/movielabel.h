#ifndef MOVIELABEL_H
#define MOVIELABEL_H

#include <QLabel>
#include <QString>

class QMovie;

// An animated picture (GIF) that plays exactly once per play() and then rests on
// its last frame. After construction it rests on its first frame; the widget
// takes the pixel size of that frame. A press of any mouse button emits
// clicked() while the widget is visible and is never passed on to the parent.
// The size is read from the file's header; the first frame is decoded when the
// widget is first shown or painted, or at the first play().
//
// The field `movie` hides QLabel::movie(); use the read accessors below or
// label->QLabel::movie().
class MovieLabel : public QLabel
{
    Q_OBJECT

public:
    explicit MovieLabel(const QString &path, QWidget *parent = nullptr);

    // Plays the animation from its first frame, also when it is playing.
    void play();

    bool isPlaying() const;
    int currentFrameNumber() const;
    int frameCount() const;

signals:
    void clicked();

public slots:
    void checkLoop(int frameNumber);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    QMovie *movie;

private:
    void showFirstFrame();

    bool firstFrameShown;
};

#endif // MOVIELABEL_H
