#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QHash>
#include <QList>
#include <QAudio>
#include <QMainWindow>
#include <QString>
#include <QStringList>

class AbortDialog;
class AdminWindow;
class DatabaseManager;
class QLockFile;
class GameCF1A;
class GameCF2A;
class GameCF2B;
class GameCF3A;
class GameCF3B;
class GameCL1A;
class GameCL2A;
class GameCO1A;
class GameFP1A;
class GameFP2A;
class GamePA1A;
class GamePA2A;
class GameRV1A;
class GameTT1A;
class GameVD;
class GameWindow;
class QMessageBox;
class SoundPlayer;
class VoiceRecorder;

namespace Ui {
class MainWindow;
}

// The evaluation controller: owns every long-lived object, runs the battery of
// tests for one child at a time and stores everything the tests report.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    bool startedSuccessfully() const { return startupOk; }
    int currentEvaluationId() const { return evaluationId; }
    QString currentTestCode() const { return currentTest; }
    QList<QString> pendingTests() const { return testQueue; }
    DatabaseManager *databaseManager() const { return database; }
    // The test of that code. The test screens, the abort dialog and the audio
    // objects are built right after the window's first paint, or on first need.
    GameWindow *game(const QString &code);
    AbortDialog *abortDialogWindow();
    AdminWindow *administrationWindow() const { return adminWindow; }
    SoundPlayer *soundPlayer();
    VoiceRecorder *voiceRecorder();

    // The ordered list of test codes for a school level (all fifteen for a full evaluation).
    static QList<QString> batteryFor(bool fullEvaluation, int level);

public slots:
    void goFullscreen();
    void restoreSize();
    void startGame(QString name, QString lastName, int level, QString codeGroup, bool fullEvaluation, bool endOfYear);
    void startGame(QString name, QString lastName, int level, QString codeGroup, bool fullEvaluation);
    void startGame(QString name, QString lastName, int level, QString codeGroup);
    void startGame(QString name, QString lastName, int level);
    bool saveData(QString table, QHash<QString, QString> data);
    bool saveData(QString table, QHash<QString, QString> data, int *newId);
    bool logValueForKey(QString key, QString value);
    void startNextGame();
    void showAbortDialog();
    void abortGame();
    void abortToNextGame();
    void playSound(QString soundPath);
    void startRecordingSound(QString *soundName);
    void stopRecordingSound();
    void finishedSound(QAudio::State state);

signals:
    void soundHasFinished();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildHidden();
    void registerGames();
    void connectGame(GameWindow *game);
    void hideAllGames();
    bool isFromIdleTest() const;
    bool openStore();
    bool ensureDirectory(const QString &name, const QString &failureMessage);
    void finishEvaluation(const QString &message, bool writeAbandonRow);
    QHash<QString, QString> logRow(const QString &test, const QString &key, const QString &value) const;
    void stopAudio();
    void discardUnnamedRecording();
    void keepToOwner();
    void removeRecordingsNamedByNoRow();
    void showStartupMessage(const QString &text);
    static void showMessage(QMessageBox *box, const QString &text);

    Ui::MainWindow *ui;
    DatabaseManager *database;
    AdminWindow *adminWindow;
    AbortDialog *abortDialog;
    GameVD *gameVD;
    GamePA1A *gamePA1A;
    GamePA2A *gamePA2A;
    GameCF1A *gameCF1A;
    GameCF2A *gameCF2A;
    GameCF2B *gameCF2B;
    GameCF3A *gameCF3A;
    GameCF3B *gameCF3B;
    GameRV1A *gameRV1A;
    GameTT1A *gameTT1A;
    GameCO1A *gameCO1A;
    GameFP1A *gameFP1A;
    GameCL1A *gameCL1A;
    GameFP2A *gameFP2A;
    GameCL2A *gameCL2A;
    QList<QString> testQueue;
    QHash<QString, GameWindow *> games;
    // Playback of the prompts and recording of the answers, one of each at a time.
    SoundPlayer *player;
    VoiceRecorder *recorder;
    QMessageBox *startupMessage;
    bool startupOk;
    bool storeOpen;
    int evaluationId;
    QString currentTest;
    // The recording of the running test that no stored "FILE" row names yet
    // (empty when there is none): it goes if its test ends without naming it.
    QString unnamedRecording;
    // The recordings kept for the running evaluation that hold only digital
    // silence: the examiner hears of them when the evaluation ends.
    QStringList silentRecordings;
    // Held while the program runs: one program per working directory.
    QLockFile *instanceLock;
};

#endif // MAINWINDOW_H
