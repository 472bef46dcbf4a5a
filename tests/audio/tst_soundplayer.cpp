#include "audiofixture.h"
#include "soundplayer.h"
#include "testworkspace.h"

#include <QAudioOutput>
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

private slots:
    void initTestCase();
    void newPromptCutsOffTheOld_data();
    void newPromptCutsOffTheOld();
    void unplayablePromptEndsOnceLater_data();
    void unplayablePromptEndsOnceLater();
    void shortPromptPlaysToItsEnd_data();
    void shortPromptPlaysToItsEnd();
    void stopEndsWithoutSignal_data();
    void stopEndsWithoutSignal();
    void withoutOutputDeviceEndsOnceLater();
    void stalledOutputIsEndedAfterItsDuration();

private:
    void expectPlayLine(const QString &path, bool playing);

    std::unique_ptr<TestWorkspace> workspace;
};

void TestSoundPlayer::initTestCase()
{
    workspace = std::make_unique<TestWorkspace>(false);
    QDir().mkpath("sounds");
    QDir().mkpath("a-directory.wav");
    QVERIFY(AudioFixture::writePrompt("sounds/long.wav", 1000));
    QVERIFY(AudioFixture::writePrompt("sounds/half.wav", 500));
    QVERIFY(AudioFixture::writePrompt("sounds/tenth.wav", 100));
    QVERIFY(AudioFixture::writePrompt("sounds/twentieth.wav", 50));
    QVERIFY(AudioFixture::writePrompt("sounds/header-only.wav", 0));
}

void TestSoundPlayer::expectPlayLine(const QString &path, bool playing)
{
    QTest::ignoreMessage(QtDebugMsg, qPrintable("MainWindow:playSound audioOutput is "
                                                + QString(playing ? "NOT NULL" : "NULL") + " for soundPath " + path));
}

void TestSoundPlayer::newPromptCutsOffTheOld_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<int>("playedMs");
    QTest::addColumn<bool>("stillPlaying");
    QTest::newRow("a prompt still playing") << "sounds/long.wav" << 50 << true;
    QTest::newRow("a prompt that cannot be played, end not yet reported") << "sounds/missing.wav" << 0 << false;
}

void TestSoundPlayer::newPromptCutsOffTheOld()
{
    AUDIO_SERVER_REQUIRED();
    QFETCH(QString, first);
    QFETCH(int, playedMs);
    QFETCH(bool, stillPlaying);
    SoundPlayer player;
    QSignalSpy ended(&player, &SoundPlayer::soundHasFinished);

    expectPlayLine(first, false);
    player.play(first);
    if (playedMs > 0)
        QTest::qWait(playedMs);
    expectPlayLine("sounds/half.wav", stillPlaying);
    QElapsedTimer clock;
    clock.start();
    player.play("sounds/half.wav");

    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 5000);
    QVERIFY2(clock.elapsed() >= 480, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!player.isPlaying());
    QTest::qWait(qMax(100, 1100 - int(clock.elapsed()))); // past the end the first prompt would have had
    QCOMPARE(ended.count(), 1);
}

void TestSoundPlayer::unplayablePromptEndsOnceLater_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing file") << "sounds/missing.wav" << "cannot open sounds/missing.wav";
    QTest::newRow("header only") << "sounds/header-only.wav" << "holds no sound";
    QTest::newRow("a directory") << "a-directory.wav" << "cannot open a-directory.wav";
}

void TestSoundPlayer::unplayablePromptEndsOnceLater()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    SoundPlayer player;
    QSignalSpy ended(&player, &SoundPlayer::soundHasFinished);

    expectPlayLine(path, false);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QRegularExpression::escape(reason)));
    player.play(path);
    QCOMPARE(ended.count(), 0); // the caller first finishes what it was doing
    QVERIFY(!player.isPlaying());
    QTRY_COMPARE(ended.count(), 1);
    QTest::qWait(200);
    QCOMPARE(ended.count(), 1);
}

void TestSoundPlayer::shortPromptPlaysToItsEnd_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("milliseconds");
    QTest::newRow("0.1 s") << "sounds/tenth.wav" << 100;
    QTest::newRow("0.05 s") << "sounds/twentieth.wav" << 50;
}

void TestSoundPlayer::shortPromptPlaysToItsEnd()
{
    AUDIO_SERVER_REQUIRED();
    QFETCH(QString, path);
    QFETCH(int, milliseconds);
    SoundPlayer player;
    QSignalSpy ended(&player, &SoundPlayer::soundHasFinished);
    QElapsedTimer clock;
    clock.start();
    player.play(path);
    QVERIFY(player.isPlaying());

    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 6000);
    // Played by the device, not ended by the player's last-resort watchdog.
    QVERIFY2(clock.elapsed() >= milliseconds - 20 && clock.elapsed() < SoundPlayer::DefaultEndMarginMs / 2,
             qPrintable(QString::number(clock.elapsed())));
    QTest::qWait(200);
    QCOMPARE(ended.count(), 1);
}

void TestSoundPlayer::stopEndsWithoutSignal_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("a prompt playing") << "sounds/half.wav";
    QTest::newRow("the pending end of an unplayable prompt") << "sounds/missing.wav";
}

void TestSoundPlayer::stopEndsWithoutSignal()
{
    QFETCH(QString, path);
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

void TestSoundPlayer::withoutOutputDeviceEndsOnceLater()
{
    if (!AudioFixture::isChildWithoutAudioServer() && AudioFixture::audioServerAvailable()) {
        QString log;
        const int status = AudioFixture::runWithoutAudioServer("withoutOutputDeviceEndsOnceLater", &log);
        QVERIFY2(status == 0, qPrintable(log));
        return;
    }
    QVERIFY(QAudioDeviceInfo::defaultOutputDevice().isNull());
    SoundPlayer player;
    QSignalSpy ended(&player, &SoundPlayer::soundHasFinished);
    QTest::ignoreMessage(QtDebugMsg, "MainWindow::playSound - Raw audio format not supported by backend, cannot play audio.");
    player.play("sounds/half.wav");
    QCOMPARE(ended.count(), 0);
    QVERIFY(!player.isPlaying());
    QTRY_COMPARE(ended.count(), 1);
    QTest::qWait(100);
    QCOMPARE(ended.count(), 1);
}

void TestSoundPlayer::stalledOutputIsEndedAfterItsDuration()
{
    AUDIO_SERVER_REQUIRED();
    if (QStandardPaths::findExecutable("pactl").isEmpty())
        QSKIP("pactl (package pulseaudio-utils) is needed to stall the speaker");
    // A suspended speaker takes the samples but never plays them: the output
    // never reports the end.
    QVERIFY(AudioFixture::run("pactl", {"suspend-sink", "@DEFAULT_SINK@", "1"}));
    auto resume = qScopeGuard([] { AudioFixture::run("pactl", {"suspend-sink", "@DEFAULT_SINK@", "0"}); });
    SoundPlayer player;
    player.setEndMargin(300);
    QSignalSpy ended(&player, &SoundPlayer::soundHasFinished);
    QElapsedTimer clock;
    clock.start();
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("sounds/tenth.wav did not report its end 300 ms after"));
    player.play("sounds/tenth.wav");
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 5000);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 390, qPrintable(QString::number(elapsed)));
    QVERIFY(!player.isPlaying());
    QTest::qWait(200);
    QCOMPARE(ended.count(), 1);
}

QTEST_GUILESS_MAIN(TestSoundPlayer)
#include "tst_soundplayer.moc"
