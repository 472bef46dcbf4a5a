#include "stimuluskit.h"

#include <QDirIterator>
#include <QSet>

QStringList StimulusKit::missingIn(const QDir &folder)
{
    // One walk of the two folders costs far less at start-up than asking for
    // each file in turn.
    QSet<QString> present;
    for (const QString &tree : {QStringLiteral("images"), QStringLiteral("sounds")}) {
        // The iterator's paths begin with the folder's path as given: the
        // rest, after the tree's name, is the path the manifest names.
        const QString root = folder.filePath(tree);
        for (QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            present.insert(tree + it.next().midRef(root.size()));
    }
    QStringList missing;
    for (const QString &path : files) {
        if (!present.contains(path))
            missing << path;
    }
    return missing;
}
