#ifndef EVALUATIONPACKAGE_H
#define EVALUATIONPACKAGE_H

#include <QString>
#include <QStringList>

class DatabaseManager;
class QFile;
class QuaZip;

// Turns one stored evaluation into the package the scoring service receives:
// the export file "evaluation_<id>.log" (its rows as "first;second;third" lines)
// and the zip archive "evaluation_<id>.zip" in "envios" holding the export file
// and the evaluation's recordings from "grabaciones".
class EvaluationPackage
{
public:
    explicit EvaluationPackage(DatabaseManager *databaseManager = nullptr);

    void setDatabaseManager(DatabaseManager *manager) { databaseManager = manager; }

    // Writes the export file and fills recordings with the evaluation's
    // recording names (the "FILE" values, in log order, without ".wav").
    bool exportEvaluation(int evaluationId, QStringList &recordings);
    // Exports, then builds the archive; true once the archive is complete.
    bool createArchive(int evaluationId, QStringList &recordings);
    // Removes the archive of the evaluation (negative ids are ignored).
    void deleteArchive(int evaluationId);

    static QString recordingsDirectory();
    static QString packagesDirectory();
    static QString packageBaseName(int evaluationId);
    static QString exportFilePath(int evaluationId);
    static QString archivePath(int evaluationId);

    // Whether a "FILE" value names a file inside "grabaciones": a value with a
    // directory separator or ".." is no recording of ours and is never packed
    // or deleted.
    static bool isRecordingName(const QString &value);

private:
    static bool writeExportLine(QFile &file, const QString &first, const QString &second, const QString &third);
    bool writeArchiveEntries(QuaZip &zip, const QStringList &sources);

    DatabaseManager *databaseManager;
};

#endif // EVALUATIONPACKAGE_H
