#include "stimuluskit.h"

#include <QDirIterator>
#include <QSet>

QStringList StimulusKit::missingIn(const QDir &folder)
{
    // One walk of the two folders costs far less at start-up than asking for
    // each file in turn.
    QSet<QString> present;
    for (const char *tree : {"images", "sounds"}) {
        for (QDirIterator it(folder.filePath(tree), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            present.insert(folder.relativeFilePath(it.next()));
    }
    QStringList missing;
    for (const QString &path : files) {
        if (!present.contains(path))
            missing << path;
    }
    return missing;
}
