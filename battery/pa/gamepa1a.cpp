#include "gamepa1a.h"

#include "clickableimage.h"
#include "imagelabel.h"

#include <QKeyEvent>

namespace {
const char *const pictureTemplate = "images/PA1A/%1.png";
const char *const example = "a";
const char *const sequence[] = {"e", "o", "m", "b", "p", "s", "t", "l", "d", "r", "c", "g"};
}

GamePA1A::GamePA1A(QWidget *parent)
    : GameWindow(parent)
{
    setDimensionColor(0, 150, 79);
    setTitle("Conocimiento de grafemas");
}

QString GamePA1A::exampleLetter()
{
    return QString(example);
}

QStringList GamePA1A::testLetters()
{
    QStringList result;
    for (const char *letter : sequence)
        result << QString(letter);
    return result;
}

bool GamePA1A::isAnswerKey(int key)
{
    return (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9);
}

bool GamePA1A::keyMatchesLetter(int key, const QString &typed, const QString &letter)
{
    return typed.compare(letter, Qt::CaseInsensitive) == 0
        || (key == Qt::Key_1 && letter == "l")
        || (key == Qt::Key_0 && letter == "o");
}

QString GamePA1A::picturePath(const QString &letter)
{
    return QString(pictureTemplate).arg(letter);
}

QStringList GamePA1A::resourcePaths()
{
    QStringList paths{picturePath(exampleLetter())};
    for (const QString &letter : testLetters())
        paths << picturePath(letter);
    return paths;
}

void GamePA1A::addLetter(const QString &letter, bool queue)
{
    if (!letterPictures.contains(letter)) {
        auto *picture = new ImageLabel(picturePath(letter), getGameHolder());
        picture->hide();
        letterPictures.insert(letter, picture);
    }
    if (queue)
        letters.append(letter);
}

void GamePA1A::buildLetters()
{
    letters.clear();
    addLetter(exampleLetter(), false);
    for (const QString &letter : testLetters())
        addLetter(letter, true);
}

void GamePA1A::centerAllLetters()
{
    for (ImageLabel *picture : qAsConst(letterPictures))
        centerWidget(picture);
}

void GamePA1A::showCurrentLetter(bool visible)
{
    if (ImageLabel *picture = letterPictures.value(currentLetter))
        picture->setVisible(visible);
}

void GamePA1A::init()
{
    GameWindow::init();
    buildLetters();
    centerAllLetters();
    exampleButton->setActive(true);
    testButton->setActive(false);
    nextButton->hide();
    // A run left half-way (the test was skipped) may have left its letter on show.
    for (ImageLabel *picture : qAsConst(letterPictures))
        picture->hide();
    currentLetter = exampleLetter();
    testRunning = false;
}

void GamePA1A::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
    showCurrentLetter(true);
}

void GamePA1A::runGame()
{
    testButton->setActive(false);
    showCurrentLetter(false);
    currentLetter = letters.takeFirst();
    showCurrentLetter(true);
    testRunning = true;
}

void GamePA1A::runNext()
{
    showCurrentLetter(false);
    if (letters.isEmpty()) {
        finishGame();
        return;
    }
    currentLetter = letters.takeFirst();
    showCurrentLetter(true);
}

void GamePA1A::keyPressEvent(QKeyEvent *event)
{
    const bool answer = !finished && testRunning && isGameVisible() && isAnswerKey(event->key());
    if (!answer) {
        GameWindow::keyPressEvent(event);
        return;
    }
    event->accept();
    // A key held down repeats itself; only the press itself is an answer, so a
    // long press never answers the letters that follow.
    if (event->isAutoRepeat())
        return;
    const bool correct = keyMatchesLetter(event->key(), event->text().toLower(), currentLetter);
    emit requestLogValueForKey(currentLetter, correct ? "1" : "0");
    runNext();
}

void GamePA1A::resizeEvent(QResizeEvent *event)
{
    GameWindow::resizeEvent(event);
    centerAllLetters();
}
