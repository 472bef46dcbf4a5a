#include "audiofixture.h"
#include "batterydriver.h"
#include "gamefp2a.h"
#include "voicerecorder.h"

// Text reading: the story is shown, recorded and timed from the test button to
// the next button, and logged once.
class TestGameFP2A : public QObject
{
    Q_OBJECT

private slots:
    void completeRun_data()
    {
        QTest::addColumn<int>("capMs"); // the longest a recording runs
        QTest::newRow("five minutes") << VoiceRecorder::DefaultCapMs;
        // The recorder has stopped by itself before the examiner ends the reading.
        QTest::newRow("recording capped") << 200;
    }

    void completeRun()
    {
        QFETCH(int, capMs);
        AUDIO_SERVER_REQUIRED();
        ENTER_TEST(GameFP2A, "FP2A", 1);
        KIT_REQUIRED(app);
        app.window()->voiceRecorder()->setRecordingCap(capMs);
        QVERIFY(!game->getExampleButton()->isVisible() && !game->getStory()->isVisible());
        AppFixture::click(game->getNextButton()); // cannot end a reading that has not begun
        QVERIFY(app.rowsOf("FP2A").isEmpty());
        AppFixture::click(game->getTestButton());
        QVERIFY(game->getStory()->isVisible() && app.window()->voiceRecorder()->isRecording());
        QTest::qWait(400);
        QCOMPARE(app.window()->voiceRecorder()->isRecording(), capMs > 400);
        AppFixture::click(game->getNextButton());
        AppFixture::click(game->getNextButton());
        AppFixture::click(game->getTestButton());
        QVERIFY(game->isFinished() && !app.window()->voiceRecorder()->isRecording());
        QVERIFY(!game->getExampleButton()->isVisible());
        const Rows rows = keyValues(app, "FP2A");
        QCOMPARE(rows, pairs({"TIME", "FILE"}, {rows.value(0).value(1), rows.value(1).value(1)}));
        bool isNumber = false;
        const int time = rows.at(0).at(1).toInt(&isNumber);
        QVERIFY2(isNumber && time >= 400 && time < 3000, qPrintable(rows.at(0).at(1)));
        QCOMPARE(recordingProblems(app, {rows.at(1).at(1)}), QString());
    }
};

QTEST_MAIN(TestGameFP2A)
#include "tst_gamefp2a.moc"
