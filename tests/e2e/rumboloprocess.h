#ifndef RUMBOLOPROCESS_H
#define RUMBOLOPROCESS_H

#include <QObject>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

// The real program, started in a working directory on the X display, and what
// it tells its debug output: every message box it shows is also written there
// as a line "[message] <text>".
class RumboloProcess : public QObject
{
    Q_OBJECT

public:
    explicit RumboloProcess(QObject *parent = nullptr);
    ~RumboloProcess() override;

    static QString program();

    // Starts the program and waits until its window is shown.
    bool start(const QString &workingDirectory);
    bool isRunning() const { return process.state() != QProcess::NotRunning; }

    // The program's window on the screen (the X window manager places it).
    QRect windowGeometry() const;
    QString windowId() const { return mainWindow; }

    // Waits until the program has shown the message (the next one it writes to
    // its debug output must be this text); false when another or none came.
    bool waitForMessage(const QString &text, int timeoutMs = 10000);
    // Waits until a message box is open (for the boxes whose text the program
    // does not write to its debug output).
    bool waitForMessageBox(int timeoutMs = 10000);
    // Presses Return on the open message box, as the examiner does, and waits
    // until it has gone.
    bool answerMessage();
    QStringList messages() const { return shown; }

    bool waitForExit(int timeoutMs, int *exitCode);
    void stop();
    // Everything the program wrote to its debug output.
    QString log() const { return diagnostics; }

private slots:
    void readDiagnostics();

private:
    QStringList visibleWindows() const;
    QString messageBox() const;

    QProcess process;
    QString mainWindow;
    QString diagnostics;
    QByteArray pending;
    QStringList shown;
    int seen = 0;
};

#endif // RUMBOLOPROCESS_H
