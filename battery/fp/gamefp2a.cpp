#include "gamefp2a.h"

#include "clickableimage.h"

GameFP2A::GameFP2A(QWidget *parent)
    : GameWindow(parent)
{
    setDimensionColor(190, 27, 46);
    setTitle("Lectura de texto");
}

void GameFP2A::init()
{
    GameWindow::init();
    exampleButton->setActive(true);
}

void GameFP2A::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
}

void GameFP2A::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    testRunning = true;
}

void GameFP2A::runNext()
{
    nextButton->setActive(false);
    finishGame();
}
