#ifndef TOUCHLATENCY_H
#define TOUCHLATENCY_H

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <random>

class FrameWatch;
class GameWindow;
class MainWindow;
class QWidget;
struct _XDisplay;

// From the examiner's touch to the frame that shows its result, on a real X
// display: a real MainWindow is taken through full evaluations with pointer
// clicks sent through the X server (XTest), as a touch screen sends them; the
// server's time of each click is read back, and the frames are the X damage
// events of the window, with the server's time of each. The frame that shows a
// result is the first one drawn after every picture widget of the result has
// been painted.
//
// Three moves are timed: the transition screen to the test's first screen with
// its pictures (every test), one answer to the next item (the tests named in
// answerTests), and the check at a test's end to the next test's title screen,
// less the pause the program makes on purpose.
class TouchLatency : public QObject
{
    Q_OBJECT

public:
    struct Sample
    {
        QString move; // "transition", "first", "answer" or "end"
        QString test;
        double ms;
    };

    TouchLatency(MainWindow *window, quint32 seed, QObject *parent = nullptr);
    ~TouchLatency() override;

    // False when the display lacks the XTest or damage extension.
    bool open(QString *problem);
    // Drives one full evaluation to its end; false when it did not end within the time.
    bool runEvaluation(int timeoutMs);

    void setAnswerTests(const QStringList &codes) { answerTests = codes; }
    // Only these tests are driven (all when empty); the others are moved on
    // as soon as they come up, and give no samples.
    void setOnlyTests(const QStringList &codes) { onlyTests = codes; }
    QList<Sample> samples() const { return taken; }
    int forced() const { return forcedTests; }
    // Clicks aimed at a widget that something else covered, or that lay
    // outside the screen.
    int unreachableTouches() const { return unreachable; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Clicks the centre of the widget on the screen; the server's time of the
    // click. A widget that another covers there is counted as unreachable.
    unsigned long click(QWidget *widget);
    // Lets the program run for a while.
    static void wait(int ms);
    // The picture widgets of a test's play area that are on screen now.
    static QList<QWidget *> shownPictures(GameWindow *game);
    // Server time of the first frame drawn after every one of these widgets was
    // painted following the mark; 0 when one of them was not painted.
    unsigned long frameShowing(const QList<QWidget *> &widgets);
    void mark();
    bool step();

    MainWindow *window;
    _XDisplay *display;
    unsigned long helper;
    unsigned long timeAtom;
    FrameWatch *frames;
    QHash<QWidget *, qint64> paintedAt; // first paint after the mark, client clock (ns)
    QSet<QWidget *> titles;
    QSet<QObject *> pauses;                  // each test's pause after its check
    qint64 pauseEndedAt;                     // client clock (ns), 0 when none is pending
    QHash<QWidget *, qint64> titlePaintedAt; // first paint of a title after the last pause
    qint64 markedAt;
    QStringList answerTests;
    QStringList onlyTests;
    QString skipped;
    QList<Sample> taken;
    int forcedTests;
    int unreachable;
    int storedAnswers; // answers the tests have stored
    QString currentCode;
    int idleSteps;
    int pressesInTest;
    std::mt19937 random;
};

#endif // TOUCHLATENCY_H
