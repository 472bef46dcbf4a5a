#include "audiofixture.h"
#include "wavpcmfile.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestWavPcmFile : public QObject
{
    Q_OBJECT

private slots:
    void headerAfterRecording_data();
    void headerAfterRecording();
    void refusedFormatLeavesFileAlone_data();
    void refusedFormatLeavesFileAlone();
    void destroyedWhileOpenIsCompleted();

private:
    static QAudioFormat format(int rate, int channels, int bits, QAudioFormat::SampleType type,
                               QAudioFormat::Endian order = QAudioFormat::LittleEndian);
    QTemporaryDir dir;
};

QAudioFormat TestWavPcmFile::format(int rate, int channels, int bits, QAudioFormat::SampleType type,
                                    QAudioFormat::Endian order)
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

void TestWavPcmFile::headerAfterRecording_data()
{
    QTest::addColumn<QAudioFormat>("audioFormat");
    QTest::addColumn<int>("dataBytes");
    QTest::addColumn<int>("byteRate");
    QTest::addColumn<int>("blockAlign");

    QTest::newRow("two seconds, 8 kHz unsigned 8-bit") << format(8000, 1, 8, QAudioFormat::UnSignedInt) << 16000 << 8000 << 1;
    QTest::newRow("nearest format 16-bit signed") << format(8000, 1, 16, QAudioFormat::SignedInt) << 32000 << 16000 << 2;
    QTest::newRow("stereo 44.1 kHz 16-bit") << format(44100, 2, 16, QAudioFormat::SignedInt) << 4000 << 176400 << 4;
    QTest::newRow("nothing recorded") << format(8000, 1, 8, QAudioFormat::UnSignedInt) << 0 << 8000 << 1;
}

void TestWavPcmFile::headerAfterRecording()
{
    QFETCH(QAudioFormat, audioFormat);
    QFETCH(int, dataBytes);
    QFETCH(int, byteRate);
    QFETCH(int, blockAlign);
    const QString path = dir.filePath("rec.wav");
    {
        QFile old(path); // a longer file of the same name is emptied
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(100000, 'x')) == 100000);
    }

    WavPcmFile file;
    file.setRecordTarget(path, audioFormat);
    QVERIFY(file.openForRecording());
    for (int written = 0; written < dataBytes; written += 500) // as an input device delivers them
        QCOMPARE(file.write(QByteArray(qMin(500, dataBytes - written), char(0x80))), qint64(qMin(500, dataBytes - written)));
    file.flush();
    QCOMPARE(AudioFixture::valueAt(path, 4), 0);
    QCOMPARE(AudioFixture::valueAt(path, 40), 0);
    file.close();

    QFile result(path);
    QVERIFY(result.open(QIODevice::ReadOnly));
    const QByteArray header = result.read(44);
    QCOMPARE(result.size(), qint64(dataBytes + 44));
    QCOMPARE(header.mid(0, 4), QByteArray("RIFF"));
    QCOMPARE(header.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(header.mid(36, 4), QByteArray("data"));
    QCOMPARE(AudioFixture::valueAt(path, 4), dataBytes + 36);
    QCOMPARE(AudioFixture::valueAt(path, 16), 16);
    QCOMPARE(AudioFixture::valueAt(path, 20, 2), 1);
    QCOMPARE(AudioFixture::valueAt(path, 22, 2), audioFormat.channelCount());
    QCOMPARE(AudioFixture::valueAt(path, 24), audioFormat.sampleRate());
    QCOMPARE(AudioFixture::valueAt(path, 28), byteRate);
    QCOMPARE(AudioFixture::valueAt(path, 32, 2), blockAlign);
    QCOMPARE(AudioFixture::valueAt(path, 34, 2), audioFormat.sampleSize());
    QCOMPARE(AudioFixture::valueAt(path, 40), dataBytes);

    if (QStandardPaths::findExecutable("soxi").isEmpty())
        QSKIP("soxi (package sox) is not installed; the header was checked byte by byte");
    const QStringList options = {"-r", "-c", "-b", "-s"};
    const QList<int> expected = {audioFormat.sampleRate(), audioFormat.channelCount(), audioFormat.sampleSize(),
                                 dataBytes / blockAlign};
    for (int i = 0; i < options.size(); ++i) {
        QString shown;
        QVERIFY2(AudioFixture::run("soxi", {options[i], path}, &shown), qPrintable(options[i]));
        QCOMPARE(shown, QString::number(expected[i]));
    }
}

void TestWavPcmFile::refusedFormatLeavesFileAlone_data()
{
    QTest::addColumn<QAudioFormat>("audioFormat");
    QTest::newRow("8-bit signed") << format(8000, 1, 8, QAudioFormat::SignedInt);
    QTest::newRow("16-bit unsigned") << format(8000, 1, 16, QAudioFormat::UnSignedInt);
    QTest::newRow("16-bit big-endian") << format(8000, 1, 16, QAudioFormat::SignedInt, QAudioFormat::BigEndian);
    QTest::newRow("32-bit float") << format(8000, 1, 32, QAudioFormat::Float);
    QTest::newRow("no format (no device)") << QAudioFormat();
}

void TestWavPcmFile::refusedFormatLeavesFileAlone()
{
    QFETCH(QAudioFormat, audioFormat);
    const QString path = dir.filePath("earlier.wav");
    {
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly | QIODevice::Truncate) && earlier.write("earlier answer") == 14);
    }
    WavPcmFile file;
    file.setRecordTarget(path, audioFormat);
    QVERIFY(!file.openForRecording());
    QVERIFY(!file.isOpen());
    QFile earlier(path);
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("earlier answer"));
}

void TestWavPcmFile::destroyedWhileOpenIsCompleted()
{
    const QString path = dir.filePath("cut.wav");
    {
        WavPcmFile file;
        file.setRecordTarget(path, format(8000, 1, 8, QAudioFormat::UnSignedInt));
        QVERIFY(file.openForRecording());
        QCOMPARE(file.write(QByteArray(300, char(0x80))), qint64(300));
    }
    QCOMPARE(QFileInfo(path).size(), qint64(344));
    QCOMPARE(AudioFixture::valueAt(path, 4), 336);
    QCOMPARE(AudioFixture::valueAt(path, 40), 300);
}

QTEST_GUILESS_MAIN(TestWavPcmFile)
#include "tst_wavpcmfile.moc"
