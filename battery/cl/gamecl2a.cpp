#include "gamecl2a.h"

#include "clickableimage.h"
#include "imagelabel.h"
#include "invisibletoucharea.h"

namespace {
const int questionCount = 4;
}

GameCL2A::GameCL2A(QWidget *parent)
    : GameWindow(parent)
    , storyImage(nullptr)
    , itemIndex(-1)
    , answering(false)
{
    setDimensionColor(239, 87, 47);
    setTitle("Comprensión lectora");

    // Created in stacking order: the questions lie over the story, the answer
    // areas over the questions.
    storyImage = new ImageLabel(storyPath(), getGameHolder());
    correctOptions = QList<QString>{"b", "c", "b", "c"};
    for (int i = 0; i < questionCount; ++i)
        questionPages << new ImageLabel(questionPath(i), getGameHolder());
    for (const QString value : {"a", "b", "c"}) {
        auto *area = new InvisibleTouchArea(AreaWidth, AreaHeight, value, getGameHolder());
        connect(area, &InvisibleTouchArea::clicked, this, &GameCL2A::selectedAnswer);
        answerAreas << area;
    }
}

QStringList GameCL2A::resourcePaths()
{
    QStringList paths{storyPath()};
    for (int i = 0; i < questionCount; ++i)
        paths << questionPath(i);
    paths << touchSoundPath();
    return paths;
}

QString GameCL2A::storyPath()
{
    return "images/CL2A/cuento.png";
}

QString GameCL2A::questionPath(int index)
{
    return QString("images/CL2A/cl2a_p0%1.png").arg(index + 1);
}

QString GameCL2A::touchSoundPath()
{
    return "sounds/touch.wav";
}

QList<int> GameCL2A::areaTops()
{
    return {493, 528, 565};
}

void GameCL2A::placeItems()
{
    const int x = centeredX(storyImage->width());
    const int y = centeredY(storyImage->height());
    storyImage->move(x, y);
    for (ImageLabel *page : qAsConst(questionPages))
        page->move(x, y);
    const QList<int> tops = areaTops();
    for (int i = 0; i < answerAreas.size(); ++i)
        answerAreas.at(i)->move(x + AreaLeft, y + tops.at(i));
}

void GameCL2A::setAreasEnabled(bool enabled)
{
    for (InvisibleTouchArea *area : qAsConst(answerAreas))
        area->setTouchEnabled(enabled);
}

void GameCL2A::init()
{
    GameWindow::init();
    exampleButton->hide();
    testButton->setActive(true);
    nextButton->hide();
    for (ImageLabel *page : qAsConst(questionPages))
        page->hide();
    setAreasEnabled(false);
    placeItems();
    itemIndex = -1;
    answering = false;
}

void GameCL2A::runGame()
{
    if (testRunning)
        return;
    testButton->setActive(false);
    testRunning = true;
    answering = true;
    setAreasEnabled(true);
    runNext();
}

void GameCL2A::runNext()
{
    if (itemIndex >= questionCount)
        return;
    if (itemIndex >= 0)
        questionPages.at(itemIndex)->hide();
    ++itemIndex;
    if (itemIndex < questionCount) {
        questionPages.at(itemIndex)->show();
        return;
    }
    // After the last answer nothing more is scored.
    answering = false;
    finishGame();
    setAreasEnabled(false);
}

void GameCL2A::selectedAnswer(QString answer)
{
    if (!answering || itemIndex < 0 || itemIndex >= questionCount)
        return;
    emit requestLogValueForKey(QString::number(itemIndex), answer == correctOptions.at(itemIndex) ? "1" : "0");
    emit requestPlaySound(touchSoundPath());
    runNext();
}

void GameCL2A::resizeEvent(QResizeEvent *event)
{
    GameWindow::resizeEvent(event);
    placeItems();
}
