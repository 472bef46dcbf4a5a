#ifndef SYNCWORKSPACE_H
#define SYNCWORKSPACE_H

#include <QString>

// Builds the material of the upload benchmark under one directory:
//   master/    a working directory as the application leaves it after many
//              evaluations: the database "data" (evaluation rows and their log
//              rows, five "FILE" rows each) and "grabaciones/" with the
//              recordings those rows name;
//   baseline/  for each evaluation its export file "evaluation_<id>.log",
//              exactly as the application writes it, hard links to its
//              recordings, and "evaluation_<id>.files" listing the archive's
//              entries in order (for zip and curl).
// Each timed run of the application gets a copy of master/ (see cloneMaster),
// because a successful upload deletes what it sent.
class SyncWorkspace
{
public:
    struct Options
    {
        int evaluations = 50;
        int recordingsPerEvaluation = 5;
        int secondsPerRecording = 60;
        quint32 seed = 20240506;
        // When more than 0: only this many recordings are made, and the rest
        // are hard links to them in turn (a school year's worth of files
        // without a school year's worth of synthesis and disk).
        int distinctRecordings = 0;
        QString kitSounds;
    };

    explicit SyncWorkspace(const QString &directory);

    bool prepare(const Options &options, QString &error);
    // A fresh working directory for one run: the database copied, the
    // recordings hard-linked, "envios" empty, the kit linked when given.
    bool cloneMaster(const QString &target, const QString &kitDirectory, QString &error) const;

private:
    bool fillDatabase(const Options &options, QString &error);
    bool writeBaseline(const Options &options, QString &error);

    QString root;
};

#endif // SYNCWORKSPACE_H
