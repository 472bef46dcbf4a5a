#include "gamefp1a.h"

#include "clickableimage.h"

GameFP1A::GameFP1A(QWidget *parent)
    : GameWindow(parent)
{
    setDimensionColor(190, 27, 46);
    setTitle("Lectura de palabras y pseudo-palabras");
}

void GameFP1A::init()
{
    GameWindow::init();
    exampleButton->setActive(true);
}

void GameFP1A::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
}

void GameFP1A::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    testRunning = true;
}

void GameFP1A::runNext()
{
    nextButton->setActive(false);
    finishGame();
}
