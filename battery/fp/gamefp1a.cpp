#include "gamefp1a.h"

#include "clickableimage.h"
#include "imagelabel.h"
#include "movielabel.h"

#include <QFontMetrics>
#include <QHideEvent>
#include <QLabel>
#include <QTimer>

namespace {
const char *const martianPath = "images/FP1A/marciano.gif";
const char *const bubblePath = "images/FP1A/bocadillo.png";
const int pauseMs = 500;
// Where the centre of the word lies, from the bubble's top-left corner.
const int wordCentreX = 140;
const int wordCentreY = 50;
}

GameFP1A::GameFP1A(QWidget *parent)
    : GameWindow(parent)
    , martian(nullptr)
    , speechBubble(nullptr)
    , wordLabel(nullptr)
    , wordShown(false)
    , pauseTimer(new QTimer(this))
{
    setDimensionColor(190, 27, 46);
    setTitle("Lectura de palabras y pseudo-palabras");

    martian = new MovieLabel(martianPath, getGameHolder());
    speechBubble = new ImageLabel(bubblePath, getGameHolder());
    speechBubble->hide();
    wordLabel = new QLabel(getGameHolder());
    QFont font = wordLabel->font();
    font.setPointSize(24);
    wordLabel->setFont(font);
    wordLabel->setAttribute(Qt::WA_TranslucentBackground);
    wordLabel->setStyleSheet("color:#0000ff;");

    pauseTimer->setSingleShot(true);
    pauseTimer->setInterval(pauseMs);
    connect(pauseTimer, &QTimer::timeout, this, &GameFP1A::showNextWord);
}

QStringList GameFP1A::resourcePaths()
{
    return {martianPath, bubblePath};
}

QStringList GameFP1A::testWords()
{
    // Four pseudo-words, then four words.
    return {"cire", "ontil", "fopasa", "istana", "palo", "arbol", "camisa", "espejo"};
}

QString GameFP1A::exampleWord()
{
    return "popa";
}

void GameFP1A::buildWords()
{
    words = testWords();
}

void GameFP1A::placeMartian()
{
    const int x = centeredX(speechBubble->width() + martian->width());
    const int y = centeredY(martian->height());
    martian->move(x, y);
    speechBubble->move(x + martian->width(), y);
}

void GameFP1A::placeWord()
{
    // The label fits its text, so that no word is cut off; the text's centre
    // falls on the bubble's writing place whatever the word's length.
    wordLabel->adjustSize();
    const QRect text = QFontMetrics(wordLabel->font()).boundingRect(wordLabel->text());
    wordLabel->move(speechBubble->x() - text.width() / 2 + wordCentreX,
                    speechBubble->y() - text.height() / 2 + wordCentreY);
}

void GameFP1A::init()
{
    GameWindow::init();
    pauseTimer->stop();
    buildWords();
    currentWord.clear();
    placeMartian();
    wordLabel->hide();
    speechBubble->hide();
    exampleButton->setActive(true);
    testButton->setActive(false);
    wordShown = false;
}

void GameFP1A::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
    martian->play();
    wordLabel->setText(exampleWord());
    placeWord();
    wordLabel->show();
    speechBubble->show();
}

void GameFP1A::runGame()
{
    if (testRunning)
        return;
    testButton->setActive(false);
    testRunning = true;
    wordLabel->hide();
    speechBubble->hide();
    // The next button becomes active with the first word, after the pause.
    pauseTimer->start();
}

void GameFP1A::runNext()
{
    // Only a word on screen can be ended: not during a pause, not after the
    // last word, not before the first.
    if (!wordShown || !nextButton->isActive() || pauseTimer->isActive() || finished)
        return;
    nextButton->setActive(false);
    wordLabel->hide();
    speechBubble->hide();
    stopRecording();
    emit requestLogValueForKey("WORD", currentWord);
    emit requestLogValueForKey("FILE", recordingFileName);
    pauseTimer->start();
}

void GameFP1A::showNextWord()
{
    pauseTimer->stop();
    if (words.isEmpty()) {
        finishGame();
        return;
    }
    currentWord = words.takeFirst();
    martian->play();
    wordLabel->setText(currentWord);
    placeWord();
    wordLabel->show();
    speechBubble->show();
    wordShown = true;
    nextButton->setActive(true);
    // A new recording for every word.
    startRecording();
}

void GameFP1A::resizeEvent(QResizeEvent *event)
{
    GameWindow::resizeEvent(event);
    placeMartian();
    if (!wordLabel->text().isEmpty())
        placeWord();
}

void GameFP1A::hideEvent(QHideEvent *event)
{
    // Left by the battery (next test, skip or abandon): no further word.
    if (isHidden())
        pauseTimer->stop();
    GameWindow::hideEvent(event);
}
