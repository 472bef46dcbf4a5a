#ifndef INPUTLEVELMETER_H
#define INPUTLEVELMETER_H

#include <QAudioFormat>
#include <QByteArray>
#include <QObject>
#include <QTimer>

class QAudioInput;
class QIODevice;

// Listens to the default input device, without recording anything, and tells
// how loud what arrives is and whether the microphone works at all:
//   - no input device;
//   - digital silence only (every sample equal, or nothing at all) for two
//     seconds, as a muted or failing microphone delivers;
//   - sound above a microphone's own noise, once it has arrived.
// Samples are read in the format the recordings use, so that the verdict holds
// for what would be recorded.
class InputLevelMeter : public QObject
{
    Q_OBJECT

public:
    enum Verdict { NoDevice, Listening, Silent, SoundHeard };
    Q_ENUM(Verdict)

    static constexpr int SilenceVerdictMs = 2000;

    explicit InputLevelMeter(QObject *parent = nullptr);
    ~InputLevelMeter() override;

    bool isListening() const { return input != nullptr; }
    Verdict verdict() const { return state; }
    // Peak level of the last block of samples, from 0 (nothing) to 1 (full scale).
    qreal level() const { return lastLevel; }

public slots:
    // Opens the default input device and starts listening from scratch.
    void start();
    // Releases the input device.
    void stop();

signals:
    void levelChanged(qreal level);
    void verdictChanged(InputLevelMeter::Verdict verdict);

private:
    void readSamples();
    void take(const char *data, qint64 length);
    void setVerdict(Verdict verdict);

    QAudioFormat format;
    QAudioInput *input;
    QIODevice *source;
    QTimer silenceTimer;
    Verdict state;
    qreal lastLevel;
    QByteArray firstFrame;
    qint64 bytesSeen;
    bool samplesDiffer;
};

#endif // INPUTLEVELMETER_H
