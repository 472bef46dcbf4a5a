#ifndef GAMETT1A_H
#define GAMETT1A_H

#include "gamewindow.h"

// Temporary stand-in for the "TT1A" test until the real test is written: it
// walks through the example and test phases and ends at the next button,
// logging nothing, so that the battery can be run end to end.
class GameTT1A : public GameWindow
{
    Q_OBJECT

public:
    explicit GameTT1A(QWidget *parent = nullptr);

public slots:
    void init() override;
    void runExample() override;
    void runGame() override;
    void runNext() override;
};

#endif // GAMETT1A_H
