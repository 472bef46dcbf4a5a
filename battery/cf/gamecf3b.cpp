#include "gamecf3b.h"

namespace {
const char testCodeText[] = "CF3B";
}

GameCF3B::GameCF3B(QWidget *parent)
    : GameCF2Generic(parent)
{
    setTestCode(testCodeText);
    setTitle("Reconocimiento de sonido final");
}

const QList<GameCF2Generic::Item> &GameCF3B::items()
{
    // Target word, top, middle and bottom picture, item key (the right picture).
    static const QList<Item> table = {
        {"roca", "copa", "remo", "peste", "remo"},
        {"tope", "bote", "tapa", "rata", "bote"},
        {"jarabe", "chupete", "jirafa", "raqueta", "chupete"},
        {"sarten", "volcan", "sofa", "papel", "volcan"},
        {"corazon", "cazador", "colador", "tulipan", "tulipan"},
        {"farol", "feliz", "papel", "jarron", "papel"},
        {"carcel", "trebol", "copa", "balde", "trebol"},
    };
    return table;
}

void GameCF3B::buildStimuli()
{
    addItems(items());
}

QStringList GameCF3B::resourcePaths()
{
    return resourcePathsFor(testCodeText, items());
}
