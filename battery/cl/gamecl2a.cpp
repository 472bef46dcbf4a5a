#include "gamecl2a.h"

#include "clickableimage.h"

GameCL2A::GameCL2A(QWidget *parent)
    : GameWindow(parent)
{
    setDimensionColor(239, 87, 47);
    setTitle("Comprensión lectora");
}

void GameCL2A::init()
{
    GameWindow::init();
    exampleButton->setActive(true);
}

void GameCL2A::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
}

void GameCL2A::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    testRunning = true;
}

void GameCL2A::runNext()
{
    nextButton->setActive(false);
    finishGame();
}
