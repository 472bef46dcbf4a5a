#include "kitmanifest.h"

#include <QFile>
#include <QStringList>

QString KitManifest::kitDirectory()
{
    return qEnvironmentVariable("RUMBOLO_KIT_DIR");
}

bool KitManifest::load(const QString &folder, QString *error)
{
    kitFolder = folder;
    list.clear();
    index.clear();
    QFile file(folder + "/manifest.txt");
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QString("no kit manifest at %1 (build the rumbolo-kit target)").arg(file.fileName());
        return false;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith('#'))
            continue;
        const QStringList f = lines[i].split('\t');
        if (f.size() != 7) {
            *error = QString("manifest line %1: expected 7 fields, found %2").arg(i + 1).arg(f.size());
            return false;
        }
        Entry e;
        e.path = f[0];
        e.kind = f[1];
        e.width = f[2].toInt();
        e.height = f[3].toInt();
        e.frames = f[4].toInt();
        e.seconds = f[5].toDouble();
        e.about = f[6];
        if (index.contains(e.path)) {
            *error = QString("manifest lists %1 twice").arg(e.path);
            return false;
        }
        index.insert(e.path, list.size());
        list << e;
    }
    return true;
}

const KitManifest::Entry *KitManifest::find(const QString &path) const
{
    const auto it = index.constFind(path);
    return it == index.constEnd() ? nullptr : &list.at(*it);
}
