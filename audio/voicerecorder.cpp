#include "voicerecorder.h"

#include <QAudioDeviceInfo>
#include <QAudioInput>
#include <QDate>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTime>

VoiceRecorder::VoiceRecorder(QObject *parent)
    : QObject(parent)
    , recordFormat(requestedFormat())
    , audioInput(nullptr)
    , recording(false)
{
    const QAudioDeviceInfo device = QAudioDeviceInfo::defaultInputDevice();
    if (!device.isFormatSupported(recordFormat))
        recordFormat = device.nearestFormat(recordFormat);
    audioInput = new QAudioInput(recordFormat, this);

    recordTimer.setSingleShot(true);
    recordTimer.setInterval(DefaultCapMs);
    connect(&recordTimer, &QTimer::timeout, this, &VoiceRecorder::stop);
}

VoiceRecorder::~VoiceRecorder()
{
    stop();
    // The input goes before the file it writes into.
    delete audioInput;
    audioInput = nullptr;
}

QAudioFormat VoiceRecorder::requestedFormat()
{
    QAudioFormat format;
    format.setSampleRate(8000);
    format.setChannelCount(1);
    format.setSampleSize(8);
    format.setCodec("audio/pcm");
    format.setByteOrder(QAudioFormat::LittleEndian);
    format.setSampleType(QAudioFormat::UnSignedInt);
    return format;
}

void VoiceRecorder::setRecordingCap(int ms)
{
    recordTimer.setInterval(ms);
}

QString VoiceRecorder::pathForName(const QString &name)
{
    return QDir::toNativeSeparators(QDir::currentPath() + QDir::separator() + "grabaciones" + QDir::separator()
                                    + name + ".wav");
}

bool VoiceRecorder::isRecordingFileName(const QString &fileName)
{
    // "yyyyMMddhhmmss.wav", with a date and a time that exist.
    static const QRegularExpression form("^[0-9]{14}\\.wav$");
    return form.match(fileName).hasMatch() && QDate::fromString(fileName.left(8), "yyyyMMdd").isValid()
        && QTime::fromString(fileName.mid(8, 6), "hhmmss").isValid();
}

void VoiceRecorder::removeRecordingsOtherThan(const QSet<QString> &names)
{
    const QDir recordings(QDir::currentPath() + QDir::separator() + "grabaciones");
    for (const QString &fileName : recordings.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!isRecordingFileName(fileName) || names.contains(fileName.chopped(4)))
            continue;
        const QString path = QDir::toNativeSeparators(recordings.filePath(fileName));
        if (QFile::remove(path))
            qDebug().noquote() << QStringLiteral("[recordings] %1 removed: no stored row names it").arg(path);
        else
            qDebug().noquote() << QStringLiteral("[recordings] %1 is named by no stored row and cannot be removed").arg(path);
    }
}

bool VoiceRecorder::start(QString *soundName)
{
    if (recording)
        stop();

    // Never reuse the name of an existing recording: it would be emptied.
    QDateTime startTime = QDateTime::currentDateTime();
    QString name = startTime.toString("yyyyMMddhhmmss");
    while (QFileInfo::exists(pathForName(name))) {
        startTime = startTime.addSecs(1);
        name = startTime.toString("yyyyMMddhhmmss");
    }
    if (soundName)
        *soundName = name;
    const QString path = pathForName(name);

    recordFile.setRecordTarget(path, recordFormat);
    if (!recordFile.openForRecording()) {
        if (!recordFormat.isValid()) {
            // No input device had a format to offer when the recorder was made.
            qDebug().noquote() << "[startRecordingSound] there is no audio input device; nothing can be recorded";
        } else if (!WavPcmFile::isStorable(recordFormat)) {
            qDebug().noquote() << QStringLiteral("[startRecordingSound] the input device's format (%1 Hz, %2 channels, "
                                                 "%3 bits, sample type %4) cannot be recorded")
                                      .arg(recordFormat.sampleRate())
                                      .arg(recordFormat.channelCount())
                                      .arg(recordFormat.sampleSize())
                                      .arg(int(recordFormat.sampleType()));
        } else {
            qDebug().noquote() << QStringLiteral("[startRecordingSound] cannot open %1: %2")
                                      .arg(path, recordFile.errorString());
        }
        return false;
    }

    audioInput->start(&recordFile);
    if (audioInput->state() == QAudio::StoppedState || audioInput->error() != QAudio::NoError) {
        // No input device, or one that cannot record: nothing would arrive, and
        // an empty file must not pass for the child's answer.
        qDebug().noquote() << QStringLiteral("[startRecordingSound] the input device cannot record (error %1); "
                                             "%2 removed")
                                  .arg(int(audioInput->error()))
                                  .arg(path);
        audioInput->stop();
        recordFile.close();
        recordFile.remove();
        return false;
    }

    recording = true;
    recordName = name;
    recordClock.start();
    recordTimer.start();
    return true;
}

void VoiceRecorder::stop()
{
    if (!recording)
        return;
    recordTimer.stop();
    audioInput->stop();
    const bool silent = recordClock.elapsed() >= SilentRecordingMinimumMs && recordFile.holdsOnlyEqualSamples();
    recordFile.close();
    recording = false;
    emit recordingEnded(recordName, silent);
}
