#include "gamewithfriends.h"

#include "movielabel.h"

GameWithFriends::GameWithFriends(QWidget *parent)
    : GameWindow(parent)
    , friends(new MovieLabel("images/friends.gif", getGameHolder()))
{
}

void GameWithFriends::resizeEvent(QResizeEvent *event)
{
    GameWindow::resizeEvent(event);
    friends->move(50, centeredY(friends->height()));
}
