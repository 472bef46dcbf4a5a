#include "soundplayer.h"

#include <QAudioDeviceInfo>
#include <QAudioOutput>
#include <QDebug>

// The samples are handed to the output through a buffer that holds exactly
// the sample bytes, not through the file positioned after the header: the
// output asks the audio server to pre-buffer as many bytes as its source's
// size() before it starts playing, and for a short prompt read from the file
// that count includes the header, which never arrives, so such a prompt would
// never start nor end. The buffer maps the file when it can, so a long story
// is not copied into memory.
//
// As a last resort, a watchdog ends a sound whose output neither reports its
// end nor makes progress well after the sound's duration.

SoundPlayer::SoundPlayer(QObject *parent)
    : QObject(parent)
    , audioOutput(nullptr)
    , watchedPosition(0)
    , endMargin(DefaultEndMarginMs)
    , dryRuns(0)
{
    pendingEnd.setSingleShot(true);
    pendingEnd.setInterval(0);
    connect(&pendingEnd, &QTimer::timeout, this, &SoundPlayer::soundHasFinished);
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, this, &SoundPlayer::checkProgress);
}

SoundPlayer::~SoundPlayer()
{
    pendingEnd.stop();
    watchdog.stop();
    if (audioOutput) {
        QAudioOutput *output = audioOutput;
        audioOutput = nullptr;
        disconnect(output, nullptr, this, nullptr);
        output->stop();
        delete output;
    }
    samplesDevice.close();
    samples.clear();
    soundFile.close();
}

QAudioFormat SoundPlayer::playbackFormat()
{
    QAudioFormat format;
    format.setSampleRate(44100);
    format.setChannelCount(1);
    format.setSampleSize(16);
    format.setCodec("audio/pcm");
    format.setByteOrder(QAudioFormat::LittleEndian);
    format.setSampleType(QAudioFormat::SignedInt);
    return format;
}

void SoundPlayer::play(QString soundPath)
{
    qDebug().noquote() << QStringLiteral("MainWindow:playSound audioOutput is ")
            + (audioOutput ? QStringLiteral("NOT NULL") : QStringLiteral("NULL"))
            + QStringLiteral(" for soundPath ") + soundPath;

    stop();

    soundFile.setFileName(soundPath);
    if (!soundFile.open(QIODevice::ReadOnly)) {
        reportUnplayedEnd(QStringLiteral("MainWindow::playSound - cannot open %1: %2")
                              .arg(soundPath, soundFile.errorString()));
        return;
    }
    if (!loadSamples()) {
        release();
        reportUnplayedEnd(QStringLiteral("MainWindow::playSound - %1 holds no sound after its 44-byte header")
                              .arg(soundPath));
        return;
    }

    const QAudioFormat format = playbackFormat();
    if (!QAudioDeviceInfo::defaultOutputDevice().isFormatSupported(format)) {
        qDebug().noquote() << "MainWindow::playSound - Raw audio format not supported by backend, cannot play audio.";
        release();
        reportUnplayedEnd(QString());
        return;
    }

    audioOutput = new QAudioOutput(format, this);
    // The output feeds the server every 10 ms in the low-latency category
    // (every 20 ms otherwise), and the server starts playing once it holds a
    // full buffer, so the first samples go out one period after play(). The
    // buffer stays at the server's usual quarter of a second, so that a busy
    // moment (a test screen decoding its pictures) does not make it run dry.
    audioOutput->setCategory(QStringLiteral("game"));
    audioOutput->setBufferSize(format.bytesForDuration(BufferMs * 1000));
    connect(audioOutput, &QAudioOutput::stateChanged, this, &SoundPlayer::finishedSound);
    audioOutput->start(&samplesDevice);
    // A device that cannot be opened may have said so through finishedSound
    // already; otherwise it is still here, stopped.
    if (audioOutput && audioOutput->state() == QAudio::StoppedState) {
        const QAudio::Error error = audioOutput->error();
        release();
        reportUnplayedEnd(QStringLiteral("MainWindow::playSound - the output device did not start %1 (error %2)")
                              .arg(soundPath)
                              .arg(int(error)));
        return;
    }
    if (audioOutput) {
        watchedPosition = 0;
        watchdog.start(millisecondsOf(samples.size()) + endMargin);
    }
}

void SoundPlayer::finishedSound(QAudio::State state)
{
    if (!audioOutput || (sender() && sender() != audioOutput))
        return;

    if (state == QAudio::IdleState) {
        if (!samplesDevice.atEnd()) {
            // The device ran dry while samples were still to come (the event
            // loop was held up); it picks up again with the next samples.
            ++dryRuns;
            qDebug().noquote() << QStringLiteral("MainWindow::finishedSound - %1 ran dry before its end, waiting")
                                      .arg(soundFile.fileName());
            return;
        }
        release();
        emit soundHasFinished();
    } else if (state == QAudio::StoppedState && audioOutput->error() != QAudio::NoError) {
        const QAudio::Error error = audioOutput->error();
        const QString name = soundFile.fileName();
        release();
        reportUnplayedEnd(QStringLiteral("MainWindow::finishedSound - the output device stopped %1 (error %2)")
                              .arg(name)
                              .arg(int(error)));
    }
}

void SoundPlayer::stop()
{
    pendingEnd.stop();
    release();
}

void SoundPlayer::checkProgress()
{
    if (!audioOutput)
        return;
    const qint64 position = samplesDevice.pos();
    if (!samplesDevice.atEnd() && position > watchedPosition) {
        // Still being read, only later than expected: give it the rest of its time.
        watchedPosition = position;
        watchdog.start(millisecondsOf(samples.size() - position) + endMargin);
        return;
    }
    qDebug().noquote() << QStringLiteral("MainWindow::finishedSound - %1 did not report its end %2 ms after "
                                         "its duration (output state %3); ending it")
                              .arg(soundFile.fileName())
                              .arg(endMargin)
                              .arg(int(audioOutput->state()));
    release();
    emit soundHasFinished();
}

bool SoundPlayer::loadSamples()
{
    const qint64 fileSize = soundFile.size();
    // Whole samples only: the device rejects a trailing half sample.
    const qint64 length = fileSize > HeaderSize ? (fileSize - HeaderSize) & ~qint64(1) : 0;
    if (length <= 0)
        return false;

    if (uchar *mapped = soundFile.map(HeaderSize, length)) {
        samples = QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), int(length));
    } else {
        if (!soundFile.seek(HeaderSize))
            return false;
        samples = soundFile.read(length);
        if (samples.size() != length)
            return false;
    }
    samplesDevice.setBuffer(&samples);
    return samplesDevice.open(QIODevice::ReadOnly);
}

void SoundPlayer::release()
{
    watchdog.stop();
    if (audioOutput) {
        QAudioOutput *output = audioOutput;
        audioOutput = nullptr;
        disconnect(output, nullptr, this, nullptr);
        output->stop();
        // The release may come from the output's own notification.
        output->deleteLater();
    }
    samplesDevice.close();
    samplesDevice.setBuffer(nullptr);
    samples.clear();
    soundFile.close(); // also unmaps the samples
}

void SoundPlayer::reportUnplayedEnd(const QString &reason)
{
    if (!reason.isEmpty())
        qDebug().noquote() << reason;
    pendingEnd.start();
}

int SoundPlayer::millisecondsOf(qint64 bytes) const
{
    const QAudioFormat format = playbackFormat();
    const qint64 bytesPerSecond = qint64(format.sampleRate()) * format.channelCount() * format.sampleSize() / 8;
    return int(bytes * 1000 / bytesPerSecond);
}
