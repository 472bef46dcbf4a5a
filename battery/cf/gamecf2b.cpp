#include "gamecf2b.h"

#include "clickableimage.h"

GameCF2B::GameCF2B(QWidget *parent)
    : GameWithFriends(parent)
{
    setDimensionColor(20, 96, 159);
    setTitle("Reconocimiento de sílaba final");
}

void GameCF2B::init()
{
    GameWithFriends::init();
    exampleButton->setActive(true);
}

void GameCF2B::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
}

void GameCF2B::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    testRunning = true;
}

void GameCF2B::runNext()
{
    nextButton->setActive(false);
    finishGame();
}
