#include "gamecf2a.h"

namespace {
const char testCodeText[] = "CF2A";
}

GameCF2A::GameCF2A(QWidget *parent)
    : GameCF2Generic(parent)
{
    setTestCode(testCodeText);
    setTitle("Reconocimiento de sílaba inicial");
}

const QList<GameCF2Generic::Item> &GameCF2A::items()
{
    // Target word, top, middle and bottom picture, item key (the right picture).
    static const QList<Item> table = {
        {"mano", "mago", "mesa", "gato", "mago"},
        {"gorro", "goma", "gato", "loro", "goma"},
        {"conejo", "corona", "boleta", "cadena", "corona"},
        {"tesoro", "tomate", "tetera", "repollo", "tetera"},
        {"lapiz", "luna", "lana", "rana", "lana"},
        {"remo", "rata", "perro", "regla", "regla"},
        {"galleta", "gusano", "maleta", "gallina", "gallina"},
    };
    return table;
}

void GameCF2A::buildStimuli()
{
    addItems(items());
}

QStringList GameCF2A::resourcePaths()
{
    return resourcePathsFor(testCodeText, items());
}
