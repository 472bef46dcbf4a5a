#ifndef GAMEVD_H
#define GAMEVD_H

#include "gamewindow.h"

// Temporary stand-in for the "VD1A" test until the real test is written: it
// walks through the example and test phases and ends at the next button,
// logging nothing, so that the battery can be run end to end.
class GameVD : public GameWindow
{
    Q_OBJECT

public:
    explicit GameVD(QWidget *parent = nullptr);

public slots:
    void init() override;
    void runExample() override;
    void runGame() override;
    void runNext() override;
};

#endif // GAMEVD_H
