#ifndef AUDIOFIXTURE_H
#define AUDIOFIXTURE_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// What the audio tests share: prompt files written from code, reading WAV
// headers, the command-line sound tools, and a way to run one test function
// in a child process that has no audio server at all.
class AudioFixture
{
public:
    // Writes a prompt with sox: 44-byte header, 44100 Hz mono signed 16-bit,
    // a 440 Hz tone; 0 ms gives the header alone.
    static bool writePrompt(const QString &path, int milliseconds);

    // The little-endian unsigned integer of 4 or 2 bytes at an offset of a file (-1 when unreadable).
    static qint64 valueAt(const QString &path, qint64 offset, int bytes = 4);

    // Runs a program to its end; true when it ran and succeeded. Its standard
    // output, trimmed, goes to output.
    static bool run(const QString &program, const QStringList &arguments, QString *output = nullptr,
                    int timeoutMs = 30000);

    // Whether the default output and input devices exist (an audio server answers).
    static bool audioServerAvailable();

    // Whether this process is the child started by runWithoutAudioServer.
    static bool isChildWithoutAudioServer();
    // Runs one test function of this test program in a child process whose audio
    // client cannot reach any server. Returns the child's exit code (0: passed),
    // and its output through log.
    static int runWithoutAudioServer(const QString &testFunction, QString *log);
};

// Skips the calling test function when there is no audio device to play or record with.
#define AUDIO_SERVER_REQUIRED()                                                                            \
    do {                                                                                                   \
        if (!AudioFixture::audioServerAvailable())                                                         \
            QSKIP("no audio device: start the audio server (scripts/services.sh, start_audio) to run this"); \
    } while (false)

#endif // AUDIOFIXTURE_H
