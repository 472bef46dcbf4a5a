#ifndef RECORDINGSYNTHESIZER_H
#define RECORDINGSYNTHESIZER_H

#include <QByteArray>
#include <QString>
#include <QVector>

#include <random>

// Makes recordings as the application stores them (WAV, 8000 Hz mono unsigned
// 8-bit) with content like a child's answers: spoken words taken from the
// stimulus kit's prompts, scattered over a minute with pauses between them, on
// a microphone's background noise. Every recording differs (placement, choice,
// level and noise come from a seeded generator), so none is compressed better
// than a real one would be.
class RecordingSynthesizer
{
public:
    static constexpr int SampleRate = 8000;

    explicit RecordingSynthesizer(quint32 seed);

    // Loads the spoken prompts (44-byte header, 44100 Hz mono signed 16-bit)
    // found under soundsDirectory; false when there are none.
    bool loadVoices(const QString &soundsDirectory);
    int voiceCount() const { return voices.size(); }

    // A complete WAV file of the given length.
    QByteArray makeRecording(int seconds);

    static QByteArray wavHeader(quint32 dataBytes);

private:
    static QVector<float> downsample(const QByteArray &pcm16);

    QVector<QVector<float>> voices;
    std::mt19937 random;
};

#endif // RECORDINGSYNTHESIZER_H
