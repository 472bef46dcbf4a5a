#ifndef RECORDINGFILES_H
#define RECORDINGFILES_H

#include <QString>
#include <QStringList>

// Checks on the recordings a test logged under "FILE": each is a complete WAV
// file in the workspace's "grabaciones" directory.
class RecordingFiles
{
public:
    // Empty when every name is that of a complete WAV file (RIFF/WAVE header
    // whose two sizes match the file, at least one sample) and no name repeats;
    // otherwise what is wrong.
    static QString problemsWith(const QString &workspace, const QStringList &names);
};

#endif // RECORDINGFILES_H
