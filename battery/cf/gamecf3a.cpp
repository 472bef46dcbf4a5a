#include "gamecf3a.h"

namespace {
const char testCodeText[] = "CF3A";
}

GameCF3A::GameCF3A(QWidget *parent)
    : GameCF2Generic(parent)
{
    setTestCode(testCodeText);
    setTitle("Reconocimiento de sonido inicial");
}

const QList<GameCF2Generic::Item> &GameCF3A::items()
{
    // Target word, top, middle and bottom picture, item key (the right picture).
    static const QList<Item> table = {
        {"ojo", "oso", "ajo", "pollo", "oso"},
        {"una", "olla", "uva", "pulga", "uva"},
        {"mapa", "mono", "casa", "pala", "mono"},
        {"seda", "saco", "rata", "pera", "saco"},
        {"toro", "loro", "taza", "loco", "taza"},
        {"paloma", "poroto", "madera", "carroza", "poroto"},
        {"camino", "payaso", "amigo", "cocina", "cocina"},
    };
    return table;
}

void GameCF3A::buildStimuli()
{
    addItems(items());
}

QStringList GameCF3A::resourcePaths()
{
    return resourcePathsFor(testCodeText, items());
}
