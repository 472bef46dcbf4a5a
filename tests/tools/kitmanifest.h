#ifndef KITMANIFEST_H
#define KITMANIFEST_H

#include <QHash>
#include <QList>
#include <QString>

// Reads the list of every file of the stimulus kit (manifest.txt, written by
// the generator next to images/ and sounds/), so tests can check that a path
// the program asks for is part of the kit and what it is.
class KitManifest
{
public:
    struct Entry {
        QString path;   // relative to the kit: "images/..." or "sounds/..."
        QString kind;   // "png", "gif" or "wav"
        int width = 0;  // pictures
        int height = 0;
        int frames = 0;        // gif
        double seconds = 0;    // wav
        QString about;
    };

    // The kit the build made ($RUMBOLO_KIT_DIR), or empty.
    static QString kitDirectory();

    bool load(const QString &kitFolder, QString *error);

    const QList<Entry> &entries() const { return list; }
    bool contains(const QString &path) const { return index.contains(path); }
    // The entry of a path; null when the kit has no such file.
    const Entry *find(const QString &path) const;
    QString folder() const { return kitFolder; }

private:
    QString kitFolder;
    QList<Entry> list;
    QHash<QString, int> index;
};

#endif // KITMANIFEST_H
