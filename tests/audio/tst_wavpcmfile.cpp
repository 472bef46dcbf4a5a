#include "audiofixture.h"
#include "wavpcmfile.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {
QAudioFormat format(int rate, int channels, int bits, QAudioFormat::SampleType type,
                    QAudioFormat::Endian order = QAudioFormat::LittleEndian)
{
    QAudioFormat f;
    f.setSampleRate(rate);
    f.setChannelCount(channels);
    f.setSampleSize(bits);
    f.setCodec("audio/pcm");
    f.setSampleType(type);
    f.setByteOrder(order);
    return f;
}
}

class TestWavPcmFile : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void recording_data()
    {
        QTest::addColumn<QAudioFormat>("audioFormat");
        QTest::addColumn<int>("dataBytes"); // -1: a format that cannot be stored
        QTest::addColumn<int>("byteRate");
        QTest::addColumn<int>("blockAlign");

        const QAudioFormat byte = format(8000, 1, 8, QAudioFormat::UnSignedInt);
        const QAudioFormat word = format(8000, 1, 16, QAudioFormat::SignedInt);
        QTest::newRow("two seconds, 8 kHz unsigned 8-bit") << byte << 16000 << 8000 << 1;
        QTest::newRow("nearest format 16-bit signed") << word << 32000 << 16000 << 2;
        QTest::newRow("stereo 44.1 kHz 16-bit") << format(44100, 2, 16, QAudioFormat::SignedInt) << 4000 << 176400 << 4;
        QTest::newRow("nothing recorded") << byte << 0 << 8000 << 1;
        QTest::newRow("destroyed while open") << byte << 300 << 8000 << 1;
        QTest::newRow("8-bit signed") << format(8000, 1, 8, QAudioFormat::SignedInt) << -1 << 0 << 0;
        QTest::newRow("16-bit unsigned") << format(8000, 1, 16, QAudioFormat::UnSignedInt) << -1 << 0 << 0;
        QTest::newRow("16-bit big-endian") << format(8000, 1, 16, QAudioFormat::SignedInt, QAudioFormat::BigEndian)
                                           << -1 << 0 << 0;
        QTest::newRow("32-bit float") << format(8000, 1, 32, QAudioFormat::Float) << -1 << 0 << 0;
        QTest::newRow("no format (no device)") << QAudioFormat() << -1 << 0 << 0;
    }

    void recording()
    {
        QFETCH(QAudioFormat, audioFormat);
        QFETCH(int, dataBytes);
        QFETCH(int, byteRate);
        QFETCH(int, blockAlign);
        const QString path = dir.filePath("rec.wav");
        QFile old(path); // a longer earlier file: emptied, or left alone when the format is refused
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(100000, 'x')) == 100000);
        old.close();

        auto file = std::make_unique<WavPcmFile>();
        file->setRecordTarget(path, audioFormat);
        QCOMPARE(file->openForRecording(), dataBytes >= 0);
        QCOMPARE(file->isOpen(), dataBytes >= 0);
        if (dataBytes < 0) {
            QCOMPARE(AudioFixture::contents(path), QByteArray(100000, 'x'));
            return;
        }
        for (int written = 0; written < dataBytes; written += 500) { // as an input device delivers them
            const int n = qMin(500, dataBytes - written);
            QCOMPARE(file->write(QByteArray(n, char(0x80))), qint64(n));
        }
        file->flush();
        // The header is in place while recording, both its sizes 0.
        const QByteArray recording = AudioFixture::contents(path);
        QCOMPARE(recording.size(), 44 + dataBytes);
        QCOMPARE(recording.mid(4, 4) + recording.mid(40, 4), QByteArray(8, '\0'));
        if (QByteArray(QTest::currentDataTag()) == "destroyed while open")
            file.reset();
        else
            file->close();

        const auto le = &AudioFixture::le;
        const QByteArray header = "RIFF" + le(dataBytes + 36, 4) + "WAVEfmt " + le(16, 4) + le(1, 2)
            + le(audioFormat.channelCount(), 2) + le(audioFormat.sampleRate(), 4) + le(byteRate, 4)
            + le(blockAlign, 2) + le(audioFormat.sampleSize(), 2) + "data" + le(dataBytes, 4);
        QCOMPARE(AudioFixture::contents(path), header + QByteArray(dataBytes, char(0x80)));
    }
};

QTEST_GUILESS_MAIN(TestWavPcmFile)
#include "tst_wavpcmfile.moc"
