#ifndef BATTERYDRIVER_H
#define BATTERYDRIVER_H

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <random>

class GameWindow;
class MainWindow;
class QEventLoop;
class QWidget;

// Takes a real MainWindow through a whole evaluation the way an examiner
// would, with mouse presses on the widgets: each test's transition screen,
// its example and test buttons, the pictures and words that answer its items
// (a seeded mix of right and wrong), and its next button, until the test
// finishes and the battery moves on by itself. A test that offers nothing to
// press for a long time is moved on with runFinishGame(), and counted.
class BatteryDriver : public QObject
{
    Q_OBJECT

public:
    struct Result
    {
        bool completed = false;   // the evaluation ended on its own
        QStringList tests;        // codes in the order they ran
        int forced = 0;           // tests moved on with runFinishGame()
        int presses = 0;          // mouse presses sent
        int keys = 0;             // letter keys typed
        qint64 milliseconds = 0;
    };

    BatteryDriver(MainWindow *window, quint32 seed, QObject *parent = nullptr);

    void setStepInterval(int ms) { stepMs = ms; }

    // Starts a full evaluation and drives it to its end (the closing message
    // is left to a MessageBoxCatcher).
    Result runFullEvaluation(const QString &name, int timeoutMs);

    // What a child could touch on a test's screen now: the active pictures,
    // selectable words and enabled touch areas, not the toolbar.
    static QList<QWidget *> answerWidgets(GameWindow *game);

private:
    void step();
    void press(QWidget *widget);
    void typeLetter(QWidget *game);
    void force(GameWindow *game);

    MainWindow *window;
    QTimer timer;
    QEventLoop *loop;
    Result result;
    int evaluationId;
    QString currentCode;
    int stepsWithoutPress;
    int pressesInTest;
    int stepMs;
    bool busy;
    std::mt19937 random;
};

#endif // BATTERYDRIVER_H
