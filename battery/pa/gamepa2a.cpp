#include "gamepa2a.h"

#include "clickableimage.h"
#include "gamepa1a.h"
#include "imagelabel.h"
#include "movielabel.h"

#include <QKeyEvent>

namespace {
const char *const soundTemplate = "sounds/PA2A/%1.wav";
}

GamePA2A::GamePA2A(QWidget *parent)
    : GameWithFriends(parent)
{
    setDimensionColor(0, 150, 79);
    setTitle("Conocimiento de nombre de letras");
    connect(friends, &MovieLabel::clicked, this, &GamePA2A::playPhoneme);
}

bool GamePA2A::keyMatchesLetter(int key, const QString &typed, const QString &letter)
{
    return GamePA1A::keyMatchesLetter(key, typed, letter)
        || (key == Qt::Key_V && letter == "b")
        || (key == Qt::Key_B && letter == "v");
}

QString GamePA2A::soundPath(const QString &letter)
{
    return QString(soundTemplate).arg(letter);
}

QStringList GamePA2A::resourcePaths()
{
    QStringList paths{soundPath(GamePA1A::exampleLetter())};
    for (const QString &letter : GamePA1A::testLetters())
        paths << soundPath(letter);
    return paths;
}

void GamePA2A::addLetter(const QString &letter, bool queue)
{
    letterSounds.insert(letter, soundPath(letter));
    if (queue)
        letters.append(letter);
}

void GamePA2A::buildLetters()
{
    letterSounds.clear();
    letters.clear();
    addLetter(GamePA1A::exampleLetter(), false);
    for (const QString &letter : GamePA1A::testLetters())
        addLetter(letter, true);
}

void GamePA2A::playPrompt()
{
    friends->play();
    soundingIcon->show();
    emit requestPlaySound(letterSounds.value(currentLetter));
}

void GamePA2A::playPhoneme()
{
    // Once the last answer is in, the test is over: no prompt is replayed.
    if (finished)
        return;
    playPrompt();
}

void GamePA2A::init()
{
    GameWithFriends::init();
    buildLetters();
    exampleButton->setActive(true);
    testButton->setActive(false);
    nextButton->hide();
    currentLetter = GamePA1A::exampleLetter();
    testRunning = false;
}

void GamePA2A::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
    playPrompt();
}

void GamePA2A::runGame()
{
    testButton->setActive(false);
    currentLetter = letters.takeFirst();
    playPrompt();
    testRunning = true;
}

void GamePA2A::runNext()
{
    if (letters.isEmpty()) {
        finishGame();
        return;
    }
    currentLetter = letters.takeFirst();
    playPrompt();
}

void GamePA2A::keyPressEvent(QKeyEvent *event)
{
    const bool answer = !finished && testRunning && isGameVisible() && GamePA1A::isAnswerKey(event->key());
    if (!answer) {
        GameWithFriends::keyPressEvent(event);
        return;
    }
    event->accept();
    // Only the press itself is an answer: the repeats of a key held down would
    // answer the following letters before their prompts were heard.
    if (event->isAutoRepeat())
        return;
    const bool correct = keyMatchesLetter(event->key(), event->text().toLower(), currentLetter);
    emit requestLogValueForKey(currentLetter, correct ? "1" : "0");
    runNext();
}
