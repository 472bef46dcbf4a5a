#include "gamecl1a.h"

#include "clickableimage.h"

GameCL1A::GameCL1A(QWidget *parent)
    : GameWindow(parent)
{
    setDimensionColor(239, 87, 47);
    setTitle("Lectura de frases y oraciones breves");
}

void GameCL1A::init()
{
    GameWindow::init();
    exampleButton->setActive(true);
}

void GameCL1A::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
}

void GameCL1A::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    testRunning = true;
}

void GameCL1A::runNext()
{
    nextButton->setActive(false);
    finishGame();
}
