#ifndef SCORINGSERVICEPROCESS_H
#define SCORINGSERVICEPROCESS_H

#include <QList>
#include <QPair>
#include <QProcess>
#include <QTemporaryDir>

// A local scoring service of its own for one test: a fresh data directory, the
// accounts the test adds, a free port on loopback, and its certificate
// authority trusted by every Qt network request of the test process.
class ScoringServiceProcess
{
public:
    ScoringServiceProcess() { process.setProgram(executable()); }
    ~ScoringServiceProcess() { stop(); }
    ScoringServiceProcess(const ScoringServiceProcess &) = delete;
    ScoringServiceProcess &operator=(const ScoringServiceProcess &) = delete;

    // Adds an account (or gives it a new password, through standard input).
    bool addAccount(const QString &user, const QString &password);
    // Starts serving with the given extra options ("--reject-upload", "2", ...) and
    // waits until it listens. A running instance is stopped first; the data is kept.
    bool start(const QStringList &options = {});
    void stop();

    QString baseUrl() const { return url; }
    QString dataDirectory() const { return dir.path(); }
    QString caCertificate() const { return dir.filePath("tls/ca.crt"); }
    // The archives stored for a user (plain characters only), in the order they were accepted.
    QStringList storedArchives(const QString &user) const;
    // What the running (or last) instance has written to its log so far.
    QString log() { return logText += QString::fromUtf8(process.readAllStandardError()); }
    static QString executable();
    // The running service's highest resident size so far (VmHWM, KiB) and the
    // processor time it has used (user and system, ms); -1 when not running.
    qint64 peakResidentKiB() const;
    qint64 processorTimeMs() const;

    // Writes a zip archive of the entries (name, contents) with an independent zip
    // writer (Python's zipfile), for uploads that the application would not make.
    static bool makeArchive(const QString &path, const QList<QPair<QString, QByteArray>> &entries);

private:
    QTemporaryDir dir;
    QProcess process;
    QString url;
    QString logText;
};

#endif // SCORINGSERVICEPROCESS_H
