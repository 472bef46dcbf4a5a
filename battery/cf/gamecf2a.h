#ifndef GAMECF2A_H
#define GAMECF2A_H

#include "gamecf2generic.h"

// "CF2A": the child picks the picture whose name shares the first syllable of the
// spoken word.
class GameCF2A : public GameCF2Generic
{
    Q_OBJECT

public:
    explicit GameCF2A(QWidget *parent = nullptr);

    // Every picture and sound this test can ask for.
    static QStringList resourcePaths();

protected:
    void buildStimuli() override;

private:
    // The example first, then the six test items.
    static const QList<Item> &items();
};

#endif // GAMECF2A_H
