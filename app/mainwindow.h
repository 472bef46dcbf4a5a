#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QString>

class DatabaseManager;
class QMessageBox;

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
    void abortGame();
    void abortToNextGame();

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool ensureDirectory(const QString &name, const QString &failureMessage);
    void finishEvaluation(const QString &message, bool writeAbandonRow);
    QHash<QString, QString> logRow(const QString &test, const QString &key, const QString &value) const;
    void stopAudio();
    static void showMessage(QMessageBox *box, const QString &text);

    Ui::MainWindow *ui;
    DatabaseManager *database;
    QList<QString> testQueue;
    QMessageBox *startupMessage;
    bool startupOk;
    int evaluationId;
    QString currentTest;
};

#endif // MAINWINDOW_H
