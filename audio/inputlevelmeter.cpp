#include "inputlevelmeter.h"

#include "voicerecorder.h"

#include <QAudioDeviceInfo>
#include <QAudioInput>
#include <QDebug>
#include <QtEndian>

namespace {
// A microphone's own noise stays within a few steps of an 8-bit recording;
// a voice in the room reaches well past this (-26 dB of full scale).
constexpr qreal SoundMinimum = 0.05;

// The peak of a block: half the distance between its lowest and highest
// sample (an offset of the whole block does not count), 0 to 1.
qreal peakOf(const char *data, qint64 length, const QAudioFormat &format)
{
    const int bytes = format.sampleSize() / 8;
    if (bytes < 1 || length < bytes)
        return 0;
    qreal low = 1, high = -1;
    for (qint64 i = 0; i + bytes <= length; i += bytes) {
        const uchar *sample = reinterpret_cast<const uchar *>(data + i);
        qreal value;
        if (format.sampleType() == QAudioFormat::Float && bytes == 4) {
            value = format.byteOrder() == QAudioFormat::LittleEndian ? qFromLittleEndian<float>(sample)
                                                                      : qFromBigEndian<float>(sample);
        } else {
            // The most significant byte is enough to draw a meter and to tell sound from noise.
            const uchar top = sample[format.byteOrder() == QAudioFormat::LittleEndian ? bytes - 1 : 0];
            value = qint8(format.sampleType() == QAudioFormat::UnSignedInt ? top ^ 0x80 : top) / 128.0;
        }
        low = qMin(low, value);
        high = qMax(high, value);
    }
    return qBound<qreal>(0, (high - low) / 2, 1);
}
}

InputLevelMeter::InputLevelMeter(QObject *parent)
    : QObject(parent)
    , input(nullptr)
    , source(nullptr)
    , state(NoDevice)
    , lastLevel(0)
    , bytesSeen(0)
    , samplesDiffer(false)
{
    silenceTimer.setSingleShot(true);
    silenceTimer.setInterval(SilenceVerdictMs);
    connect(&silenceTimer, &QTimer::timeout, this, [this] {
        if (!samplesDiffer)
            setVerdict(Silent);
    });
}

InputLevelMeter::~InputLevelMeter()
{
    stop();
}

void InputLevelMeter::start()
{
    stop();
    lastLevel = 0;
    firstFrame.clear();
    bytesSeen = 0;
    samplesDiffer = false;

    const QAudioDeviceInfo device = QAudioDeviceInfo::defaultInputDevice();
    if (device.isNull()) {
        setVerdict(NoDevice);
        return;
    }
    format = VoiceRecorder::requestedFormat();
    if (!device.isFormatSupported(format))
        format = device.nearestFormat(format);
    input = new QAudioInput(device, format, this);
    source = input->start();
    if (!source)
        qDebug().noquote() << "[inputLevel] the input device does not start, error" << int(input->error());
    else
        connect(source, &QIODevice::readyRead, this, &InputLevelMeter::readSamples);
    // A device that delivers nothing at all counts as silent too.
    silenceTimer.start();
    setVerdict(Listening);
}

void InputLevelMeter::stop()
{
    silenceTimer.stop();
    if (!input)
        return;
    input->stop();
    delete input;
    input = nullptr;
    source = nullptr;
}

void InputLevelMeter::readSamples()
{
    if (!source)
        return;
    const QByteArray block = source->readAll();
    if (!block.isEmpty())
        take(block.constData(), block.size());
}

void InputLevelMeter::take(const char *data, qint64 length)
{
    // Digital silence: every frame equal to the first.
    const int frame = qMax(1, format.bytesPerFrame());
    for (qint64 i = 0; i < length && !samplesDiffer; ++i, ++bytesSeen) {
        if (bytesSeen < frame)
            firstFrame.append(data[i]);
        else
            samplesDiffer = data[i] != firstFrame.at(int(bytesSeen % frame));
    }

    lastLevel = peakOf(data, length, format);
    emit levelChanged(lastLevel);
    if (state == SoundHeard)
        return;
    if (samplesDiffer)
        setVerdict(lastLevel >= SoundMinimum ? SoundHeard : Listening);
}

void InputLevelMeter::setVerdict(Verdict verdict)
{
    if (verdict == state)
        return;
    state = verdict;
    emit verdictChanged(state);
}
