#ifndef SOUNDPLAYER_H
#define SOUNDPLAYER_H

#include <QAudio>
#include <QAudioFormat>
#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>
#include <QTimer>

class QAudioOutput;
class QIODevice;

// Plays the spoken prompts, one at a time, on the default output device.
//
// A prompt is a WAV file with a 44-byte header followed by 44100 Hz mono signed
// 16-bit little-endian samples; the header is skipped, not interpreted. A new
// play() cuts the current sound off; stop() silences it. Neither emits
// soundHasFinished() for the sound it ends.
//
// soundHasFinished() is emitted exactly once for every sound that is not cut
// off: when a sound has played to its end, or, for a prompt that cannot be
// played at all (missing or unreadable file, no samples, no output device or
// a format it refuses), once the event loop has turned after play(), so that
// a test waiting for the end of its prompt always goes on. A debug line says
// why such a prompt was not played.
class SoundPlayer : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 HeaderSize = 44;
    static constexpr int DefaultEndMarginMs = 3000;
    // The output's buffer: how long the program may be busy elsewhere before
    // a prompt runs dry.
    static constexpr int BufferMs = 250;
    // How often the player tops the output's buffer up while a prompt plays.
    static constexpr int FeedMs = 20;

    explicit SoundPlayer(QObject *parent = nullptr);
    ~SoundPlayer() override;

    // 44100 Hz, mono, signed 16-bit little-endian PCM.
    static QAudioFormat playbackFormat();

    // Whether a sound is playing (an output exists).
    bool isPlaying() const { return audioOutput != nullptr; }
    // The output of the sound playing; null when silent.
    QAudioOutput *output() const { return audioOutput; }

    // How long after a sound's duration the player waits for the device to
    // report its end before it ends the sound itself.
    void setEndMargin(int ms) { endMargin = ms; }
    int endMarginMs() const { return endMargin; }

    // How many times a sound has run dry before its end (the output was not
    // fed in time) since the player was made.
    int underruns() const { return dryRuns; }

public slots:
    // Plays the prompt at soundPath (relative to the working directory).
    void play(QString soundPath);
    // Connected to the output's stateChanged: the idle state after the last
    // sample ends the sound.
    void finishedSound(QAudio::State state);
    // Stops the sound playing and cancels a pending end report, without signal.
    void stop();

signals:
    void soundHasFinished();

private slots:
    void checkProgress();
    void feed();

private:
    bool loadSamples();
    void release();
    void reportUnplayedEnd(const QString &reason);
    int millisecondsOf(qint64 bytes) const;

    QAudioOutput *audioOutput;
    QIODevice *outputDevice;
    QFile soundFile;
    QByteArray samples;
    qint64 written;         // bytes of samples handed to the output
    qint64 sinceStart;      // bytes handed since the output last began or ran dry
    bool waitingToStart;    // the output holds too little yet to start playing
    QTimer feeder;
    QTimer pendingEnd;
    QTimer watchdog;
    qint64 watchedPosition;
    int endMargin;
    int dryRuns;
};

#endif // SOUNDPLAYER_H
