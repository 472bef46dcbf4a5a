#include "gamepa1a.h"

#include "clickableimage.h"

GamePA1A::GamePA1A(QWidget *parent)
    : GameWindow(parent)
{
    setDimensionColor(0, 150, 79);
    setTitle("Conocimiento de grafemas");
}

void GamePA1A::init()
{
    GameWindow::init();
    exampleButton->setActive(true);
}

void GamePA1A::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
}

void GamePA1A::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    testRunning = true;
}

void GamePA1A::runNext()
{
    nextButton->setActive(false);
    finishGame();
}
