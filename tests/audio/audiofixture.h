#ifndef AUDIOFIXTURE_H
#define AUDIOFIXTURE_H

#include "testenvironment.h"

#include <QAudioDeviceInfo>
#include <QFile>
#include <QProcess>
#include <QtEndian>

#include <memory>

// What the audio tests share: prompt files written from code, reading WAV
// files, the command-line sound tools.
namespace AudioFixture {

// Runs a program to its end; true when it ran and succeeded. Its standard
// output, trimmed, goes to output.
inline bool run(const QString &program, const QStringList &arguments, QString *output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForFinished(30000);
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Writes a prompt with sox: 44-byte header, 44100 Hz mono signed 16-bit,
// a 440 Hz tone; 0 ms gives the header alone.
inline bool writePrompt(const QString &path, int milliseconds)
{
    return run("sox", {"-n", "-r", "44100", "-c", "1", "-b", "16", "-e", "signed-integer", "-t", "wavpcm", path,
                       "synth", QString::number(qMax(milliseconds, 1) / 1000.0), "sine", "440"})
        && (milliseconds > 0 || QFile::resize(path, 44));
}

// A little-endian unsigned integer of 4 or 2 bytes.
inline QByteArray le(qint64 value, int bytes)
{
    char buffer[4];
    qToLittleEndian<quint32>(quint32(value), buffer);
    return QByteArray(buffer, bytes);
}

// A whole file (empty when unreadable).
inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether both sizes of a WAV file's header agree with its length.
inline bool isComplete(const QString &path)
{
    const QByteArray wav = contents(path);
    return wav.size() >= 44 && wav.mid(4, 4) == le(wav.size() - 8, 4) && wav.mid(40, 4) == le(wav.size() - 44, 4);
}

// Writes a sound for the microphone with sox: 8000 Hz mono signed 16-bit,
// a 440 Hz tone or white noise at the given amplitude (1 = full scale).
inline bool writeMicrophoneSound(const QString &path, int milliseconds, const QString &kind, double amplitude)
{
    return run("sox", {"-n", "-r", "8000", "-c", "1", "-b", "16", "-e", "signed-integer", path, "synth",
                       QString::number(milliseconds / 1000.0), kind, "vol", QString::number(amplitude)});
}

// Plays a sound into the audio server's microphone ("micfeed") while it lives.
class MicrophoneFeed
{
public:
    explicit MicrophoneFeed(const QString &path) { player.start("paplay", {"-d", "micfeed", path}); }
    ~MicrophoneFeed()
    {
        player.kill();
        player.waitForFinished();
    }
    bool started() { return player.waitForStarted(); }

private:
    QProcess player;
};

// Mutes the audio server's microphone while it lives: it then delivers digital silence.
class MutedMicrophone
{
public:
    MutedMicrophone() { muted = run("pactl", {"set-source-mute", "micfeed.monitor", "1"}); }
    ~MutedMicrophone() { run("pactl", {"set-source-mute", "micfeed.monitor", "0"}); }
    bool isMuted() const { return muted; }

private:
    bool muted = false;
};

// Puts the audio server's microphone in a state while it lives: "muted" (digital
// silence), "sine" (a loud tone) or "whitenoise" (low noise), the sound written
// to `path` and fed for `milliseconds`; any other kind leaves it as it is.
class MicrophoneState
{
public:
    bool set(const QString &kind, const QString &path, int milliseconds)
    {
        if (kind == "muted") {
            muted = std::make_unique<MutedMicrophone>();
            return muted->isMuted();
        }
        if (kind != "sine" && kind != "whitenoise")
            return true;
        if (!writeMicrophoneSound(path, milliseconds, kind, kind == "sine" ? 0.5 : 0.03))
            return false;
        feed = std::make_unique<MicrophoneFeed>(path);
        return feed->started();
    }

private:
    std::unique_ptr<MutedMicrophone> muted;
    std::unique_ptr<MicrophoneFeed> feed;
};

// Whether this is the run where no audio server answers.
inline bool noServerPass()
{
    return qgetenv("RUMBOLO_AUDIO_PASS") == "noserver";
}

// Whether the default output and input devices exist (an audio server answers).
inline bool audioServerAvailable()
{
    return !QAudioDeviceInfo::defaultOutputDevice().isNull() && !QAudioDeviceInfo::defaultInputDevice().isNull();
}
}

// CTest runs the audio programs twice: with the audio server, and a second time
// (the tests named <program>_noserver, RUMBOLO_AUDIO_PASS=noserver) where none
// answers; the sound devices' line runs a third time against a server with a
// microphone and no speaker (<program>_nospeaker, RUMBOLO_AUDIO_PASS=nospeaker,
// tests/audio/microphone-only.sh). Each test function belongs to one pass.

// For what needs a device to play or record with: fails when there is none.
#define AUDIO_SERVER_REQUIRED()                                                                            \
    do {                                                                                                   \
        if (!qEnvironmentVariableIsEmpty("RUMBOLO_AUDIO_PASS"))                                            \
            QSKIP("belongs to the pass with the audio server");                                            \
        REQUIRE_ENVIRONMENT(AudioFixture::audioServerAvailable(),                                          \
                            "an audio device (scripts/test.sh starts a private audio server)");             \
    } while (false)

// For what must hold where no audio server answers.
#define AUDIO_SERVER_ABSENCE_REQUIRED()                                                                    \
    do {                                                                                                   \
        if (!AudioFixture::noServerPass())                                                                 \
            QSKIP("belongs to the pass without an audio server (the test named <program>_noserver)");     \
        QVERIFY2(!AudioFixture::audioServerAvailable(), "an audio server answers in the pass meant to have none"); \
    } while (false)

// For what must hold with a microphone and no speaker.
#define AUDIO_SPEAKER_ABSENCE_REQUIRED()                                                                   \
    do {                                                                                                   \
        if (qgetenv("RUMBOLO_AUDIO_PASS") != "nospeaker")                                                  \
            QSKIP("belongs to the pass with a microphone and no speaker (the test named <program>_nospeaker)"); \
        QVERIFY2(!QAudioDeviceInfo::defaultInputDevice().isNull() && QAudioDeviceInfo::defaultOutputDevice().isNull(), \
                 "the pass meant to have a microphone and no speaker has other devices");                  \
    } while (false)

#endif // AUDIOFIXTURE_H
