#include "appfixture.h"
#include "audiofixture.h"
#include "batterydriver.h"
#include "clickableimage.h"
#include "gamefp1a.h"
#include "imagelabel.h"
#include "mainwindow.h"
#include "movielabel.h"
#include "recordingfiles.h"
#include "transitionlabel.h"
#include "voicerecorder.h"

#include <QLabel>
#include <QtTest>

// Word and pseudo-word reading in the real main window: the example, then
// eight words each recorded on its own and logged with its recording,
// whatever the examiner does with the next button meanwhile.
class TestGameFP1A : public QObject
{
    Q_OBJECT

private slots:
    void completeRun_data();
    void completeRun();
};

void TestGameFP1A::completeRun_data()
{
    QTest::addColumn<int>("extraClicks");
    QTest::newRow("one click per word") << 0;
    // Clicks repeated on the word, during every pause and after the last word.
    QTest::newRow("impatient examiner") << 3;
}

void TestGameFP1A::completeRun()
{
    QFETCH(int, extraClicks);
    AUDIO_SERVER_REQUIRED();
    AppFixture app;
    auto *game = qobject_cast<GameFP1A *>(app.startAt("FP1A"));
    QVERIFY(game);
    if (!app.workspace().hasKit())
        QSKIP("the stimulus kit has not been generated");
    QSignalSpy stops(game, &GameWindow::requestStopRecordingSound);
    QLabel *word = game->getWordLabel();
    auto clickNext = [&](int times) {
        for (int i = 0; i < times; ++i)
            AppFixture::click(game->getNextButton());
    };

    AppFixture::click(game->getTransitionLabel());
    AppFixture::click(game->getExampleButton());
    QCOMPARE(word->text(), QString("popa"));
    QVERIFY(word->isVisible() && game->getSpeechBubble()->isVisible());
    // The bubble right of the martian, the word's centre on the bubble's writing place.
    QCOMPARE(game->getSpeechBubble()->pos(), game->getMartian()->pos() + QPoint(game->getMartian()->width(), 0));
    QVERIFY((word->geometry().center() - game->getSpeechBubble()->pos() - QPoint(140, 50)).manhattanLength() <= 8);
    QVERIFY(!app.window()->voiceRecorder()->isRecording());

    AppFixture::click(game->getTestButton());
    QVERIFY(!word->isVisible());
    QVERIFY(!game->getNextButton()->isActive());
    clickNext(extraClicks);
    const QStringList words = {"cire", "ontil", "fopasa", "istana", "palo", "arbol", "camisa", "espejo"};
    for (const QString &expected : words) {
        QTRY_VERIFY_WITH_TIMEOUT(word->isVisible(), 3000);
        QCOMPARE(word->text(), expected);
        QVERIFY(game->getSpeechBubble()->isVisible() && game->getNextButton()->isActive());
        QVERIFY(app.window()->voiceRecorder()->isRecording());
        QTest::qWait(120);
        clickNext(1 + extraClicks);
        QVERIFY(!word->isVisible() && !game->getNextButton()->isActive());
        QTest::qWait(200);
        clickNext(extraClicks);
    }
    QTRY_VERIFY_WITH_TIMEOUT(game->isFinished(), 3000);
    clickNext(extraClicks);
    QVERIFY(!app.window()->voiceRecorder()->isRecording());
    QCOMPARE(stops.count(), words.size());

    const QList<QStringList> rows = app.rowsOf("FP1A");
    QCOMPARE(rows.size(), 2 * words.size());
    QStringList files;
    for (int i = 0; i < words.size(); ++i) {
        QCOMPARE(rows.at(2 * i).mid(2), (QStringList{"WORD", words.at(i)}));
        QCOMPARE(rows.at(2 * i + 1).value(2), QString("FILE"));
        files << rows.at(2 * i + 1).value(3);
    }
    QCOMPARE(RecordingFiles::problemsWith(app.workspace().path(), files), QString());
}

QTEST_MAIN(TestGameFP1A)
#include "tst_gamefp1a.moc"
