#ifndef GAMECF3B_H
#define GAMECF3B_H

#include "gamecf2generic.h"

// "CF3B": the child picks the picture whose name shares the last sound of the
// spoken word.
class GameCF3B : public GameCF2Generic
{
    Q_OBJECT

public:
    explicit GameCF3B(QWidget *parent = nullptr);

    // Every picture and sound this test can ask for.
    static QStringList resourcePaths();

protected:
    void buildStimuli() override;

private:
    // The example first, then the six test items.
    static const QList<Item> &items();
};

#endif // GAMECF3B_H
