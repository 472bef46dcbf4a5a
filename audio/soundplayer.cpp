#include "soundplayer.h"

#include <QAudioDeviceInfo>
#include <QAudioOutput>
#include <QDebug>

// The player writes the samples into the output itself (push mode) rather than
// letting the output read them: play() hands the server a whole buffer at once,
// so the first samples go out as soon as the stream is open, instead of one
// feeding period later. A timer then tops the buffer up while the prompt plays.
//
// The server starts playing a stream only once it holds about a buffer's worth
// of samples, and starts it again after it has run dry only then. A prompt
// shorter than the buffer therefore gets a buffer of its own length, so that
// writing it whole starts it; should the server grant a longer one, or the
// last samples after a dry run not fill it, silence makes up the difference,
// and the end is reported that much later. The samples are read from the file
// mapped when it can be, so a long story is not copied into memory.
//
// As a last resort, a watchdog ends a sound whose output neither reports its
// end nor makes progress well after the sound's duration.

SoundPlayer::SoundPlayer(QObject *parent)
    : QObject(parent)
    , audioOutput(nullptr)
    , outputDevice(nullptr)
    , written(0)
    , sinceStart(0)
    , waitingToStart(false)
    , watchedPosition(0)
    , endMargin(DefaultEndMarginMs)
    , dryRuns(0)
{
    pendingEnd.setSingleShot(true);
    pendingEnd.setInterval(0);
    connect(&pendingEnd, &QTimer::timeout, this, &SoundPlayer::soundHasFinished);
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, this, &SoundPlayer::checkProgress);
    feeder.setInterval(FeedMs);
    connect(&feeder, &QTimer::timeout, this, &SoundPlayer::feed);
}

SoundPlayer::~SoundPlayer()
{
    pendingEnd.stop();
    watchdog.stop();
    feeder.stop();
    outputDevice = nullptr;
    if (audioOutput) {
        QAudioOutput *output = audioOutput;
        audioOutput = nullptr;
        disconnect(output, nullptr, this, nullptr);
        output->stop();
        delete output;
    }
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
    // The server's usual quarter of a second, so that a busy moment (a test
    // screen decoding its pictures) does not make a prompt run dry; a shorter
    // prompt is written whole at once and cannot run dry.
    audioOutput->setBufferSize(int(qMin<qint64>(format.bytesForDuration(BufferMs * 1000), samples.size())));
    // Watched only once started: a stream that opens reports itself idle
    // before its first samples, which is not the end of anything.
    outputDevice = audioOutput->start();
    if (!outputDevice || audioOutput->state() == QAudio::StoppedState) {
        const QAudio::Error error = audioOutput->error();
        release();
        reportUnplayedEnd(QStringLiteral("MainWindow::playSound - the output device did not start %1 (error %2)")
                              .arg(soundPath)
                              .arg(int(error)));
        return;
    }
    connect(audioOutput, &QAudioOutput::stateChanged, this, &SoundPlayer::finishedSound);
    written = 0;
    sinceStart = 0;
    waitingToStart = true;
    watchedPosition = 0;
    feed();
    if (written < samples.size())
        feeder.start();
    watchdog.start(millisecondsOf(samples.size()) + endMargin);
}

void SoundPlayer::feed()
{
    if (!outputDevice)
        return;
    const qint64 wanted = qMin<qint64>(audioOutput->bytesFree(), samples.size() - written);
    if (wanted > 0) {
        const qint64 count = outputDevice->write(samples.constData() + written, wanted);
        if (count > 0) {
            written += count;
            sinceStart += count;
        }
    }
    if (written < samples.size())
        return;
    feeder.stop();
    const qint64 startsAt = audioOutput->bufferSize();
    if (waitingToStart && sinceStart < startsAt) {
        // The last samples alone would stay in the server, never played.
        const QByteArray silence(int(startsAt - sinceStart), '\0');
        outputDevice->write(silence);
    }
    waitingToStart = false;
}

void SoundPlayer::finishedSound(QAudio::State state)
{
    if (!audioOutput || (sender() && sender() != audioOutput))
        return;

    if (state == QAudio::IdleState) {
        // Ran dry while samples were still to come, or written since it did
        // (the event loop was held up): it picks up again with the next samples.
        if (written < samples.size() || audioOutput->state() != QAudio::IdleState) {
            ++dryRuns;
            qDebug().noquote() << QStringLiteral("MainWindow::finishedSound - %1 ran dry before its end, waiting")
                                      .arg(soundFile.fileName());
            sinceStart = 0;
            waitingToStart = true;
            feed();
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
    const qint64 position = written;
    if (position < samples.size() && position > watchedPosition) {
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
        return true;
    }
    if (!soundFile.seek(HeaderSize))
        return false;
    samples = soundFile.read(length);
    return samples.size() == length;
}

void SoundPlayer::release()
{
    watchdog.stop();
    feeder.stop();
    outputDevice = nullptr; // the output's own, gone with its stream
    if (audioOutput) {
        QAudioOutput *output = audioOutput;
        audioOutput = nullptr;
        disconnect(output, nullptr, this, nullptr);
        output->stop();
        // The release may come from the output's own notification.
        output->deleteLater();
    }
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
