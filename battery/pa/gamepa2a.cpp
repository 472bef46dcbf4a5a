#include "gamepa2a.h"

#include "clickableimage.h"

GamePA2A::GamePA2A(QWidget *parent)
    : GameWithFriends(parent)
{
    setDimensionColor(0, 150, 79);
    setTitle("Conocimiento de nombre de letras");
}

void GamePA2A::init()
{
    GameWithFriends::init();
    exampleButton->setActive(true);
}

void GamePA2A::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
}

void GamePA2A::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    testRunning = true;
}

void GamePA2A::runNext()
{
    nextButton->setActive(false);
    finishGame();
}
