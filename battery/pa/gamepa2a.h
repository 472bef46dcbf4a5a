#ifndef GAMEPA2A_H
#define GAMEPA2A_H

#include "gamewithfriends.h"

// Temporary stand-in for the "PA2A" test until the real test is written: it
// walks through the example and test phases and ends at the next button,
// logging nothing, so that the battery can be run end to end.
class GamePA2A : public GameWithFriends
{
    Q_OBJECT

public:
    explicit GamePA2A(QWidget *parent = nullptr);

public slots:
    void init() override;
    void runExample() override;
    void runGame() override;
    void runNext() override;
};

#endif // GAMEPA2A_H
