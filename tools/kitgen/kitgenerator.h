#ifndef KITGENERATOR_H
#define KITGENERATOR_H

#include "jobrunner.h"
#include "kitcontent.h"

#include <QImage>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class DocumentPainter;
class EmojiArt;
class FramePainter;
class AnimationPainter;
class ScenePainter;

// Writes the stimulus kit (images/, sounds/ and manifest.txt) into a folder.
// Pictures are drawn here; prompts and animations are made by external
// programs run in parallel. Files that are already up to date are left alone,
// and files of an earlier kit that are no longer part of it are removed.
class KitGenerator
{
public:
    struct Options {
        QString contentFolder;
        QString outputFolder;
        QStringList only;   // wildcard patterns of paths; empty: the whole kit
        int parallel = 2;
        bool verbose = false;
    };

    explicit KitGenerator(const Options &options);
    ~KitGenerator();

    bool run(QString *error);

    static constexpr double MinimumPromptSeconds = 0.35;

private:
    // One file of the kit and how it is made.
    struct Entry {
        enum Kind { Png, Gif, Wav };
        QString path;
        Kind kind = Png;
        int width = 0, height = 0, frames = 1;
        QString about;
        std::function<QImage(QString *)> picture;           // Png
        std::function<QList<QImage>(QString *)> animation;  // Gif
        QList<JobRunner::Step> steps;                       // Wav
    };

    bool generate(QString *error);
    bool plan(QString *error);
    void addPicture(const QString &path, int w, int h, const QString &about, std::function<QImage(QString *)> draw);
    void addAnimation(const QString &path, int w, int h, const QString &about,
                      std::function<QList<QImage>(QString *)> frames);
    bool addSpeech(const QString &path, const QString &text, bool story, QString *error);
    bool addEffect(const QString &path, const QString &effect, QString *error);

    bool selected(const QString &path) const;
    QString absolute(const QString &path) const;
    QString stampFile(const QString &path) const;
    bool upToDate(const QString &path, const QByteArray &recipe) const;
    bool writeStamp(const QString &path, const QByteArray &recipe, QString *error) const;
    bool writeIfChanged(const QString &path, const QByteArray &bytes, bool *written, QString *error) const;

    bool makePicture(const Entry &entry, QString *error);
    bool queueAnimation(const Entry &entry, JobRunner &runner, QString *error);
    bool queueSound(const Entry &entry, JobRunner &runner, QString *error);
    bool verify(const Entry &entry, QString *error) const;
    bool pruneStaleFiles(QString *error) const;
    bool writeManifest(QString *error) const;

    Options options;
    KitContent content;
    std::unique_ptr<EmojiArt> emoji;
    std::unique_ptr<ScenePainter> scenes;
    std::unique_ptr<FramePainter> frame;
    std::unique_ptr<DocumentPainter> documents;
    std::unique_ptr<AnimationPainter> animations;
    QList<Entry> entries;
    QList<QRegularExpression> onlyPatterns;
    int written = 0;
    int kept = 0;
};

#endif // KITGENERATOR_H
