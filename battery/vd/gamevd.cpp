#include "gamevd.h"

#include "clickableimage.h"

GameVD::GameVD(QWidget *parent)
    : GameWindow(parent)
{
    setDimensionColor(154, 196, 75);
    setTitle("Velocidad de denominación");
}

void GameVD::init()
{
    GameWindow::init();
    exampleButton->setActive(true);
}

void GameVD::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
}

void GameVD::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    testRunning = true;
}

void GameVD::runNext()
{
    nextButton->setActive(false);
    finishGame();
}
