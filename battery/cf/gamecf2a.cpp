#include "gamecf2a.h"

#include "clickableimage.h"

GameCF2A::GameCF2A(QWidget *parent)
    : GameWithFriends(parent)
{
    setDimensionColor(20, 96, 159);
    setTitle("Reconocimiento de sílaba inicial");
}

void GameCF2A::init()
{
    GameWithFriends::init();
    exampleButton->setActive(true);
}

void GameCF2A::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
}

void GameCF2A::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    testRunning = true;
}

void GameCF2A::runNext()
{
    nextButton->setActive(false);
    finishGame();
}
