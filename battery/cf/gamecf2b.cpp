#include "gamecf2b.h"

namespace {
const char testCodeText[] = "CF2B";
}

GameCF2B::GameCF2B(QWidget *parent)
    : GameCF2Generic(parent)
{
    setTestCode(testCodeText);
    setTitle("Reconocimiento de sílaba final");
}

const QList<GameCF2Generic::Item> &GameCF2B::items()
{
    // Target word, top, middle and bottom picture, item key (the right picture).
    static const QList<Item> table = {
        {"pasa", "hueso", "mesa", "cama", "mesa"},
        {"rosa", "casa", "queso", "roca", "casa"},
        {"taco", "saco", "cerca", "sapo", "saco"},
        {"pelota", "galleta", "tomate", "cebolla", "galleta"},
        {"noche", "ocho", "postre", "leche", "leche"},
        {"valle", "calle", "silla", "llave", "calle"},
        {"botella", "cabello", "cebolla", "polera", "cebolla"},
    };
    return table;
}

void GameCF2B::buildStimuli()
{
    addItems(items());
}

QStringList GameCF2B::resourcePaths()
{
    return resourcePathsFor(testCodeText, items());
}
