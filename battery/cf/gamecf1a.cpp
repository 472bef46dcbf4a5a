#include "gamecf1a.h"

#include "clickableimage.h"
#include "imagelabel.h"
#include "movielabel.h"

#include <QKeyEvent>
#include <QTimer>

namespace {
const char *const soundTemplate = "sounds/CF1A/%1.wav";

const char *const drumPicture = "images/CF1A/tambor.png";
const char *const leftStickUpPicture = "images/CF1A/baqueta_izq_arriba.png";
const char *const leftStickDownPicture = "images/CF1A/baqueta_izq_abajo.png";
const char *const rightStickUpPicture = "images/CF1A/baqueta_der_arriba.png";
const char *const rightStickDownPicture = "images/CF1A/baqueta_der_abajo.png";

// How long a drumstick stays down after a strike.
const int strikeMs = 200;

const char *const drumSound = "tamborazo";
const char *const exampleWord = "lobo";

struct Word {
    const char *word; // also the name of its sound and its log key
    int syllables;
    bool queued; // presented in the test phase
};

const Word wordTable[] = {
    {drumSound, 0, false},
    {exampleWord, 2, false},
    {"gato", 2, true},
    {"gallina", 3, true},
    {"arbol", 2, true},
    {"orquesta", 3, true},
    {"campo", 2, true},
    {"companero", 4, true},
    {"florero", 3, true},
    {"lluvia", 2, true},
};
}

GameCF1A::GameCF1A(QWidget *parent)
    : GameWithFriends(parent)
    , drum(nullptr)
    , leftStickUp(nullptr)
    , leftStickDown(nullptr)
    , rightStickUp(nullptr)
    , rightStickDown(nullptr)
    , hitCount(0)
    , leftTurn(false)
{
    setDimensionColor(20, 96, 159);
    setTitle("Segmentación de sílabas");
    drum = new ImageLabel(drumPicture, getGameHolder());
    leftStickUp = new ImageLabel(leftStickUpPicture, getGameHolder());
    leftStickDown = new ImageLabel(leftStickDownPicture, getGameHolder());
    rightStickUp = new ImageLabel(rightStickUpPicture, getGameHolder());
    rightStickDown = new ImageLabel(rightStickDownPicture, getGameHolder());
    connect(friends, &MovieLabel::clicked, this, &GameCF1A::playWord);
}

QString GameCF1A::soundPath(const QString &word)
{
    return QString(soundTemplate).arg(word);
}

QStringList GameCF1A::resourcePaths()
{
    QStringList paths{drumPicture, leftStickUpPicture, leftStickDownPicture, rightStickUpPicture,
                      rightStickDownPicture};
    for (const Word &row : wordTable)
        paths << soundPath(row.word);
    return paths;
}

void GameCF1A::addWord(const QString &word, int syllables, bool queue)
{
    wordSounds.insert(word, soundPath(word));
    syllableCounts.insert(word, syllables);
    if (queue)
        words.append(word);
}

void GameCF1A::buildWords()
{
    wordSounds.clear();
    syllableCounts.clear();
    words.clear();
    for (const Word &row : wordTable)
        addWord(row.word, row.syllables, row.queued);
}

void GameCF1A::playWord()
{
    // Once the last word is scored the test is over: nothing is said again.
    if (finished)
        return;
    friends->play();
    soundingIcon->show();
    emit requestPlaySound(wordSounds.value(currentWord));
}

void GameCF1A::drumsticksUp()
{
    leftStickUp->show();
    rightStickUp->show();
    leftStickDown->hide();
    rightStickDown->hide();
}

void GameCF1A::init()
{
    GameWithFriends::init();
    buildWords();
    placeDrum();
    exampleButton->setActive(true);
    testButton->setActive(false);
    drumsticksUp();
    testRunning = false;
    currentWord = exampleWord;
    hitCount = 0;
}

void GameCF1A::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
    playWord();
}

void GameCF1A::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    nextWord();
    testRunning = true;
}

void GameCF1A::runNext()
{
    if (finished)
        return;
    if (testRunning) {
        const bool right = hitCount == syllableCounts.value(currentWord);
        emit requestLogValueForKey(currentWord, right ? "1" : "0");
    }
    if (words.isEmpty()) {
        // The eighth word is scored: a further click must not score it again.
        nextButton->setActive(false);
        finishGame();
    } else {
        nextWord();
    }
}

void GameCF1A::nextWord()
{
    currentWord = words.takeFirst();
    hitCount = 0;
    friends->play();
    soundingIcon->show();
    emit requestPlaySound(wordSounds.value(currentWord));
}

void GameCF1A::keyPressEvent(QKeyEvent *event)
{
    if (!finished && isGameVisible() && event->key() == Qt::Key_Space) {
        event->accept();
        ++hitCount;
        hitDrum();
        return;
    }
    GameWithFriends::keyPressEvent(event);
}

void GameCF1A::hitDrum()
{
    leftTurn = !leftTurn;
    // No sounding indicator for a strike.
    emit requestPlaySound(wordSounds.value(drumSound));
    if (leftTurn) {
        leftStickUp->hide();
        leftStickDown->show();
    } else {
        rightStickUp->hide();
        rightStickDown->show();
    }
    QTimer::singleShot(strikeMs, this, &GameCF1A::drumsticksUp);
}

void GameCF1A::placeDrum()
{
    const int c = centeredX(drum->width()) + drum->width();
    const int d = centeredY(drum->height());
    drum->move(c, d);
    leftStickUp->move(c - leftStickDown->width() / 2, d - leftStickUp->height() + 20);
    leftStickDown->move(c - leftStickDown->width() / 2, d - leftStickUp->height() + 20);
    const int rightX = c + drum->width() - rightStickDown->width() / 2;
    rightStickUp->move(rightX, d - rightStickUp->height() + 20);
    rightStickDown->move(rightX, d - rightStickUp->height() + 20);
}

void GameCF1A::resizeEvent(QResizeEvent *event)
{
    GameWithFriends::resizeEvent(event);
    placeDrum();
}
