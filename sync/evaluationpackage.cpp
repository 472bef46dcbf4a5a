#include "evaluationpackage.h"

#include "databasemanager.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

EvaluationPackage::EvaluationPackage(DatabaseManager *manager)
    : databaseManager(manager)
{
}

QString EvaluationPackage::recordingsDirectory()
{
    return QDir::currentPath() + QDir::separator() + "grabaciones" + QDir::separator();
}

QString EvaluationPackage::packagesDirectory()
{
    return QDir::currentPath() + QDir::separator() + "envios" + QDir::separator();
}

QString EvaluationPackage::packageBaseName(int evaluationId)
{
    return QStringLiteral("evaluation_") + QString::number(evaluationId);
}

QString EvaluationPackage::exportFilePath(int evaluationId)
{
    return packagesDirectory() + packageBaseName(evaluationId) + ".log";
}

QString EvaluationPackage::archivePath(int evaluationId)
{
    return packagesDirectory() + packageBaseName(evaluationId) + ".zip";
}

bool EvaluationPackage::isRecordingName(const QString &value)
{
    return !value.isEmpty() && !value.contains('/') && !value.contains('\\') && !value.contains("..")
        && !value.contains(QChar(0));
}

bool EvaluationPackage::writeExportLine(QFile &file, const QString &first, const QString &second,
                                        const QString &third)
{
    // No quoting and no escaping: the scoring service reads the lines as they are.
    const QByteArray line = (first + ';' + second + ';' + third).toUtf8() + '\n';
    return file.write(line) == line.size();
}

bool EvaluationPackage::exportEvaluation(int evaluationId, QStringList &recordings)
{
    if (!databaseManager) {
        qDebug() << "[exportEvaluation]no database";
        return false;
    }
    QDir().mkpath(packagesDirectory());
    QFile file(exportFilePath(evaluationId));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qDebug() << "[exportEvaluation]cannot write" << file.fileName() << file.errorString();
        return false;
    }

    const QString id = QString::number(evaluationId);
    // A line that cannot be written, or a query that cannot run, must not end
    // in a shortened export that is uploaded and then deleted here as if complete.
    bool ok = writeExportLine(file, "GENERAL", "evaluationId", id);

    if (!databaseManager->execQuery("SELECT * FROM evaluation WHERE ROWID = " + id)) {
        qDebug() << "[exportEvaluation]evaluation query failed:" << databaseManager->lastError().text();
        ok = false;
    }
    static const char *const columns[] = {"evaluationDate", "name", "lastName", "level",
                                          "codeGroup", "fullEvaluation", "endOfYear"};
    while (ok && databaseManager->nextRow()) {
        for (const char *column : columns)
            ok = ok && writeExportLine(file, "GENERAL", column, databaseManager->valueOf(column));
    }

    recordings.clear();
    if (ok && !databaseManager->execQuery("SELECT * FROM log WHERE evaluationId = " + id)) {
        qDebug() << "[exportEvaluation]log query failed:" << databaseManager->lastError().text();
        ok = false;
    }
    while (ok && databaseManager->nextRow()) {
        const QString key = databaseManager->valueOf("key");
        const QString value = databaseManager->valueOf("value");
        if (key == "FILE") {
            if (isRecordingName(value))
                recordings << value;
            else
                qDebug() << "[exportEvaluation]FILE value is not a recording name, not packed:" << value;
        }
        ok = writeExportLine(file, databaseManager->valueOf("test"), key, value);
    }

    ok = file.flush() && ok;
    file.close();
    if (!ok)
        qDebug() << "[exportEvaluation]export of evaluation" << evaluationId << "is incomplete" << file.errorString();
    return ok;
}

bool EvaluationPackage::createArchive(int evaluationId, QStringList &recordings)
{
    if (!exportEvaluation(evaluationId, recordings))
        return false;

    QuaZip zip(archivePath(evaluationId));
    zip.setFileNameCodec("IBM866");
    if (!zip.open(QuaZip::mdCreate)) {
        qDebug() << "[createArchive]cannot create" << zip.getZipName() << zip.getZipError();
        return false;
    }

    QStringList sources{exportFilePath(evaluationId)};
    for (const QString &recording : recordings)
        sources << recordingsDirectory() + recording + ".wav";

    bool ok = writeArchiveEntries(zip, sources);
    zip.close();
    if (zip.getZipError() != UNZ_OK) {
        qDebug() << "[createArchive]cannot close" << zip.getZipName() << zip.getZipError();
        ok = false;
    }
    if (ok)
        QFile::remove(exportFilePath(evaluationId));
    return ok;
}

bool EvaluationPackage::writeArchiveEntries(QuaZip &zip, const QStringList &sources)
{
    for (const QString &source : sources) {
        const QFileInfo info(source);
        if (!info.exists() || !info.isFile())
            continue; // a missing recording is left out

        QFile in(source);
        if (!in.open(QIODevice::ReadOnly)) {
            qDebug() << "[createArchive]cannot read" << source << in.errorString();
            return false;
        }
        QuaZipNewInfo entry(info.fileName());
        entry.dateTime = info.lastModified();
        entry.internalAttr = 0;
        entry.externalAttr = 0;
        QuaZipFile out(&zip);
        if (!out.open(QIODevice::WriteOnly, entry, nullptr, 0, Z_DEFLATED, Z_DEFAULT_COMPRESSION)) {
            qDebug() << "[createArchive]cannot add" << info.fileName() << out.getZipError();
            return false;
        }

        char buffer[65536];
        bool copied = true;
        for (;;) {
            const qint64 n = in.read(buffer, sizeof buffer);
            if (n == 0)
                break;
            if (n < 0 || out.write(buffer, n) != n) {
                copied = false;
                break;
            }
        }
        if (!copied || out.getZipError() != UNZ_OK) {
            qDebug() << "[createArchive]cannot copy" << source << in.errorString() << out.getZipError();
            return false;
        }
        out.close();
        if (out.getZipError() != UNZ_OK) {
            qDebug() << "[createArchive]cannot finish" << info.fileName() << out.getZipError();
            return false;
        }
        in.close();
    }
    return true;
}

void EvaluationPackage::deleteArchive(int evaluationId)
{
    if (evaluationId < 0)
        return;
    QFile::remove(archivePath(evaluationId));
}
