#ifndef VOICERECORDER_H
#define VOICERECORDER_H

#include "wavpcmfile.h"

#include <QAudioFormat>
#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

class QAudioInput;

// Records the child's voice from the default input device into WAV files in
// the directory "grabaciones" of the working directory, one recording at a
// time, none longer than the cap (five minutes).
//
// A recording is named after the local date and time at which it starts,
// "yyyyMMddhhmmss"; when a file of that name already exists (two recordings
// within one second) the next free second is taken, so no recording ever
// replaces another.
class VoiceRecorder : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultCapMs = 300000;
    // A recording at least this long that holds only digital silence (no
    // samples, or only equal ones) was made with a muted or failing microphone:
    // a real one always delivers some noise.
    static constexpr int SilentRecordingMinimumMs = 1000;

    // Chooses the recording format (8000 Hz mono unsigned 8-bit, or the
    // nearest format the default input device supports) and creates the one
    // input used for every recording.
    explicit VoiceRecorder(QObject *parent = nullptr);
    ~VoiceRecorder() override;

    // 8000 Hz, mono, unsigned 8-bit PCM.
    static QAudioFormat requestedFormat();
    // The format every recording uses.
    QAudioFormat format() const { return recordFormat; }

    bool isRecording() const { return recording; }
    // Path of the file being recorded, or of the last one started.
    QString filePath() const { return recordFile.fileName(); }

    // The longest a recording runs before it stops by itself.
    void setRecordingCap(int ms);
    int recordingCap() const { return recordTimer.interval(); }

    // current directory/grabaciones/<name>.wav, in native separators.
    static QString pathForName(const QString &name);
    // Whether a file name is a recording name followed by ".wav".
    static bool isRecordingFileName(const QString &fileName);
    // Removes every file of "grabaciones" whose name has the form of a
    // recording's but is not one of the given recording names, and writes each
    // removal to the debug output. Other files are left alone.
    static void removeRecordingsOtherThan(const QSet<QString> &names);

public slots:
    // Ends a running recording, then starts a new one and writes its name into
    // *soundName. Returns false, with nothing recorded, when the file cannot be
    // opened, its format cannot be stored, or the input device cannot record
    // (none at all, or it fails to start).
    bool start(QString *soundName);
    // Ends the running recording and completes its file; nothing when none runs.
    void stop();

signals:
    // A recording has ended with its file complete; silent when it lasted at
    // least SilentRecordingMinimumMs and holds nothing but digital silence.
    void recordingEnded(const QString &name, bool silent);

private:
    QAudioFormat recordFormat;
    QAudioInput *audioInput;
    WavPcmFile recordFile;
    QTimer recordTimer;
    QElapsedTimer recordClock;
    QString recordName;
    bool recording;
};

#endif // VOICERECORDER_H
