#include "gamecf2generic.h"

#include "clickableimage.h"
#include "imagelabel.h"
#include "movielabel.h"
#include "widgetcf2stimuli.h"

#include <QKeyEvent>

GameCF2Generic::GameCF2Generic(QWidget *parent)
    : GameWithFriends(parent)
{
    setDimensionColor(20, 96, 159);
    connect(friends, &MovieLabel::clicked, this, &GameCF2Generic::playWord);
}

void GameCF2Generic::setTestCode(QString code)
{
    testCode = code;
}

void GameCF2Generic::addStimulus(QString itemKey, QString targetWord, QString topName, QString middleName,
                                 QString bottomName, bool isTestItem)
{
    // The items are built once per test object; a later run uses the same
    // widgets (and their single connection) again.
    if (!stimuli.contains(itemKey)) {
        auto *widget = new WidgetCF2Stimuli(testCode, itemKey, targetWord, topName, middleName, bottomName,
                                            getGameHolder());
        widget->hide();
        widget->setHighlightOptions(true);
        stimuli.insert(itemKey, widget);
        // Touches on the example are not connected: they do nothing.
        if (isTestItem)
            connect(widget, &WidgetCF2Stimuli::selectedStimulus, this, &GameCF2Generic::selectedStimulusWithValue);
    }
    if (isTestItem)
        pendingKeys.append(itemKey);
}

void GameCF2Generic::addItems(const QList<Item> &items)
{
    for (int i = 0; i < items.size(); ++i) {
        const Item &item = items.at(i);
        addStimulus(QString::fromUtf8(item.itemKey), QString::fromUtf8(item.targetWord),
                    QString::fromUtf8(item.topName), QString::fromUtf8(item.middleName),
                    QString::fromUtf8(item.bottomName), i > 0);
    }
    if (!items.isEmpty())
        currentKey = QString::fromUtf8(items.first().itemKey);
}

QStringList GameCF2Generic::resourcePathsFor(const QString &testCode, const QList<Item> &items)
{
    QStringList paths;
    for (const Item &item : items) {
        for (const char *name : {item.topName, item.middleName, item.bottomName}) {
            paths << WidgetCF2Stimuli::picturePath(testCode, QString::fromUtf8(name));
            paths << WidgetCF2Stimuli::soundPath(testCode, QString::fromUtf8(name));
        }
        paths << WidgetCF2Stimuli::soundPath(testCode, QString::fromUtf8(item.targetWord));
    }
    paths.removeDuplicates();
    return paths;
}

void GameCF2Generic::init()
{
    GameWithFriends::init();
    pendingKeys.clear();
    buildStimuli();
    // An item left on screen by an earlier run that was abandoned must not show
    // up (and answer for itself) in this one.
    for (WidgetCF2Stimuli *widget : qAsConst(stimuli)) {
        widget->hide();
        widget->resetOptionCycle();
    }
    placeStimuli();

    exampleButton->setActive(true);
    testButton->setActive(false);
    nextButton->hide();
    testRunning = false;
}

void GameCF2Generic::placeStimuli()
{
    for (WidgetCF2Stimuli *widget : qAsConst(stimuli)) {
        const int w = widget->width();
        const int h = widget->height();
        widget->move(centeredX(w) + 2 * w, centeredY(h));
    }
}

void GameCF2Generic::showCurrentStimulus()
{
    WidgetCF2Stimuli *widget = stimuli.value(currentKey);
    if (!widget)
        return;
    widget->resetOptionCycle();
    widget->show();
    if (widget->isVisible()) {
        friends->play();
        soundingIcon->show();
        emit requestPlaySound(widget->targetSoundPath());
    }
}

void GameCF2Generic::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
    showCurrentStimulus();
}

void GameCF2Generic::runGame()
{
    testButton->setActive(false);
    testRunning = true;
    runNext();
}

void GameCF2Generic::runNext()
{
    if (WidgetCF2Stimuli *widget = stimuli.value(currentKey))
        widget->hide();
    if (pendingKeys.isEmpty()) {
        finishGame();
        return;
    }
    currentKey = pendingKeys.takeFirst();
    showCurrentStimulus();
}

void GameCF2Generic::selectedStimulusWithValue(QString stimulusName, bool isCorrect)
{
    // Only the item on screen answers, once, while the test runs.
    if (!testRunning || finished || stimulusName != currentKey)
        return;
    emit requestLogValueForKey(stimulusName, isCorrect ? "1" : "0");
    runNext();
}

void GameCF2Generic::playWord()
{
    WidgetCF2Stimuli *widget = stimuli.value(currentKey);
    if (!widget || !widget->isVisible())
        return;
    friends->play();
    soundingIcon->show();
    emit requestPlaySound(widget->targetSoundPath());
}

void GameCF2Generic::playNextStimulus()
{
    WidgetCF2Stimuli *widget = stimuli.value(currentKey);
    if (!widget || !widget->isVisible())
        return;
    soundingIcon->show();
    emit requestPlaySound(widget->nextOptionSoundPath());
}

void GameCF2Generic::keyPressEvent(QKeyEvent *event)
{
    if (!finished && isGameVisible() && event->key() == Qt::Key_Space) {
        playNextStimulus();
        event->accept();
        return;
    }
    GameWithFriends::keyPressEvent(event);
}

void GameCF2Generic::resizeEvent(QResizeEvent *event)
{
    GameWithFriends::resizeEvent(event);
    placeStimuli();
}
