#include "touchlatency.h"

#include "batterydriver.h"

#include "clickableimage.h"
#include "gamewindow.h"
#include "imagelabel.h"
#include "mainwindow.h"
#include "transitionlabel.h"

#include <QApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <atomic>
#include <ctime>
#include <mutex>
#include <poll.h>
#include <thread>
#include <vector>

namespace {
const int stepMs = 30;
// How long a result is given to show before its frame is looked for. The
// program shows nothing new by itself this soon after a touch.
const int settleMs = 400;
const int idleLimitMs = 15000;
const int pressLimit = 400;
const int finishDelayMs = 1000;

qint64 nowNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
}

// The frames of one window, read on a thread of their own from a connection of
// their own: each damage event with the server's time of the drawing and the
// moment it arrived here.
class FrameWatch
{
public:
    struct Frame
    {
        qint64 arrivedNs;
        unsigned long serverMs;
    };

    ~FrameWatch()
    {
        stopping = true;
        if (reader.joinable())
            reader.join();
        if (display)
            XCloseDisplay(display);
    }

    bool start(unsigned long window)
    {
        display = XOpenDisplay(nullptr);
        int error = 0;
        if (!display || !XDamageQueryExtension(display, &eventBase, &error))
            return false;
        damage = XDamageCreate(display, window, XDamageReportNonEmpty);
        XSync(display, False);
        reader = std::thread([this] { run(); });
        return true;
    }

    // The first frame that arrived after that moment (zeros when none came
    // within a second).
    Frame frameAfter(qint64 ns)
    {
        const qint64 deadline = nowNs() + 1000000000LL;
        do {
            {
                std::lock_guard<std::mutex> hold(lock);
                for (const Frame &frame : frames) {
                    if (frame.arrivedNs >= ns)
                        return frame;
                }
            }
            QTest::qWait(5);
        } while (nowNs() < deadline);
        return Frame{0, 0};
    }
    // Its server time.
    unsigned long firstAfter(qint64 ns) { return frameAfter(ns).serverMs; }

private:
    void run()
    {
        pollfd watch{ConnectionNumber(display), POLLIN, 0};
        while (!stopping) {
            while (XPending(display)) {
                XEvent event;
                XNextEvent(display, &event);
                if (event.type != eventBase + XDamageNotify)
                    continue;
                const qint64 arrived = nowNs();
                const auto &notify = reinterpret_cast<const XDamageNotifyEvent &>(event);
                XDamageSubtract(display, damage, None, None);
                XFlush(display);
                std::lock_guard<std::mutex> hold(lock);
                frames.push_back(Frame{arrived, notify.timestamp});
            }
            poll(&watch, 1, 5);
        }
    }

    Display *display = nullptr;
    Damage damage = 0;
    int eventBase = 0;
    std::thread reader;
    std::atomic<bool> stopping{false};
    std::mutex lock;
    std::vector<Frame> frames;
};

TouchLatency::TouchLatency(MainWindow *mainWindow, quint32 seed, QObject *parent)
    : QObject(parent)
    , window(mainWindow)
    , display(nullptr)
    , helper(0)
    , timeAtom(0)
    , frames(nullptr)
    , pauseEndedAt(0)
    , markedAt(0)
    , forcedTests(0)
    , unreachable(0)
    , storedAnswers(0)
    , idleSteps(0)
    , pressesInTest(0)
    , random(seed)
{
}

TouchLatency::~TouchLatency()
{
    qApp->removeEventFilter(this);
    delete frames;
    if (display)
        XCloseDisplay(display);
}

bool TouchLatency::open(QString *problem)
{
    display = XOpenDisplay(nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!display || !XTestQueryExtension(display, &event, &error, &major, &minor)) {
        *problem = "the display has no XTest extension";
        return false;
    }
    // A window of our own whose property changes tell the server's time.
    helper = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(display, helper, PropertyChangeMask);
    timeAtom = XInternAtom(display, "RUMBOLO_BENCH_TIME", False);
    frames = new FrameWatch();
    if (!frames->start(window->winId())) {
        *problem = "the display has no damage extension";
        return false;
    }
    for (const QString &code : MainWindow::batteryFor(true, 1)) {
        GameWindow *game = window->game(code);
        titles.insert(game->getTransitionLabel());
        // The pause between a test's check and the next test: its one-second single shot.
        for (QTimer *timer : game->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (timer->isSingleShot() && timer->interval() == finishDelayMs)
                pauses.insert(timer);
        }
        connect(game, &GameWindow::requestLogValueForKey, this, [this] { ++storedAnswers; });
    }
    qApp->installEventFilter(this);
    return true;
}

bool TouchLatency::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        const qint64 now = nowNs();
        if (!paintedAt.contains(widget))
            paintedAt.insert(widget, now);
        if (titles.contains(widget) && !titlePaintedAt.contains(widget))
            titlePaintedAt.insert(widget, now);
    } else if (event->type() == QEvent::Timer && pauses.contains(watched)) {
        // A test's pause after its check is over (seen before the timer's own handler).
        pauseEndedAt = nowNs();
        titlePaintedAt.clear();
    }
    return QObject::eventFilter(watched, event);
}

void TouchLatency::mark()
{
    paintedAt.clear();
    markedAt = nowNs();
}

unsigned long TouchLatency::click(QWidget *widget)
{
    // A touch lands on whatever is on top at that point of the screen: a
    // widget that is covered, or outside the screen, cannot be touched.
    const QPoint global = widget->mapToGlobal(widget->rect().center());
    QWidget *hit = QApplication::widgetAt(global);
    if (hit != widget && !widget->isAncestorOf(hit)) {
        ++unreachable;
        qInfo().noquote() << "cannot be touched:" << window->currentTestCode() << widget->metaObject()->className()
                          << "at" << global.x() << global.y() << "under"
                          << (hit ? hit->metaObject()->className() : "nothing of the program");
    }
    // From elsewhere, so that the widget sees the pointer come in, as a finger
    // that lands on it.
    XTestFakeMotionEvent(display, -1, 0, 0, CurrentTime);
    XTestFakeMotionEvent(display, -1, global.x(), global.y(), CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    const long value = 0;
    XChangeProperty(display, helper, timeAtom, XA_INTEGER, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(&value), 1);
    XEvent notify;
    XWindowEvent(display, helper, PropertyChangeMask, &notify);
    return notify.xproperty.time;
}

void TouchLatency::wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QList<QWidget *> TouchLatency::shownPictures(GameWindow *game)
{
    QList<QWidget *> shown;
    for (QWidget *widget : game->getGameHolder()->findChildren<QWidget *>()) {
        const bool picture = qobject_cast<QLabel *>(widget) || QByteArray(widget->metaObject()->className()).contains("Stimuli");
        if (picture && widget->isVisible() && !widget->visibleRegion().isEmpty())
            shown << widget;
    }
    return shown;
}

unsigned long TouchLatency::frameShowing(const QList<QWidget *> &widgets)
{
    qint64 last = 0;
    for (QWidget *widget : widgets)
        last = qMax(last, paintedAt.value(widget, 0));
    return last > 0 ? frames->firstAfter(last) : 0;
}

bool TouchLatency::runEvaluation(int timeoutMs)
{
    window->startGame("Ana", QString::fromUtf8("Pérez"), 1, QString(""), true, false);
    const int id = window->currentEvaluationId();
    if (id == 0)
        return false;
    currentCode.clear();
    QElapsedTimer clock;
    clock.start();
    while (window->currentEvaluationId() == id && clock.elapsed() < timeoutMs) {
        if (!step())
            break;
        wait(stepMs);
    }
    return window->currentEvaluationId() != id;
}

bool TouchLatency::step()
{
    const QString code = window->currentTestCode();
    GameWindow *game = window->game(code);
    if (!game)
        return true;
    if (code != currentCode) {
        currentCode = code;
        idleSteps = 0;
        pressesInTest = 0;
    }
    if (!onlyTests.isEmpty() && !onlyTests.contains(code)) {
        if (skipped != code) {
            skipped = code;
            QMetaObject::invokeMethod(game, "runFinishGame", Qt::QueuedConnection);
        }
        return true;
    }
    auto usable = [](ClickableImage *button) { return button && button->isVisible() && button->isActive(); };
    auto force = [&] {
        ++forcedTests;
        qInfo().noquote() << "moved on by force:" << code;
        QMetaObject::invokeMethod(game, "runFinishGame", Qt::QueuedConnection);
        idleSteps = 0;
    };

    if (game->isFinished()) {
        // The check is on screen: time it, and the next test's title after the pause.
        const qint64 seen = nowNs();
        while (window->currentTestCode() == code && nowNs() - seen < qint64(idleLimitMs) * 1000000)
            wait(5);
        const QString next = window->currentTestCode();
        GameWindow *nextGame = window->game(next);
        if (next == code || !nextGame) {
            if (next == code)
                force();
            return true;
        }
        wait(settleMs);
        // From the end of the pause to the arrival of the frame with the next title.
        const qint64 titlePaint = titlePaintedAt.value(nextGame->getTransitionLabel(), 0);
        const FrameWatch::Frame title = titlePaint > 0 ? frames->frameAfter(titlePaint) : FrameWatch::Frame{0, 0};
        if (pauseEndedAt > 0 && title.arrivedNs >= pauseEndedAt)
            taken << Sample{"end", code, (title.arrivedNs - pauseEndedAt) / 1e6};
        pauseEndedAt = 0;
        return true;
    }
    if (!game->isGameVisible()) {
        mark();
        const unsigned long touched = click(game->getTransitionLabel());
        wait(settleMs);
        const unsigned long shown = frameShowing(shownPictures(game));
        if (shown >= touched)
            taken << Sample{"transition", code, double(shown - touched)};
        return true;
    }
    if (usable(game->getExampleButton())) {
        // The test's first item, with its pictures.
        mark();
        const unsigned long touched = click(game->getExampleButton());
        wait(settleMs);
        QList<QWidget *> changed;
        for (QWidget *widget : shownPictures(game)) {
            if (paintedAt.contains(widget) && widget != game->getExampleButton())
                changed << widget;
        }
        const unsigned long shown = frameShowing(changed);
        if (shown >= touched && !changed.isEmpty())
            taken << Sample{"first", code, double(shown - touched)};
        return true;
    }
    if (usable(game->getTestButton())) {
        click(game->getTestButton());
        return true;
    }
    if (pressesInTest > pressLimit) {
        force();
        return true;
    }
    const QList<QWidget *> answers = BatteryDriver::answerWidgets(game);
    if (!answers.isEmpty()) {
        std::uniform_int_distribution<int> pick(0, answers.size() - 1);
        QWidget *answer = answers.at(pick(random));
        ++pressesInTest;
        idleSteps = 0;
        if (!answerTests.contains(code)) {
            click(answer);
            return true;
        }
        mark();
        const int answersBefore = storedAnswers;
        const unsigned long touched = click(answer);
        wait(settleMs);
        if (game->isFinished() || window->currentTestCode() != code)
            return true; // the last answer: the check follows, not an item
        if (storedAnswers == answersBefore)
            return true; // not taken as an answer: nothing to time
        QList<QWidget *> changed;
        for (QWidget *widget : shownPictures(game)) {
            if (paintedAt.contains(widget))
                changed << widget;
        }
        const unsigned long shown = frameShowing(changed);
        if (shown >= touched && !changed.isEmpty())
            taken << Sample{"answer", code, double(shown - touched)};
        return true;
    }
    if (usable(game->getNextButton())) {
        click(game->getNextButton());
    } else if (++idleSteps * stepMs > idleLimitMs) {
        force();
    } else if (idleSteps % 10 == 0) {
        static const char letters[] = "aeombpstldrcgx";
        std::uniform_int_distribution<int> pick(0, int(sizeof letters) - 2);
        QTest::keyClick(game, letters[pick(random)]);
    }
    return true;
}
