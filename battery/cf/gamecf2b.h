#ifndef GAMECF2B_H
#define GAMECF2B_H

#include "gamecf2generic.h"

// "CF2B": the child picks the picture whose name shares the last syllable of the
// spoken word.
class GameCF2B : public GameCF2Generic
{
    Q_OBJECT

public:
    explicit GameCF2B(QWidget *parent = nullptr);

    // Every picture and sound this test can ask for.
    static QStringList resourcePaths();

protected:
    void buildStimuli() override;

private:
    // The example first, then the six test items.
    static const QList<Item> &items();
};

#endif // GAMECF2B_H
