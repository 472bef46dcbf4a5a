#include "audiofixture.h"
#include "testworkspace.h"
#include "voicerecorder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>
#include <memory>

class TestVoiceRecorder : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWorkspace> workspace;

private slots:
    void initTestCase()
    {
        workspace = std::make_unique<TestWorkspace>(false);
        QVERIFY(QDir().mkpath("grabaciones"));
    }

    void recordsTheMicrophone()
    {
        AUDIO_SERVER_REQUIRED();
        for (const char *tool : {"espeak-ng", "paplay"})
            REQUIRE_ENVIRONMENT(!QStandardPaths::findExecutable(tool).isEmpty(),
                                QByteArray(tool) + ", to speak into the microphone");
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

        const QByteArray wav = AudioFixture::contents(path);
        QVERIFY(AudioFixture::isComplete(path));
        QVERIFY2(qAbs(wav.size() - 44 - expectedBytes) <= expectedBytes / 10,
                 qPrintable(QString("%1 bytes recorded, %2 expected").arg(wav.size() - 44).arg(expectedBytes)));
        // The child's speech, not silence (0x80).
        const QByteArray samples = wav.mid(44);
        const auto voiced = std::count_if(samples.cbegin(), samples.cend(),
                                          [](char s) { return qAbs(int(quint8(s)) - 0x80) > 8; });
        QVERIFY2(voiced > samples.size() / 10, qPrintable(QString("%1 of %2 samples away from silence")
                                                              .arg(voiced).arg(samples.size())));
    }

    void recordingsWithinOneSecondKeepApart()
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
            QVERIFY2(AudioFixture::isComplete(VoiceRecorder::pathForName(name)), qPrintable(name));
        }
    }

    void capEndsOnlyItsOwnRecording()
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
        QVERIFY(AudioFixture::isComplete(VoiceRecorder::pathForName(second)));
        QVERIFY(QFileInfo(VoiceRecorder::pathForName(second)).size() > 44 + 8000 * 6 / 10);
    }

    // A recording of nothing but digital silence is told apart from one of
    // sound; either file is kept as it is.
    void silence_data()
    {
        QTest::addColumn<QString>("microphone"); // what the audio server's microphone delivers
        QTest::addColumn<int>("ms");
        QTest::addColumn<bool>("silent");
        QTest::newRow("tone") << "sine" << 1300 << false;
        QTest::newRow("low noise") << "whitenoise" << 1300 << false;
        QTest::newRow("muted microphone") << "muted" << 1300 << true;
        QTest::newRow("silence shorter than a second") << "muted" << 500 << false;
    }

    void silence()
    {
        QFETCH(QString, microphone);
        QFETCH(int, ms);
        QFETCH(bool, silent);
        AUDIO_SERVER_REQUIRED();
        AudioFixture::MicrophoneState state;
        QVERIFY(state.set(microphone, workspace->filePath(microphone + ".wav"), 3000));
        if (microphone != "muted")
            QTest::qWait(300); // the fed sound reaches the microphone
        VoiceRecorder recorder;
        QSignalSpy ended(&recorder, &VoiceRecorder::recordingEnded);
        QString name;
        QVERIFY(recorder.start(&name));
        QTest::qWait(ms);
        recorder.stop();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ended.first(), (QList<QVariant>{name, silent}));
        QVERIFY(AudioFixture::isComplete(VoiceRecorder::pathForName(name)));
    }

    // Nothing starts, and no empty file passes for an answer.
    void refusedStart_data()
    {
        QTest::addColumn<bool>("device");
        QTest::addColumn<QString>("message");
        QTest::newRow("no directory") << true << "^\\[startRecordingSound\\] cannot open ";
        QTest::newRow("no input device")
            << false << "^\\[startRecordingSound\\] there is no audio input device; nothing can be recorded$";
    }

    void refusedStart()
    {
        QFETCH(bool, device);
        QFETCH(QString, message);
        if (device)
            AUDIO_SERVER_REQUIRED();
        else
            AUDIO_SERVER_ABSENCE_REQUIRED();
        TestWorkspace elsewhere(false);
        if (!device)
            QVERIFY(QDir().mkpath("grabaciones"));
        VoiceRecorder recorder;
        QString name;
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(message));
        QVERIFY(!recorder.start(&name));
        QVERIFY(!recorder.isRecording());
        recorder.stop();
        QCOMPARE(QDir("grabaciones").entryList(QDir::Files), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestVoiceRecorder)
#include "tst_voicerecorder.moc"
