#include "syncworkspace.h"

#include "databasemanager.h"
#include "evaluationpackage.h"
#include "recordingsynthesizer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>

#include <unistd.h>

namespace {
// A restoring guard for the process's working directory: the application's
// classes work relative to it.
class WorkingDirectory
{
public:
    explicit WorkingDirectory(const QString &path)
        : previous(QDir::currentPath())
    {
        QDir::setCurrent(path);
    }
    ~WorkingDirectory() { QDir::setCurrent(previous); }

private:
    QString previous;
};

// The tests of a full battery that keep a recording, and the answer rows
// every test leaves, roughly as many as a real evaluation has.
const char *const battery[] = {"VD1A", "PA1A", "PA2A", "CF1A", "CF2A", "CF2B", "CF3A", "CF3B",
                               "RV1A", "TT1A", "FP1A", "CL1A", "FP2A", "CL2A", "CO1A"};
const char *const recordingTests[] = {"VD1A", "PA2A", "FP1A", "FP2A", "CO1A"};

QString recordingName(int evaluation, int recording)
{
    const QDateTime start(QDate(2024, 5, 6), QTime(9, 0, 0));
    return start.addSecs(qint64(evaluation) * 3600 + recording * 120).toString("yyyyMMddhhmmss");
}
}

SyncWorkspace::SyncWorkspace(const QString &directory)
    : root(QDir(directory).absolutePath())
{
}

bool SyncWorkspace::prepare(const Options &options, QString &error)
{
    QDir(root).removeRecursively();
    if (!QDir().mkpath(root + "/master/grabaciones") || !QDir().mkpath(root + "/master/envios")
        || !QDir().mkpath(root + "/baseline")) {
        error = "cannot create " + root;
        return false;
    }

    RecordingSynthesizer synthesizer(options.seed);
    if (!synthesizer.loadVoices(options.kitSounds)) {
        error = "no spoken prompts under " + options.kitSounds;
        return false;
    }
    QStringList made;
    for (int e = 1; e <= options.evaluations; ++e) {
        for (int r = 0; r < options.recordingsPerEvaluation; ++r) {
            QFile file(root + "/master/grabaciones/" + recordingName(e, r) + ".wav");
            if (options.distinctRecordings > 0 && made.size() >= options.distinctRecordings) {
                const int index = ((e - 1) * options.recordingsPerEvaluation + r) % options.distinctRecordings;
                if (::link(QFile::encodeName(made[index]).constData(), QFile::encodeName(file.fileName()).constData())
                    != 0) {
                    error = "cannot link " + file.fileName();
                    return false;
                }
                continue;
            }
            made << file.fileName();
            const QByteArray wav = synthesizer.makeRecording(options.secondsPerRecording);
            if (!file.open(QIODevice::WriteOnly) || file.write(wav) != wav.size()) {
                error = "cannot write " + file.fileName();
                return false;
            }
        }
    }
    return fillDatabase(options, error) && writeBaseline(options, error);
}

bool SyncWorkspace::fillDatabase(const Options &options, QString &error)
{
    WorkingDirectory here(root + "/master");
    DatabaseManager database;
    if (!database.openDatabase()) {
        error = "cannot open the database: " + database.lastError().text();
        return false;
    }
    // One transaction for the whole setup: it is not what is measured.
    QSqlDatabase connection = QSqlDatabase::database();
    connection.transaction();
    for (int e = 1; e <= options.evaluations; ++e) {
        int id = 0;
        const bool stored = database.insertRecord(
            "evaluation",
            {{"name", "Niño " + QString::number(e)}, {"lastName", "Pérez O'Higgins"}, {"level", QString::number(1 + e % 6)},
             {"codeGroup", e % 2 ? "3A-2024" : ""}, {"fullEvaluation", "1"}, {"endOfYear", "0"},
             {"evaluationDate", "2024-05-06"}},
            &id);
        if (!stored || id != e) {
            error = "cannot store evaluation " + QString::number(e);
            return false;
        }
        int recording = 0;
        for (const char *test : battery) {
            QList<QPair<QString, QString>> rows;
            for (int item = 1; item <= 6; ++item)
                rows << qMakePair(QString("item%1").arg(item), QString::number((e + item) % 2));
            rows << qMakePair(QString("TIME"), QString::number(30000 + 137 * e));
            for (const char *recorder : recordingTests) {
                if (qstrcmp(recorder, test) == 0 && recording < options.recordingsPerEvaluation)
                    rows << qMakePair(QString("FILE"), recordingName(e, recording++));
            }
            for (const auto &row : rows) {
                if (!database.insertRecord("log",
                                           {{"date", "2024-05-06 09:12:00"}, {"evaluationId", QString::number(id)},
                                            {"test", QString::fromLatin1(test)}, {"key", row.first},
                                            {"value", row.second}},
                                           nullptr)) {
                    error = "cannot store a log row";
                    return false;
                }
            }
        }
        // More recordings than the battery's recording tests: the rest at the end.
        while (recording < options.recordingsPerEvaluation) {
            database.insertRecord("log",
                                  {{"date", "2024-05-06 09:40:00"}, {"evaluationId", QString::number(id)},
                                   {"test", "CO1A"}, {"key", "FILE"}, {"value", recordingName(e, recording++)}},
                                  nullptr);
        }
    }
    if (!connection.commit()) {
        error = "cannot commit: " + connection.lastError().text();
        return false;
    }
    return true;
}

bool SyncWorkspace::writeBaseline(const Options &options, QString &error)
{
    WorkingDirectory here(root + "/master");
    DatabaseManager database;
    if (!database.openDatabase()) {
        error = "cannot open the database";
        return false;
    }
    EvaluationPackage package(&database);
    for (int e = 1; e <= options.evaluations; ++e) {
        QStringList recordings;
        if (!package.exportEvaluation(e, recordings)) {
            error = "cannot export evaluation " + QString::number(e);
            return false;
        }
        const QString name = EvaluationPackage::packageBaseName(e) + ".log";
        const QString target = root + "/baseline/" + name;
        QFile::remove(target);
        if (!QFile::rename(EvaluationPackage::exportFilePath(e), target)) {
            error = "cannot move " + name;
            return false;
        }
        QStringList entries{name};
        for (const QString &recording : recordings) {
            const QString file = recording + ".wav";
            const QByteArray from = QFile::encodeName(root + "/master/grabaciones/" + file);
            const QByteArray to = QFile::encodeName(root + "/baseline/" + file);
            if (::link(from.constData(), to.constData()) != 0) {
                error = "cannot link " + file;
                return false;
            }
            entries << file;
        }
        QFile list(root + "/baseline/" + EvaluationPackage::packageBaseName(e) + ".files");
        if (!list.open(QIODevice::WriteOnly) || list.write(entries.join('\n').toUtf8() + '\n') < 0) {
            error = "cannot write " + list.fileName();
            return false;
        }
    }
    return true;
}

bool SyncWorkspace::cloneMaster(const QString &target, const QString &kitDirectory, QString &error) const
{
    QDir(target).removeRecursively();
    if (!QDir().mkpath(target + "/grabaciones") || !QDir().mkpath(target + "/envios")) {
        error = "cannot create " + target;
        return false;
    }
    if (!QFile::copy(root + "/master/data", target + "/data")) {
        error = "cannot copy the database";
        return false;
    }
    const QDir recordings(root + "/master/grabaciones");
    for (const QString &file : recordings.entryList(QDir::Files)) {
        const QByteArray from = QFile::encodeName(recordings.filePath(file));
        const QByteArray to = QFile::encodeName(target + "/grabaciones/" + file);
        if (::link(from.constData(), to.constData()) != 0) {
            error = "cannot link " + file;
            return false;
        }
    }
    if (!kitDirectory.isEmpty()) {
        QFile::link(kitDirectory + "/images", target + "/images");
        QFile::link(kitDirectory + "/sounds", target + "/sounds");
    }
    return true;
}
