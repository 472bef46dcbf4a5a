#ifndef GAMEWITHFRIENDS_H
#define GAMEWITHFRIENDS_H

#include "gamewindow.h"

class MovieLabel;

// A test window with the "friends" animation at the left of the play area,
// which the tests replay with every sound prompt. It adds no signals or slots.
class GameWithFriends : public GameWindow
{
public:
    explicit GameWithFriends(QWidget *parent = nullptr);

    MovieLabel *getFriends() const { return friends; }

protected:
    void resizeEvent(QResizeEvent *event) override;

    MovieLabel *friends;
};

#endif // GAMEWITHFRIENDS_H
