#ifndef GAMECF3B_H
#define GAMECF3B_H

#include "gamewithfriends.h"

// Temporary stand-in for the "CF3B" test until the real test is written: it
// walks through the example and test phases and ends at the next button,
// logging nothing, so that the battery can be run end to end.
class GameCF3B : public GameWithFriends
{
    Q_OBJECT

public:
    explicit GameCF3B(QWidget *parent = nullptr);

public slots:
    void init() override;
    void runExample() override;
    void runGame() override;
    void runNext() override;
};

#endif // GAMECF3B_H
