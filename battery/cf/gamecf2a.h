#ifndef GAMECF2A_H
#define GAMECF2A_H

#include "gamewithfriends.h"

// Temporary stand-in for the "CF2A" test until the real test is written: it
// walks through the example and test phases and ends at the next button,
// logging nothing, so that the battery can be run end to end.
class GameCF2A : public GameWithFriends
{
    Q_OBJECT

public:
    explicit GameCF2A(QWidget *parent = nullptr);

public slots:
    void init() override;
    void runExample() override;
    void runGame() override;
    void runNext() override;
};

#endif // GAMECF2A_H
