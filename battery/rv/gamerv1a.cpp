#include "gamerv1a.h"

#include "clickableimage.h"

GameRV1A::GameRV1A(QWidget *parent)
    : GameWindow(parent)
{
    setDimensionColor(0, 153, 215);
    setTitle("Reconocimiento visual de palabras");
}

void GameRV1A::setChildName(QString name)
{
    childName = name;
}

void GameRV1A::init()
{
    GameWindow::init();
    exampleButton->setActive(true);
}

void GameRV1A::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
}

void GameRV1A::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    testRunning = true;
}

void GameRV1A::runNext()
{
    nextButton->setActive(false);
    finishGame();
}
