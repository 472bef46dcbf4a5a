#include "audiofixture.h"
#include "soundplayer.h"
#include "testworkspace.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>
#include <memory>

class TestSoundPlayer : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWorkspace> workspace;

private slots:
    void initTestCase()
    {
        workspace = std::make_unique<TestWorkspace>(false);
        QDir().mkpath("sounds");
        QDir().mkpath("a-directory.wav");
        const QList<QPair<QString, int>> prompts{{"long", 1000}, {"half", 500}, {"tenth", 100}, {"header-only", 0}};
        for (const auto &prompt : prompts)
            QVERIFY(AudioFixture::writePrompt("sounds/" + prompt.first + ".wav", prompt.second));
    }

    // The caller first finishes what it was doing, then hears of the end, exactly once.
    void unplayablePromptEndsOnceLater_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << "sounds/missing.wav" << "cannot open sounds/missing.wav";
        QTest::newRow("header only") << "sounds/header-only.wav" << "holds no sound";
        QTest::newRow("a directory") << "a-directory.wav" << "cannot open a-directory.wav";
        QTest::newRow("no output device") << "sounds/half.wav" << "Raw audio format not supported by backend";
    }

    void unplayablePromptEndsOnceLater()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        if (path == "sounds/half.wav")
            AUDIO_SERVER_ABSENCE_REQUIRED();
        SoundPlayer player;
        QSignalSpy ended(&player, &SoundPlayer::soundHasFinished);
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QRegularExpression::escape(reason)));
        player.play(path);
        QCOMPARE(ended.count(), 0);
        QVERIFY(!player.isPlaying());
        QTRY_COMPARE(ended.count(), 1);
        QTest::qWait(200);
        QCOMPARE(ended.count(), 1);
    }

    // Played by the device to its end, not ended by the player's last-resort watchdog
    // unless the output stalls; a new prompt cuts off the one before, whose end is
    // then never reported.
    void playsToItsEnd_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("milliseconds"); // the least it takes
        QTest::addColumn<int>("busyMs");       // the program held up this long, 0.1 s after play()
        QTest::newRow("0.1 s") << "" << "sounds/tenth.wav" << 100 << 0;
        QTest::newRow("after a prompt still playing") << "sounds/long.wav" << "sounds/half.wav" << 500 << 0;
        QTest::newRow("after an unplayable prompt, its end not yet reported")
            << "sounds/missing.wav" << "sounds/half.wav" << 500 << 0;
        // A suspended speaker takes the samples but never plays them: the output never reports the end.
        QTest::newRow("stalled output, 0.3 s margin") << "" << "sounds/tenth.wav" << 410 << 0;
        // Held up for longer than the output's buffer: the prompt runs dry, is
        // counted, and goes on to its end when the program feeds it again.
        QTest::newRow("runs dry") << "" << "sounds/long.wav" << 1000 << 2 * SoundPlayer::BufferMs;
        // What is left after running dry is less than the output's buffer.
        QTest::newRow("runs dry near its end") << "" << "sounds/half.wav" << 500 << 2 * SoundPlayer::BufferMs;
    }

    void playsToItsEnd()
    {
        AUDIO_SERVER_REQUIRED();
        QFETCH(QString, before);
        QFETCH(QString, path);
        QFETCH(int, milliseconds);
        QFETCH(int, busyMs);
        const bool stalled = QByteArray(QTest::currentDataTag()).startsWith("stalled");
        REQUIRE_ENVIRONMENT(!stalled || !QStandardPaths::findExecutable("pactl").isEmpty(),
                            "pactl (package pulseaudio-utils), to stall the speaker");
        QVERIFY(!stalled || AudioFixture::run("pactl", {"suspend-sink", "@DEFAULT_SINK@", "1"}));
        auto resume = qScopeGuard([=] {
            if (stalled)
                AudioFixture::run("pactl", {"suspend-sink", "@DEFAULT_SINK@", "0"});
        });
        SoundPlayer player;
        QSignalSpy ended(&player, &SoundPlayer::soundHasFinished);
        if (stalled) {
            player.setEndMargin(300);
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("sounds/tenth.wav did not report its end 300 ms after"));
        }
        if (!before.isEmpty()) {
            player.play(before);
            if (QFile::exists(before))
                QTest::qWait(50);
            QCOMPARE(player.isPlaying(), QFile::exists(before));
        }
        QElapsedTimer clock;
        clock.start();
        player.play(path);
        if (busyMs > 0) {
            QTest::qWait(100);
            QThread::msleep(busyMs);
        }
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 6000);
        QVERIFY2(clock.elapsed() >= milliseconds - 20 && clock.elapsed() < SoundPlayer::DefaultEndMarginMs / 2,
                 qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!player.isPlaying());
        if (busyMs > 0)
            QVERIFY(player.underruns() >= 1);
        QTest::qWait(qMax(200, 1100 - int(clock.elapsed()))); // past the end the first prompt would have had
        QCOMPARE(ended.count(), 1);
    }

    void stopEndsWithoutSignal()
    {
        // The pending end of an unplayable prompt, and a prompt playing.
        for (const QString path : {"sounds/missing.wav", "sounds/half.wav"}) {
            if (QFile::exists(path))
                AUDIO_SERVER_REQUIRED();
            SoundPlayer player;
            QSignalSpy ended(&player, &SoundPlayer::soundHasFinished);
            player.play(path);
            player.stop();
            QVERIFY(!player.isPlaying());
            player.stop();
            QTest::qWait(600);
            QCOMPARE(ended.count(), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestSoundPlayer)
#include "tst_soundplayer.moc"
