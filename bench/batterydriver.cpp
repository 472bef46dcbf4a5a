#include "batterydriver.h"

#include "clickableimage.h"
#include "gamewindow.h"
#include "hoverableclickableimage.h"
#include "invisibletoucharea.h"
#include "mainwindow.h"
#include "transitionlabel.h"
#include "wordinparagraph.h"

#include <QApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QEventLoop>
#include <QTest>

namespace {
// A test that shows nothing to press for this long is stuck waiting (for a
// sound, say) and is moved on.
const int idleLimitMs = 15000;
// A test that keeps accepting presses without finishing is moved on too.
const int pressLimit = 400;
// With nothing to touch, a letter key is typed every this many steps.
const int keyEverySteps = 10;
}

BatteryDriver::BatteryDriver(MainWindow *mainWindow, quint32 seed, QObject *parent)
    : QObject(parent)
    , window(mainWindow)
    , loop(nullptr)
    , evaluationId(0)
    , stepsWithoutPress(0)
    , pressesInTest(0)
    , stepMs(30)
    , busy(false)
    , random(seed)
{
    connect(&timer, &QTimer::timeout, this, &BatteryDriver::step);
}

BatteryDriver::Result BatteryDriver::runFullEvaluation(const QString &name, int timeoutMs)
{
    result = Result();
    currentCode.clear();
    QElapsedTimer clock;
    clock.start();

    window->startGame(name, QString::fromUtf8("Pérez"), 1, QString(""), true, false);
    evaluationId = window->currentEvaluationId();
    if (evaluationId == 0)
        return result;

    QEventLoop events;
    loop = &events;
    timer.start(stepMs);
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, &events, &QEventLoop::quit);
    deadline.start(timeoutMs);
    events.exec();
    timer.stop();
    loop = nullptr;

    result.completed = window->currentEvaluationId() == 0;
    result.milliseconds = clock.elapsed();
    return result;
}

void BatteryDriver::press(QWidget *widget)
{
    // Pointer over the widget first: some pictures only take a press while
    // the pointer is on them.
    QEnterEvent enter(QPointF(widget->rect().center()), QPointF(widget->rect().center()),
                      QPointF(widget->mapToGlobal(widget->rect().center())));
    QApplication::sendEvent(widget, &enter);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
    ++result.presses;
    ++pressesInTest;
    stepsWithoutPress = 0;
}

void BatteryDriver::typeLetter(QWidget *game)
{
    static const char letters[] = "aeombpstldrcgx";
    std::uniform_int_distribution<int> pick(0, int(sizeof letters) - 2);
    const char letter = letters[pick(random)];
    QTest::keyClick(game, letter);
    ++result.keys;
    ++pressesInTest;
}

QList<QWidget *> BatteryDriver::answerWidgets(GameWindow *game)
{
    QList<QWidget *> found;
    const QList<QWidget *> toolbarButtons = {game->getExampleButton(), game->getTestButton(), game->getNextButton()};
    const auto children = game->getGameHolder()->findChildren<QWidget *>();
    for (QWidget *widget : children) {
        if (!widget->isVisible() || toolbarButtons.contains(widget))
            continue;
        if (auto *hoverable = qobject_cast<HoverableClickableImage *>(widget)) {
            if (hoverable->isHoverMode() || hoverable->isActive())
                found << widget;
        } else if (auto *image = qobject_cast<ClickableImage *>(widget)) {
            if (image->isActive())
                found << widget;
        } else if (auto *word = qobject_cast<WordInParagraph *>(widget)) {
            if (word->isSelectable() && !word->isUnderlined())
                found << widget;
        } else if (auto *area = qobject_cast<InvisibleTouchArea *>(widget)) {
            if (area->isTouchEnabled())
                found << widget;
        }
    }
    return found;
}

void BatteryDriver::force(GameWindow *game)
{
    ++result.forced;
    qInfo().noquote() << "moved on by force:" << window->currentTestCode();
    stepsWithoutPress = 0;
    pressesInTest = 0;
    QMetaObject::invokeMethod(game, "runFinishGame", Qt::QueuedConnection);
}

void BatteryDriver::step()
{
    if (busy || !loop)
        return;
    if (window->currentEvaluationId() != evaluationId) {
        loop->quit();
        return;
    }
    busy = true;

    const QString code = window->currentTestCode();
    GameWindow *game = window->game(code);
    if (code != currentCode) {
        currentCode = code;
        result.tests << code;
        stepsWithoutPress = 0;
        pressesInTest = 0;
    }
    auto usable = [](ClickableImage *button) { return button && button->isVisible() && button->isActive(); };

    if (!game) {
        // nothing to do; the controller ends the evaluation by itself
    } else if (game->isFinished()) {
        // The check is shown; the test asks for the next one after its pause.
        if (++stepsWithoutPress * stepMs > idleLimitMs)
            force(game);
    } else if (!game->isGameVisible()) {
        press(game->getTransitionLabel());
    } else if (usable(game->getExampleButton())) {
        press(game->getExampleButton());
    } else if (usable(game->getTestButton())) {
        press(game->getTestButton());
    } else if (pressesInTest > pressLimit) {
        force(game);
    } else {
        const QList<QWidget *> answers = answerWidgets(game);
        if (!answers.isEmpty()) {
            std::uniform_int_distribution<int> pick(0, answers.size() - 1);
            press(answers.at(pick(random)));
        } else if (usable(game->getNextButton())) {
            press(game->getNextButton());
        } else if (++stepsWithoutPress * stepMs > idleLimitMs) {
            force(game);
        } else if (stepsWithoutPress % keyEverySteps == 0) {
            // Nothing to touch: the letter tests take the examiner's keys. A
            // letter, right or wrong, answers them; the other tests ignore it.
            typeLetter(game);
        }
    }
    busy = false;
}
