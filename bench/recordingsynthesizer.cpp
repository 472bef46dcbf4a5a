#include "recordingsynthesizer.h"

#include <QDirIterator>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>

RecordingSynthesizer::RecordingSynthesizer(quint32 seed)
    : random(seed)
{
}

QVector<float> RecordingSynthesizer::downsample(const QByteArray &pcm16)
{
    // 44100 Hz to 8000 Hz: each output sample is the mean of the input samples
    // it covers (a box filter is enough against aliasing for this purpose).
    const int inCount = pcm16.size() / 2;
    const auto *in = reinterpret_cast<const qint16 *>(pcm16.constData());
    const double step = 44100.0 / SampleRate;
    const int outCount = int(inCount / step);
    QVector<float> out(outCount);
    for (int k = 0; k < outCount; ++k) {
        const int from = int(k * step);
        const int to = std::min(inCount, int((k + 1) * step));
        double sum = 0;
        for (int j = from; j < to; ++j)
            sum += qFromLittleEndian(in[j]);
        out[k] = float(sum / std::max(1, to - from) / 32768.0);
    }
    return out;
}

bool RecordingSynthesizer::loadVoices(const QString &soundsDirectory)
{
    QStringList paths;
    QDirIterator it(soundsDirectory, {"*.wav"}, QDir::Files, QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
    while (it.hasNext())
        paths << it.next();
    paths.sort();
    for (const QString &path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.size() <= 44 + 4410)
            continue;
        file.seek(44);
        QVector<float> voice = downsample(file.readAll());
        if (!voice.isEmpty())
            voices << voice;
    }
    return !voices.isEmpty();
}

QByteArray RecordingSynthesizer::wavHeader(quint32 dataBytes)
{
    unsigned char header[44] = {};
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            header[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    auto put16 = [&](int at, quint16 v) {
        header[at] = static_cast<unsigned char>(v);
        header[at + 1] = static_cast<unsigned char>(v >> 8);
    };
    memcpy(header, "RIFF", 4);
    put32(4, 36 + dataBytes);
    memcpy(header + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);             // PCM
    put16(22, 1);             // mono
    put32(24, SampleRate);    // samples per second
    put32(28, SampleRate);    // bytes per second
    put16(32, 1);             // block align
    put16(34, 8);             // bits per sample
    memcpy(header + 36, "data", 4);
    put32(40, dataBytes);
    return QByteArray(reinterpret_cast<const char *>(header), sizeof header);
}

QByteArray RecordingSynthesizer::makeRecording(int seconds)
{
    const int count = seconds * SampleRate;
    QVector<float> signal(count);

    // Background: a quiet room through an 8-bit microphone input, a little
    // hiss plus a slow hum, a few levels around the midpoint.
    std::normal_distribution<float> hiss(0.0f, 1.1f);
    const float humLevel = std::uniform_real_distribution<float>(0.3f, 1.2f)(random);
    for (int i = 0; i < count; ++i)
        signal[i] = hiss(random) + humLevel * float(std::sin(2 * M_PI * 50.0 * i / SampleRate));

    // Answers: words spoken now and then, at a level that varies with the
    // child's distance from the microphone.
    std::uniform_real_distribution<float> pause(0.4f, 2.5f);
    std::uniform_real_distribution<float> level(35.0f, 100.0f);
    std::uniform_int_distribution<int> pick(0, voices.size() - 1);
    int at = int(pause(random) * SampleRate);
    while (!voices.isEmpty() && at < count) {
        const QVector<float> &voice = voices[pick(random)];
        const float gain = level(random) / 0.9f;
        for (int j = 0; j < voice.size() && at + j < count; ++j)
            signal[at + j] += voice[j] * gain;
        at += voice.size() + int(pause(random) * SampleRate);
    }

    QByteArray wav = wavHeader(quint32(count));
    wav.resize(44 + count);
    auto *out = reinterpret_cast<unsigned char *>(wav.data() + 44);
    for (int i = 0; i < count; ++i)
        out[i] = static_cast<unsigned char>(std::clamp(std::lround(128.0f + signal[i]), 0L, 255L));
    return wav;
}
