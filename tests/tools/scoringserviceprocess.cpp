#include "scoringserviceprocess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSslConfiguration>

#include <unistd.h>

namespace {
bool succeeded(QProcess &p)
{
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
}

QString ScoringServiceProcess::executable()
{
    return QStringLiteral(RUMBOLO_SCORING_SERVICE_EXECUTABLE);
}

bool ScoringServiceProcess::addAccount(const QString &user, const QString &password)
{
    QProcess adding;
    adding.start(executable(), {"add-account", "--data-dir", dir.path(), user});
    adding.write(password.toUtf8() + "\n");
    adding.closeWriteChannel();
    return succeeded(adding);
}

bool ScoringServiceProcess::start(const QStringList &options)
{
    stop();
    logText.clear();
    process.setArguments(QStringList{"serve", "--data-dir", dir.path(), "--port", "0"} + options);
    process.start();
    // The service prints its address once it listens.
    static const QRegularExpression listening("^Listening on (https://\\S+)$", QRegularExpression::MultilineOption);
    QByteArray output;
    const QDeadlineTimer deadline(15000);
    while (process.waitForStarted(5000) && !deadline.hasExpired() && process.state() == QProcess::Running) {
        process.waitForReadyRead(100);
        output += process.readAllStandardOutput();
        const QRegularExpressionMatch match = listening.match(QString::fromUtf8(output));
        if (match.hasMatch()) {
            url = match.captured(1);
            QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
            tls.addCaCertificates(caCertificate());
            QSslConfiguration::setDefaultConfiguration(tls);
            return true;
        }
    }
    qWarning("scoring service did not start: %s %s", output.constData(), process.readAllStandardError().constData());
    return false;
}

void ScoringServiceProcess::stop()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    log();
}

qint64 ScoringServiceProcess::peakResidentKiB() const
{
    QFile status(QString("/proc/%1/status").arg(process.processId()));
    if (process.state() != QProcess::Running || !status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

qint64 ScoringServiceProcess::processorTimeMs() const
{
    QFile stat(QString("/proc/%1/stat").arg(process.processId()));
    if (process.state() != QProcess::Running || !stat.open(QIODevice::ReadOnly))
        return -1;
    // The fields after the parenthesised name; utime and stime are the 14th and 15th.
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const long ticks = sysconf(_SC_CLK_TCK);
    return fields.size() > 12 ? (fields[11].toLongLong() + fields[12].toLongLong()) * 1000 / ticks : -1;
}

QStringList ScoringServiceProcess::storedArchives(const QString &user) const
{
    // Files are named so that their order is the order of arrival; a user name
    // of plain characters is its own folder name.
    const QDir uploads(dir.filePath("uploads/" + user));
    QStringList paths;
    for (const QString &name : uploads.entryList({"*.zip"}, QDir::Files, QDir::Name))
        paths << uploads.filePath(name);
    return paths;
}

bool ScoringServiceProcess::makeArchive(const QString &path, const QList<QPair<QString, QByteArray>> &entries)
{
    static const char script[] = R"(
import base64, json, sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    for name, data in json.load(sys.stdin):
        z.writestr(name, base64.b64decode(data))
)";
    QJsonArray list;
    for (const auto &entry : entries)
        list.append(QJsonArray{entry.first, QString::fromLatin1(entry.second.toBase64())});
    QProcess python;
    python.start("python3", {"-c", script, path});
    python.write(QJsonDocument(list).toJson());
    python.closeWriteChannel();
    return succeeded(python);
}
