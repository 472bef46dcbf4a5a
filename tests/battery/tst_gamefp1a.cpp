#include "audiofixture.h"
#include "batterydriver.h"
#include "gamefp1a.h"
#include "voicerecorder.h"

#include <QLabel>

// Word and pseudo-word reading in the real main window: the example, then
// eight words each recorded on its own and logged with its recording,
// whatever the examiner does with the next button meanwhile.
class TestGameFP1A : public QObject
{
    Q_OBJECT

private slots:
    void completeRun_data()
    {
        QTest::addColumn<int>("extraClicks");
        QTest::newRow("one click per word") << 0;
        // Clicks repeated on the word, during every pause and after the last word.
        QTest::newRow("impatient examiner") << 3;
    }

    void completeRun()
    {
        QFETCH(int, extraClicks);
        AUDIO_SERVER_REQUIRED();
        ENTER_TEST(GameFP1A, "FP1A", 2);
        KIT_REQUIRED(app);
        QSignalSpy stops(game, &GameWindow::requestStopRecordingSound);
        VoiceRecorder *recorder = app.window()->voiceRecorder();
        QLabel *word = game->getWordLabel();
        auto clickNext = [&](int times) {
            for (int i = 0; i < times; ++i)
                AppFixture::click(game->getNextButton());
        };
        QCOMPARE(word->text(), QString("popa"));
        QVERIFY(word->isVisible() && game->getSpeechBubble()->isVisible() && !recorder->isRecording());
        // The bubble right of the martian, the word's centre on the bubble's writing place.
        QCOMPARE(game->getSpeechBubble()->pos(), game->getMartian()->pos() + QPoint(game->getMartian()->width(), 0));
        QVERIFY((word->geometry().center() - game->getSpeechBubble()->pos() - QPoint(140, 50)).manhattanLength() <= 8);
        AppFixture::click(game->getTestButton());
        QVERIFY(!word->isVisible() && !game->getNextButton()->isActive());
        clickNext(extraClicks);
        const QStringList words = {"cire", "ontil", "fopasa", "istana", "palo", "arbol", "camisa", "espejo"};
        for (const QString &expected : words) {
            QTRY_VERIFY_WITH_TIMEOUT(word->isVisible(), 3000);
            QCOMPARE(word->text(), expected);
            QVERIFY(game->getSpeechBubble()->isVisible() && game->getNextButton()->isActive());
            QVERIFY(recorder->isRecording());
            QTest::qWait(120);
            clickNext(1 + extraClicks);
            QVERIFY(!word->isVisible() && !game->getNextButton()->isActive());
            QTest::qWait(200);
            clickNext(extraClicks);
        }
        QTRY_VERIFY_WITH_TIMEOUT(game->isFinished(), 3000);
        clickNext(extraClicks);
        QVERIFY(!recorder->isRecording());
        QCOMPARE(stops.count(), words.size());
        const Rows rows = keyValues(app, "FP1A");
        Rows expected;
        QStringList files;
        for (int i = 0; i < words.size(); ++i) {
            files << rows.value(2 * i + 1).value(1);
            expected << QStringList{"WORD", words.at(i)} << QStringList{"FILE", files.last()};
        }
        QCOMPARE(rows, expected);
        QCOMPARE(recordingProblems(app, files), QString());
    }
};

QTEST_MAIN(TestGameFP1A)
#include "tst_gamefp1a.moc"
