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

    // Digital silence (no samples, or every frame equal) told apart from
    // anything else, however the input device cuts its deliveries.
    void equalSamples_data()
    {
        QTest::addColumn<QAudioFormat>("audioFormat");
        QTest::addColumn<QByteArray>("earlier"); // a recording made before with the same file object
        QTest::addColumn<QList<QByteArray>>("deliveries");
        QTest::addColumn<bool>("silent");
        const QAudioFormat byte = format(8000, 1, 8, QAudioFormat::UnSignedInt);
        const QAudioFormat stereo = format(8000, 2, 16, QAudioFormat::SignedInt);
        const QByteArray frame("\x01\x00\xff\xff", 4); // the two channels differ, each constant
        QTest::newRow("nothing delivered") << byte << QByteArray() << QList<QByteArray>{} << true;
        QTest::newRow("8-bit silence") << byte << QByteArray() << QList<QByteArray>{QByteArray(300, '\x80'), QByteArray(7, '\x80')} << true;
        QTest::newRow("one 8-bit sample off, late") << byte << QByteArray()
            << QList<QByteArray>{QByteArray(300, '\x80'), QByteArray(6, '\x80') + '\x81'} << false;
        QTest::newRow("16-bit stereo frames equal, cut mid-frame") << stereo << QByteArray()
            << QList<QByteArray>{frame.repeated(10).left(7), frame.repeated(10).mid(7)} << true;
        QTest::newRow("16-bit low byte moves") << stereo << QByteArray()
            << QList<QByteArray>{frame.repeated(10), QByteArray("\x02\x00\xff\xff", 4)} << false;
        QTest::newRow("after a recording with sound") << byte << QByteArray("\x10\x90", 2)
            << QList<QByteArray>{QByteArray(100, '\x7f')} << true;
    }

    void equalSamples()
    {
        QFETCH(QAudioFormat, audioFormat);
        QFETCH(QByteArray, earlier);
        QFETCH(QList<QByteArray>, deliveries);
        QFETCH(bool, silent);
        WavPcmFile file;
        for (const QList<QByteArray> &recording : {QList<QByteArray>{earlier}, deliveries}) {
            file.setRecordTarget(dir.filePath("equal.wav"), audioFormat);
            QVERIFY(file.openForRecording());
            for (const QByteArray &delivery : recording)
                QCOMPARE(file.write(delivery), qint64(delivery.size()));
            file.close();
        }
        QCOMPARE(file.holdsOnlyEqualSamples(), silent);
    }
};

QTEST_GUILESS_MAIN(TestWavPcmFile)
#include "tst_wavpcmfile.moc"
