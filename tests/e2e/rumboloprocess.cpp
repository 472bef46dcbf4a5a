#include "rumboloprocess.h"

#include "examiner.h"

#include <QProcessEnvironment>
#include <QRegularExpression>

RumboloProcess::RumboloProcess(QObject *parent)
    : QObject(parent)
{
    connect(&process, &QProcess::readyReadStandardError, this, &RumboloProcess::readDiagnostics);
}

RumboloProcess::~RumboloProcess()
{
    stop();
}

QString RumboloProcess::program()
{
    return qEnvironmentVariable("RUMBOLO_BINARY_DIR") + "/app/rumbolo";
}

bool RumboloProcess::start(const QString &workingDirectory)
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
        mainWindow = Examiner::xdotool({"search", "--onlyvisible", "--pid", pid, "--name", "^Rumbolo$"})
                         .section('\n', 0, 0);
        return !mainWindow.isEmpty() || !isRunning();
    }, 15000);
    return !mainWindow.isEmpty();
}

QRect RumboloProcess::windowGeometry() const
{
    const QString shell = Examiner::xdotool({"getwindowgeometry", "--shell", mainWindow});
    auto value = [&](const char *name) {
        const QRegularExpression re(QString("^%1=(\\d+)$").arg(name), QRegularExpression::MultilineOption);
        return re.match(shell).captured(1).toInt();
    };
    return QRect(value("X"), value("Y"), value("WIDTH"), value("HEIGHT"));
}

void RumboloProcess::readDiagnostics()
{
    const QByteArray chunk = process.readAllStandardError();
    diagnostics += QString::fromUtf8(chunk);
    pending += chunk;
    int end;
    while ((end = pending.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(pending.left(end));
        pending.remove(0, end + 1);
        if (line.startsWith("[message] "))
            shown << line.mid(10);
    }
}

bool RumboloProcess::waitForMessage(const QString &text, int timeoutMs)
{
    Examiner::waitUntil([&] { return shown.size() > seen || !isRunning(); }, timeoutMs);
    if (shown.size() <= seen || shown.at(seen) != text)
        return false;
    ++seen;
    return waitForMessageBox(timeoutMs);
}

bool RumboloProcess::waitForMessageBox(int timeoutMs)
{
    return Examiner::waitUntil([&] { return !messageBox().isEmpty(); }, timeoutMs);
}

QStringList RumboloProcess::visibleWindows() const
{
    return Examiner::xdotool({"search", "--onlyvisible", "--pid", QString::number(process.processId())})
        .split('\n', Qt::SkipEmptyParts);
}

// The box is the program's visible window other than its main window.
QString RumboloProcess::messageBox() const
{
    for (const QString &id : visibleWindows())
        if (id != mainWindow)
            return id;
    return QString();
}

bool RumboloProcess::answerMessage()
{
    const QString box = messageBox();
    if (box.isEmpty())
        return false;
    Examiner::xdotool({"windowfocus", "--sync", box});
    Examiner::xdotool({"key", "Return"});
    return Examiner::waitUntil([&] { return !visibleWindows().contains(box); });
}

bool RumboloProcess::waitForExit(int timeoutMs, int *exitCode)
{
    Examiner::waitUntil([&] { return !isRunning(); }, timeoutMs);
    if (isRunning())
        return false;
    *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return true;
}

void RumboloProcess::stop()
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
