#include "gamecf3a.h"

#include "clickableimage.h"

GameCF3A::GameCF3A(QWidget *parent)
    : GameWithFriends(parent)
{
    setDimensionColor(20, 96, 159);
    setTitle("Reconocimiento de sonido inicial");
}

void GameCF3A::init()
{
    GameWithFriends::init();
    exampleButton->setActive(true);
}

void GameCF3A::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
}

void GameCF3A::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    testRunning = true;
}

void GameCF3A::runNext()
{
    nextButton->setActive(false);
    finishGame();
}
