#include "gamefp2a.h"

#include "clickableimage.h"
#include "imagelabel.h"

namespace {
const char *const storyPath = "images/FP2A/cuento.png";
}

GameFP2A::GameFP2A(QWidget *parent)
    : GameWindow(parent)
    , story(nullptr)
{
    setDimensionColor(190, 27, 46);
    setTitle("Lectura de texto");
    story = new ImageLabel(storyPath, getGameHolder());
}

QStringList GameFP2A::resourcePaths()
{
    return {storyPath};
}

void GameFP2A::init()
{
    GameWindow::init();
    exampleButton->hide();
    testButton->setActive(true);
    story->hide();
}

void GameFP2A::runGame()
{
    if (testRunning)
        return;
    testButton->setActive(false);
    nextButton->setActive(true);
    testRunning = true;
    story->show();
    startRecording();
    stopwatch.start();
}

void GameFP2A::runNext()
{
    // Only the first click after the test button ends the reading.
    if (!testRunning || finished)
        return;
    const qint64 elapsed = stopwatch.elapsed();
    stopRecording();
    emit requestLogValueForKey("TIME", QString::number(elapsed));
    emit requestLogValueForKey("FILE", recordingFileName);
    nextButton->setActive(false);
    finishGame();
}

void GameFP2A::resizeEvent(QResizeEvent *event)
{
    GameWindow::resizeEvent(event);
    centerWidget(story);
}
