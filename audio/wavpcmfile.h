#ifndef WAVPCMFILE_H
#define WAVPCMFILE_H

#include <QAudioFormat>
#include <QByteArray>
#include <QFile>
#include <QString>

// A WAV file being recorded: a canonical 44-byte RIFF/WAVE header followed by
// the samples as the input device delivers them. The header is written with
// both sizes 0 when the file is opened; close() patches them from the final
// file size, so a file is complete once it has been closed.
class WavPcmFile : public QFile
{
    Q_OBJECT

public:
    static constexpr qint64 HeaderSize = 44;

    explicit WavPcmFile(QObject *parent = nullptr);
    // Finalises a file still open for recording.
    ~WavPcmFile() override;

    // Sets the file name and the format of the samples it will receive. A file
    // still open is finalised and closed first.
    void setRecordTarget(const QString &fileName, const QAudioFormat &format);
    QAudioFormat sampleFormat() const { return format; }

    // Whether samples of this format can be stored: 8-bit unsigned, or more
    // than 8 bits signed little-endian.
    static bool isStorable(const QAudioFormat &format);

    // Checks the format, opens the file write-only and truncated, and writes
    // the header. Returns false, leaving the file untouched, when the format
    // cannot be stored; false when the file cannot be opened or the header
    // cannot be written.
    bool openForRecording();

    // Writes the 44 header bytes at the current position (the start of the
    // file), both sizes 0. Returns whether all 44 bytes were written.
    bool writeHeader();

    // Patches the RIFF size (file size - 8, offset 4) and the data size (file
    // size - 44, offset 40), then closes.
    void close() override;

    // Whether the samples written since the file was opened for recording are
    // digital silence: none at all, or every frame equal to the first.
    bool holdsOnlyEqualSamples() const { return !samplesDiffer; }

protected:
    qint64 writeData(const char *data, qint64 length) override;

private:
    QAudioFormat format;
    // Watching the samples as they are written, from the end of the header
    // until close() patches it.
    bool watching = false;
    bool samplesDiffer = false;
    QByteArray firstFrame;
    qint64 samplesWritten = 0;
};

#endif // WAVPCMFILE_H
