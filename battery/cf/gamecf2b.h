#ifndef GAMECF2B_H
#define GAMECF2B_H

#include "gamewithfriends.h"

// Temporary stand-in for the "CF2B" test until the real test is written: it
// walks through the example and test phases and ends at the next button,
// logging nothing, so that the battery can be run end to end.
class GameCF2B : public GameWithFriends
{
    Q_OBJECT

public:
    explicit GameCF2B(QWidget *parent = nullptr);

public slots:
    void init() override;
    void runExample() override;
    void runGame() override;
    void runNext() override;
};

#endif // GAMECF2B_H
