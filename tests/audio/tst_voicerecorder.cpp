#include "audiofixture.h"
#include "testworkspace.h"
#include "voicerecorder.h"

#include <QAudioDeviceInfo>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>
#include <memory>

class TestVoiceRecorder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void recordsTheMicrophone();
    void recordingsWithinOneSecondKeepApart();
    void capEndsOnlyItsOwnRecording();
    void missingDirectoryIsRefused();
    void withoutInputDeviceNothingStarts();

private:
    // Whether the file's two sizes agree with its length.
    static bool isComplete(const QString &path);

    std::unique_ptr<TestWorkspace> workspace;
};

void TestVoiceRecorder::initTestCase()
{
    workspace = std::make_unique<TestWorkspace>(false);
    QVERIFY(QDir().mkpath("grabaciones"));
}

bool TestVoiceRecorder::isComplete(const QString &path)
{
    const qint64 size = QFileInfo(path).size();
    return size >= 44 && AudioFixture::valueAt(path, 4) == size - 8 && AudioFixture::valueAt(path, 40) == size - 44;
}

void TestVoiceRecorder::recordsTheMicrophone()
{
    AUDIO_SERVER_REQUIRED();
    for (const char *tool : {"espeak-ng", "paplay", "soxi"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            QSKIP(qPrintable(QString("%1 is needed to speak into the microphone").arg(tool)));
    }
    QVERIFY(AudioFixture::run("espeak-ng", {"-v", "es-419", "-w", workspace->filePath("voice.wav"),
                                            "Había una vez una niña que leía cuentos en voz alta todos los días."}));
    VoiceRecorder recorder;
    QCOMPARE(recorder.format(), VoiceRecorder::requestedFormat()); // the server records it exactly

    QProcess speaker;
    speaker.start("paplay", {"-d", "micfeed", workspace->filePath("voice.wav")});
    QVERIFY(speaker.waitForStarted());
    QTest::qWait(300);
    QString name;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(recorder.start(&name));
    QVERIFY(recorder.isRecording());
    QVERIFY2(QRegularExpression("^\\d{14}$").match(name).hasMatch(), qPrintable(name));
    const QString path = QDir::toNativeSeparators(QDir::currentPath() + "/grabaciones/" + name + ".wav");
    QCOMPARE(recorder.filePath(), path);
    QTest::qWait(2000);
    recorder.stop();
    const qint64 expectedBytes = clock.elapsed() * 8; // about 16000 at 8000 one-byte samples a second
    speaker.kill();
    speaker.waitForFinished();

    QVERIFY(!recorder.isRecording());
    const qint64 size = QFileInfo(path).size();
    recorder.stop(); // a second stop changes nothing
    QCOMPARE(QFileInfo(path).size(), size);
    QVERIFY(isComplete(path));
    QVERIFY2(qAbs(size - 44 - expectedBytes) <= expectedBytes / 10,
             qPrintable(QString("%1 bytes recorded, %2 expected").arg(size - 44).arg(expectedBytes)));
    QString shown;
    QVERIFY(AudioFixture::run("soxi", {"-r", path}, &shown));
    QCOMPARE(shown, QString("8000"));
    QVERIFY(AudioFixture::run("soxi", {"-s", path}, &shown));
    QCOMPARE(shown.toLongLong(), size - 44);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray samples = file.readAll().mid(44);
    const int voiced = int(std::count_if(samples.cbegin(), samples.cend(),
                                         [](char s) { return qAbs(int(quint8(s)) - 0x80) > 8; }));
    QVERIFY2(voiced > samples.size() / 10, qPrintable(QString("%1 of %2 samples away from silence")
                                                          .arg(voiced).arg(samples.size())));
}

void TestVoiceRecorder::recordingsWithinOneSecondKeepApart()
{
    AUDIO_SERVER_REQUIRED();
    VoiceRecorder recorder;
    QStringList names;
    for (int i = 0; i < 3; ++i) {
        QString name;
        QVERIFY(recorder.start(&name)); // each start ends the one before
        names << name;
        QTest::qWait(50);
    }
    recorder.stop();
    QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), 3);
    for (const QString &name : names) {
        QVERIFY2(QRegularExpression("^\\d{14}$").match(name).hasMatch(), qPrintable(name));
        QVERIFY2(isComplete(VoiceRecorder::pathForName(name)), qPrintable(name));
    }
}

void TestVoiceRecorder::capEndsOnlyItsOwnRecording()
{
    AUDIO_SERVER_REQUIRED();
    VoiceRecorder recorder;
    QCOMPARE(recorder.recordingCap(), 300000);
    recorder.setRecordingCap(800);
    QString first, second;
    QVERIFY(recorder.start(&first));
    QTest::qWait(100);
    recorder.stop(); // stopped by its test
    QTest::qWait(300);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(recorder.start(&second)); // then forgotten
    QTest::qWait(600); // past the moment the first one's cap would have ended it
    QVERIFY(recorder.isRecording());
    QTRY_VERIFY_WITH_TIMEOUT(!recorder.isRecording(), 3000);
    QVERIFY2(clock.elapsed() >= 790, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(isComplete(VoiceRecorder::pathForName(second)));
    QVERIFY(QFileInfo(VoiceRecorder::pathForName(second)).size() > 44 + 8000 * 6 / 10);
}

void TestVoiceRecorder::missingDirectoryIsRefused()
{
    AUDIO_SERVER_REQUIRED();
    TestWorkspace elsewhere(false); // no "grabaciones" here
    VoiceRecorder recorder;
    QString name;
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^\\[startRecordingSound\\] cannot open "));
    QVERIFY(!recorder.start(&name));
    QVERIFY(!recorder.isRecording());
    recorder.stop();
}

void TestVoiceRecorder::withoutInputDeviceNothingStarts()
{
    if (!AudioFixture::isChildWithoutAudioServer() && AudioFixture::audioServerAvailable()) {
        QString log;
        const int status = AudioFixture::runWithoutAudioServer("withoutInputDeviceNothingStarts", &log);
        QVERIFY2(status == 0, qPrintable(log));
        return;
    }
    QVERIFY(QAudioDeviceInfo::defaultInputDevice().isNull());
    TestWorkspace elsewhere(false);
    QVERIFY(QDir().mkpath("grabaciones"));
    VoiceRecorder recorder;
    QString name;
    QTest::ignoreMessage(QtDebugMsg, "[startRecordingSound] there is no audio input device; nothing can be recorded");
    QVERIFY(!recorder.start(&name));
    QVERIFY(!recorder.isRecording());
    QCOMPARE(QDir("grabaciones").entryList(QDir::Files), QStringList()); // no empty file passes for an answer
}

QTEST_GUILESS_MAIN(TestVoiceRecorder)
#include "tst_voicerecorder.moc"
