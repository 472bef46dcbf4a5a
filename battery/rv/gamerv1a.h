#ifndef GAMERV1A_H
#define GAMERV1A_H

#include "gamewindow.h"

// Temporary stand-in for the "RV1A" test until the real test is written: it
// walks through the example and test phases and ends at the next button,
// logging nothing, so that the battery can be run end to end.
class GameRV1A : public GameWindow
{
    Q_OBJECT

public:
    explicit GameRV1A(QWidget *parent = nullptr);
    // The child's first name, used to personalise the story.
    void setChildName(QString name);

public slots:
    void init() override;
    void runExample() override;
    void runGame() override;
    void runNext() override;

private:
    QString childName;
};

#endif // GAMERV1A_H
