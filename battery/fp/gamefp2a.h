#ifndef GAMEFP2A_H
#define GAMEFP2A_H

#include "gamewindow.h"

#include <QStringList>

class ImageLabel;

// Text reading: the child reads a short story, shown as one picture, aloud.
// The test button shows the story and starts the recording and the stopwatch;
// the next button ends them and logs the reading time ("TIME", milliseconds)
// and the recording ("FILE"). There is no example.
class GameFP2A : public GameWindow
{
    Q_OBJECT

public:
    explicit GameFP2A(QWidget *parent = nullptr);

    // Every picture this test can show.
    static QStringList resourcePaths();

    ImageLabel *getStory() const { return story; }

public slots:
    void init() override;
    void runGame() override;
    void runNext() override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    ImageLabel *story;
};

#endif // GAMEFP2A_H
