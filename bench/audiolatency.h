#ifndef AUDIOLATENCY_H
#define AUDIOLATENCY_H

#include "pipelistener.h"

#include <QString>

#include <random>

class MainWindow;

// Times sound in and out of the private audio server, for the application and
// for the server's own command-line tools started at a known instant:
//   - a prompt: from the request (MainWindow::playSound, as a test's
//     requestPlaySound reaches it, or the start of `paplay`) to the first loud
//     sample read from the speaker pipe, less the prompt's own leading silence;
//   - a recording: from its start (MainWindow::startRecordingSound, or the
//     start of `parec`) to the first captured samples of a tone that plays into
//     the microphone all along.
// Every figure is in milliseconds on the monotonic clock; NaN when nothing
// arrived within two seconds.
class AudioLatency
{
public:
    AudioLatency(MainWindow *window, const QString &speakerFifo, int channels, int rate);
    ~AudioLatency();

    bool start(QString &error);

    // The index of the first sample louder than threshold after the 44-byte
    // header of a 16-bit mono prompt, and its sample rate; -1 when none is.
    static qint64 leadingSilence(const QString &wavPath, int threshold, int *sampleRate);

    double playOnce(const QString &prompt);
    // Of the last playOnce(): when the request returned, and when the output
    // first handed samples to the server (ms after the request).
    double startMs() const { return lastStartMs; }
    double handedMs() const { return lastHandedMs; }
    double paplayOnce(const QString &prompt);

    // The tone fed into the microphone while recordings are timed.
    bool startTone(const QString &toneWav);
    void stopTone();
    double recordOnce(QString &problem);
    double parecOnce(int latencyMs, QString &problem);

private:
    bool waitForQuiet();

    MainWindow *window;
    PipeListener listener;
    qint64 tonePid;
    std::mt19937 random;
    double lastStartMs;
    double lastHandedMs;
};

#endif // AUDIOLATENCY_H
