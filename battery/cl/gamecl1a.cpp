#include "gamecl1a.h"

#include "clickableimage.h"
#include "imagelabel.h"
#include "widgetcl1stimuli.h"

namespace {
const int itemCount = 6;
const int statementTop = 20;
}

GameCL1A::GameCL1A(QWidget *parent)
    : GameWindow(parent)
    , itemIndex(-1)
{
    setDimensionColor(239, 87, 47);
    setTitle("Lectura de frases y oraciones breves");

    correctOptions = correctLetters();
    for (int n = 1; n <= itemCount; ++n) {
        statementImages << new ImageLabel(statementPath(n), getGameHolder());
        auto *options = new WidgetCL1Stimuli(n, correctOptions.at(n - 1), getGameHolder());
        connect(options, &WidgetCL1Stimuli::selectedStimulus, this, &GameCL1A::selectedAnswer);
        optionWidgets << options;
    }
}

QStringList GameCL1A::resourcePaths()
{
    QStringList paths;
    for (int n = 1; n <= itemCount; ++n) {
        paths << statementPath(n);
        for (const QString &letter : WidgetCL1Stimuli::optionLetters())
            paths << WidgetCL1Stimuli::optionPath(n, letter);
    }
    return paths;
}

QString GameCL1A::statementPath(int itemNumber)
{
    return QString("images/CL1A/cl1a0%1enunciado.png").arg(itemNumber);
}

QStringList GameCL1A::correctLetters()
{
    return {"a", "c", "b", "b", "b", "a"};
}

void GameCL1A::placeItems()
{
    for (ImageLabel *statement : qAsConst(statementImages))
        statement->move(centeredX(statement->width()), statementTop);
    for (WidgetCL1Stimuli *options : qAsConst(optionWidgets))
        centerWidget(options);
}

void GameCL1A::init()
{
    GameWindow::init();
    exampleButton->hide();
    testButton->setActive(true);
    nextButton->hide();
    itemIndex = -1;
    for (ImageLabel *statement : qAsConst(statementImages))
        statement->hide();
    for (WidgetCL1Stimuli *options : qAsConst(optionWidgets))
        options->hide();
    placeItems();
}

void GameCL1A::runGame()
{
    if (testRunning)
        return;
    testButton->setActive(false);
    testRunning = true;
    runNext();
}

void GameCL1A::runNext()
{
    if (itemIndex >= itemCount)
        return;
    if (itemIndex >= 0) {
        statementImages.at(itemIndex)->hide();
        optionWidgets.at(itemIndex)->hide();
    }
    ++itemIndex;
    if (itemIndex >= itemCount) {
        finishGame();
        return;
    }
    statementImages.at(itemIndex)->show();
    optionWidgets.at(itemIndex)->show();
}

void GameCL1A::selectedAnswer(int index_, bool isCorrect)
{
    // One answer per item: only the item on screen counts.
    if (itemIndex < 0 || itemIndex >= itemCount || index_ != itemIndex + 1)
        return;
    emit requestLogValueForKey(QString::number(index_), isCorrect ? "1" : "0");
    runNext();
}

void GameCL1A::resizeEvent(QResizeEvent *event)
{
    GameWindow::resizeEvent(event);
    placeItems();
}
