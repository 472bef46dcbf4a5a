#ifndef GAMEWINDOW_H
#define GAMEWINDOW_H

#include <QColor>
#include <QElapsedTimer>
#include <QHash>
#include <QString>
#include <QWidget>

class ClickableImage;
class ImageLabel;
class QTimer;
class TransitionLabel;

namespace Ui {
class GameWindow;
}

// The common screen and life cycle of every test of the battery.
//
// The screen is a coloured location bar, a white line and below them either the
// transition screen (the test's title on its dimension colour; a click starts
// the test) or the grey play area, `gameHolder`, which holds every widget of the
// test and the toolbar strip at its bottom (example, test and next buttons;
// recording, sound and check indicators).
//
// A test talks to the rest of the application only through the request signals.
// The main window re-arms the same object with init() for every run.
class GameWindow : public QWidget
{
    Q_OBJECT

public:
    explicit GameWindow(QWidget *parent = nullptr);
    ~GameWindow() override;

    // The parent of every widget of a test.
    QWidget *getGameHolder() const;
    // True once the transition screen has been left.
    bool isGameVisible() const;

    // Positions inside gameHolder that centre a widget of the given size on the
    // whole window (the location bar's height is taken off the y position).
    int centeredX(int w) const;
    int centeredY(int h) const;

    // Read access for the main window and for tests that observe a test.
    QColor getDimensionColor() const { return dimensionColor; }
    QString getTitle() const { return title; }
    ImageLabel *getToolbar() const { return toolbar; }
    ImageLabel *getRecordingIcon() const { return recordingIcon; }
    ImageLabel *getCheckIcon() const { return checkIcon; }
    ImageLabel *getSoundingIcon() const { return soundingIcon; }
    ClickableImage *getExampleButton() const { return exampleButton; }
    ClickableImage *getTestButton() const { return testButton; }
    ClickableImage *getNextButton() const { return nextButton; }
    TransitionLabel *getTransitionLabel() const;
    bool isTestRunning() const { return testRunning; }
    bool isFinished() const { return finished; }
    QString getRecordingFileName() const { return recordingFileName; }

signals:
    void requestStartGame();
    void requestNextGame();
    void requestSaveData(QString table, QHash<QString, QString> data);
    void requestLogValueForKey(QString key, QString value);
    void requestAbortDialog();
    void requestPlaySound(QString soundPath);
    void requestStartRecordingSound(QString *soundName);
    void requestStopRecordingSound();

public slots:
    // Leaves the transition screen for the play area.
    virtual void start();
    // Re-arms the test for a new run; every test calls this first in its own init.
    virtual void init();
    virtual void runGame();
    virtual void runExample();
    virtual void runNext();
    virtual void soundHasFinished();
    // Asks the main window for the next test.
    void runFinishGame();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    void setDimensionColor(int r, int g, int b);
    void setTitle(const char *utf8);
    void centerWidget(QWidget *w);
    // Shows or hides the toolbar strip only, not its buttons and indicators.
    void setToolbarVisible(bool visible);
    // The recorder writes the recording's name into recordingFileName before
    // startRecording() returns.
    void startRecording();
    void stopRecording();
    // Shows the check and, 1000 ms later, asks for the next test. Only the first
    // call after init() counts.
    void finishGame();

    QColor dimensionColor;
    QString title;
    ImageLabel *toolbar;
    ImageLabel *recordingIcon;
    ImageLabel *checkIcon;
    ImageLabel *soundingIcon;
    ClickableImage *exampleButton;
    ClickableImage *testButton;
    ClickableImage *nextButton;
    QElapsedTimer stopwatch;
    bool testRunning;
    bool finished;
    QString recordingFileName;
    Ui::GameWindow *ui;

private:
    void releasePictures();

    // The pending step from the end of a test to the next one. Cancelled when
    // the test is re-armed or hidden, so that an old run never moves the
    // battery on.
    QTimer *finishTimer;
};

#endif // GAMEWINDOW_H
