#ifndef GAMECF3A_H
#define GAMECF3A_H

#include "gamecf2generic.h"

// "CF3A": the child picks the picture whose name shares the first sound of the
// spoken word.
class GameCF3A : public GameCF2Generic
{
    Q_OBJECT

public:
    explicit GameCF3A(QWidget *parent = nullptr);

    // Every picture and sound this test can ask for.
    static QStringList resourcePaths();

protected:
    void buildStimuli() override;

private:
    // The example first, then the six test items.
    static const QList<Item> &items();
};

#endif // GAMECF3A_H
