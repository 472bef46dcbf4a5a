#ifndef GAMEFP1A_H
#define GAMEFP1A_H

#include "gamewindow.h"

// Temporary stand-in for the "FP1A" test until the real test is written: it
// walks through the example and test phases and ends at the next button,
// logging nothing, so that the battery can be run end to end.
class GameFP1A : public GameWindow
{
    Q_OBJECT

public:
    explicit GameFP1A(QWidget *parent = nullptr);

public slots:
    void init() override;
    void runExample() override;
    void runGame() override;
    void runNext() override;
};

#endif // GAMEFP1A_H
