#ifndef GAMECL2A_H
#define GAMECL2A_H

#include "gamewindow.h"

// Temporary stand-in for the "CL2A" test until the real test is written: it
// walks through the example and test phases and ends at the next button,
// logging nothing, so that the battery can be run end to end.
class GameCL2A : public GameWindow
{
    Q_OBJECT

public:
    explicit GameCL2A(QWidget *parent = nullptr);

public slots:
    void init() override;
    void runExample() override;
    void runGame() override;
    void runNext() override;
};

#endif // GAMECL2A_H
