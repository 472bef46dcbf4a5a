#ifndef RUMBOLOPROCESS_H
#define RUMBOLOPROCESS_H

#include "examiner.h"

// The real program, started in a working directory on the X display, and what
// it tells its debug output: every message box it shows is also written there
// as a line "[message] <text>".
class RumboloProcess
{
public:
    RumboloProcess()
    {
        QObject::connect(&process, &QProcess::readyReadStandardError, [this] { readDiagnostics(); });
    }
    ~RumboloProcess() { stop(); }

    static QString program() { return qEnvironmentVariable("RUMBOLO_BINARY_DIR") + "/app/rumbolo"; }

    // Starts the program and waits until its window is shown.
    bool start(const QString &workingDirectory)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(workingDirectory);
        process.start(program(), QStringList());
        if (!process.waitForStarted(10000))
            return false;
        const QString pid = QString::number(process.processId());
        Examiner::waitUntil([&] {
            mainWindow = Examiner::xdotool({"search", "--onlyvisible", "--pid", pid, "--name", "^Rumbolo$"}).section('\n', 0, 0);
            return !mainWindow.isEmpty() || !isRunning();
        }, 15000);
        return !mainWindow.isEmpty();
    }
    bool isRunning() const { return process.state() != QProcess::NotRunning; }

    // The program's window on the screen (the X window manager places it).
    QRect windowGeometry() const
    {
        const QString shell = Examiner::xdotool({"getwindowgeometry", "--shell", mainWindow});
        auto value = [&](const char *name) {
            return QRegularExpression(QString("^%1=(\\d+)$").arg(name), QRegularExpression::MultilineOption)
                .match(shell).captured(1).toInt();
        };
        return QRect(value("X"), value("Y"), value("WIDTH"), value("HEIGHT"));
    }

    // Waits until the program has shown the message (the next one it writes to
    // its debug output must be this text); false when another or none came.
    bool waitForMessage(const QString &text, int timeoutMs = 10000)
    {
        Examiner::waitUntil([&] { return shown.size() > seen || !isRunning(); }, timeoutMs);
        return shown.size() > seen && shown.at(seen++) == text && waitForMessageBox(timeoutMs);
    }
    // Waits until a message box is open (for the boxes whose text the program
    // does not write to its debug output).
    bool waitForMessageBox(int timeoutMs = 10000)
    {
        return Examiner::waitUntil([&] { return !messageBox().isEmpty(); }, timeoutMs);
    }
    // Presses Return on the open message box, as the examiner does, and waits
    // until it has gone.
    bool answerMessage()
    {
        const QString box = messageBox();
        if (box.isEmpty())
            return false;
        Examiner::xdotool({"windowfocus", "--sync", box});
        Examiner::xdotool({"key", "Return"});
        return Examiner::waitUntil([&] { return !visibleWindows().contains(box); });
    }
    QStringList messages() const { return shown; }

    // The exit code once the program has ended by itself within the time; -1 otherwise.
    int exitCode(int timeoutMs)
    {
        const bool ended = Examiner::waitUntil([&] { return !isRunning(); }, timeoutMs);
        return ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    void stop()
    {
        if (!isRunning())
            return;
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
        readDiagnostics();
    }
    // Everything the program wrote to its debug output.
    QString log() const { return diagnostics; }

private:
    void readDiagnostics()
    {
        const QByteArray chunk = process.readAllStandardError();
        diagnostics += QString::fromUtf8(chunk);
        pending += chunk;
        for (int end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1))
            if (pending.startsWith("[message] "))
                shown << QString::fromUtf8(pending.mid(10, end - 10));
    }
    QStringList visibleWindows() const
    {
        return Examiner::xdotool({"search", "--onlyvisible", "--pid", QString::number(process.processId())})
            .split('\n', Qt::SkipEmptyParts);
    }
    // The box is the program's visible window other than its main window.
    QString messageBox() const
    {
        for (const QString &id : visibleWindows())
            if (id != mainWindow)
                return id;
        return QString();
    }

    QProcess process;
    QString mainWindow, diagnostics;
    QByteArray pending;
    QStringList shown;
    int seen = 0;
};

#endif // RUMBOLOPROCESS_H
