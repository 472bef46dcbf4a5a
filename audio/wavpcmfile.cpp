#include "wavpcmfile.h"

#include <QByteArray>
#include <QtEndian>

namespace {
void appendLE32(QByteArray &bytes, quint32 value)
{
    char buffer[4];
    qToLittleEndian<quint32>(value, buffer);
    bytes.append(buffer, 4);
}

void appendLE16(QByteArray &bytes, quint16 value)
{
    char buffer[2];
    qToLittleEndian<quint16>(value, buffer);
    bytes.append(buffer, 2);
}
}

WavPcmFile::WavPcmFile(QObject *parent)
    : QFile(parent)
{
}

WavPcmFile::~WavPcmFile()
{
    // QFile's own destructor would close without patching the sizes.
    close();
}

void WavPcmFile::setRecordTarget(const QString &fileName, const QAudioFormat &format)
{
    if (isOpen())
        close();
    setFileName(fileName);
    this->format = format;
}

bool WavPcmFile::isStorable(const QAudioFormat &format)
{
    if (format.sampleSize() == 8 && format.sampleType() == QAudioFormat::UnSignedInt)
        return true;
    return format.sampleSize() > 8 && format.sampleType() == QAudioFormat::SignedInt
        && format.byteOrder() == QAudioFormat::LittleEndian;
}

bool WavPcmFile::openForRecording()
{
    if (!isStorable(format))
        return false;
    if (!open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (!writeHeader()) {
        QFile::close();
        return false;
    }
    samplesDiffer = false;
    firstFrame.clear();
    samplesWritten = 0;
    watching = true;
    return true;
}

qint64 WavPcmFile::writeData(const char *data, qint64 length)
{
    const qint64 written = QFile::writeData(data, length);
    const int frame = qMax(1, format.bytesPerFrame());
    for (qint64 i = 0; watching && i < written && !samplesDiffer; ++i, ++samplesWritten) {
        if (samplesWritten < frame)
            firstFrame.append(data[i]);
        else
            samplesDiffer = data[i] != firstFrame.at(int(samplesWritten % frame));
    }
    return written;
}

bool WavPcmFile::writeHeader()
{
    const int sampleSize = format.sampleSize();
    const int sampleRate = format.sampleRate();
    const int channels = format.channelCount();

    QByteArray header;
    header.reserve(HeaderSize);
    header.append("RIFF", 4);
    appendLE32(header, 0);
    header.append("WAVE", 4);
    header.append("fmt ", 4);
    appendLE32(header, 16);
    appendLE16(header, 1);
    appendLE16(header, quint16(channels));
    appendLE32(header, quint32(sampleRate));
    appendLE32(header, quint32(qint64(sampleSize) * sampleRate * channels / 8));
    appendLE16(header, quint16(sampleSize * channels / 8));
    appendLE16(header, quint16(sampleSize));
    header.append("data", 4);
    appendLE32(header, 0);

    return write(header) == HeaderSize;
}

void WavPcmFile::close()
{
    watching = false;
    if (isOpen() && (openMode() & QIODevice::WriteOnly)) {
        const qint64 fileSize = size();
        if (fileSize >= HeaderSize) {
            char buffer[4];
            qToLittleEndian<quint32>(quint32(fileSize - 8), buffer);
            if (seek(4))
                write(buffer, 4);
            qToLittleEndian<quint32>(quint32(fileSize - HeaderSize), buffer);
            if (seek(40))
                write(buffer, 4);
        }
    }
    QFile::close();
}
