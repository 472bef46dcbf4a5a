#include "gamecf3b.h"

#include "clickableimage.h"

GameCF3B::GameCF3B(QWidget *parent)
    : GameWithFriends(parent)
{
    setDimensionColor(20, 96, 159);
    setTitle("Reconocimiento de sonido final");
}

void GameCF3B::init()
{
    GameWithFriends::init();
    exampleButton->setActive(true);
}

void GameCF3B::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
}

void GameCF3B::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    testRunning = true;
}

void GameCF3B::runNext()
{
    nextButton->setActive(false);
    finishGame();
}
