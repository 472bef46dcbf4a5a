#ifndef SOUNDMAKER_H
#define SOUNDMAKER_H

#include "jobrunner.h"

#include <QList>
#include <QString>

// The commands that make the prompts: Latin American Spanish speech from
// espeak-ng, slowed a little for children, and synthesised effects, all
// converted by sox to the prompt format: 44100 Hz, mono, signed 16-bit
// little-endian PCM behind a plain 44-byte WAV header.
//
// Steps use two placeholders, "{raw}" (a scratch file) and "{out}" (the file
// being made); the same text and kind always give the same steps.
class SoundMaker
{
public:
    enum class Speech { Word, Story };

    static QList<JobRunner::Step> speech(const QString &text, Speech kind);
    // "drum" (a drum strike) or "touch" (a short soft tap); empty for an unknown effect.
    static QList<JobRunner::Step> effect(const QString &name);

    // Checks a finished prompt: the exact 44-byte header and format, and length.
    static bool checkPrompt(const QString &file, double minimumSeconds, QString *error);
};

#endif // SOUNDMAKER_H
