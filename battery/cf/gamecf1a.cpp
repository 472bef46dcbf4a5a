#include "gamecf1a.h"

#include "clickableimage.h"

GameCF1A::GameCF1A(QWidget *parent)
    : GameWithFriends(parent)
{
    setDimensionColor(20, 96, 159);
    setTitle("Segmentación de sílabas");
}

void GameCF1A::init()
{
    GameWithFriends::init();
    exampleButton->setActive(true);
}

void GameCF1A::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
}

void GameCF1A::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    testRunning = true;
}

void GameCF1A::runNext()
{
    nextButton->setActive(false);
    finishGame();
}
