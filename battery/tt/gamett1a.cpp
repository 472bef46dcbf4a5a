#include "gamett1a.h"

#include "clickableimage.h"

GameTT1A::GameTT1A(QWidget *parent)
    : GameWindow(parent)
{
    setDimensionColor(125, 97, 150);
    setTitle("Reconocimiento de tipos de texto");
}

void GameTT1A::init()
{
    GameWindow::init();
    exampleButton->setActive(true);
}

void GameTT1A::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
}

void GameTT1A::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    testRunning = true;
}

void GameTT1A::runNext()
{
    nextButton->setActive(false);
    finishGame();
}
