#include "gameco1a.h"

#include "clickableimage.h"

GameCO1A::GameCO1A(QWidget *parent)
    : GameWindow(parent)
{
    setDimensionColor(245, 147, 52);
    setTitle("Comprensión oral");
}

void GameCO1A::init()
{
    GameWindow::init();
    exampleButton->setActive(true);
}

void GameCO1A::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
}

void GameCO1A::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    testRunning = true;
}

void GameCO1A::runNext()
{
    nextButton->setActive(false);
    finishGame();
}
