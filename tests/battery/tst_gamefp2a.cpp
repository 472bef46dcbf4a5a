#include "appfixture.h"
#include "audiofixture.h"
#include "batterydriver.h"
#include "clickableimage.h"
#include "gamefp2a.h"
#include "imagelabel.h"
#include "mainwindow.h"
#include "recordingfiles.h"
#include "transitionlabel.h"
#include "voicerecorder.h"

#include <QtTest>

// Text reading, run in the real main window: the story is shown, recorded and
// timed from the test button to the next button, and logged once.
class TestGameFP2A : public QObject
{
    Q_OBJECT

private slots:
    void completeRun();
};

void TestGameFP2A::completeRun()
{
    AUDIO_SERVER_REQUIRED();
    AppFixture app;
    auto *game = qobject_cast<GameFP2A *>(app.startAt("FP2A"));
    QVERIFY(game);
    if (!app.workspace().hasKit())
        QSKIP("the stimulus kit has not been generated");

    AppFixture::click(game->getTransitionLabel());
    QVERIFY(!game->getExampleButton()->isVisible());
    QVERIFY(game->getTestButton()->isActive());
    QVERIFY(!game->getNextButton()->isActive());
    QVERIFY(!game->getStory()->isVisible());
    // The next button cannot end a reading that has not begun.
    AppFixture::click(game->getNextButton());
    QVERIFY(app.rowsOf("FP2A").isEmpty());

    AppFixture::click(game->getTestButton());
    QVERIFY(game->getStory()->isVisible());
    QVERIFY(app.window()->voiceRecorder()->isRecording());
    QVERIFY(!game->getExampleButton()->isVisible());
    QTest::qWait(400);
    AppFixture::click(game->getNextButton());
    AppFixture::click(game->getNextButton());
    AppFixture::click(game->getTestButton());
    QVERIFY(game->isFinished());
    QVERIFY(!app.window()->voiceRecorder()->isRecording());
    QVERIFY(!game->getExampleButton()->isVisible());

    const QList<QStringList> rows = app.rowsOf("FP2A");
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).value(2), QString("TIME"));
    bool isNumber = false;
    const int time = rows.at(0).value(3).toInt(&isNumber);
    QVERIFY(isNumber);
    QVERIFY2(time >= 400 && time < 3000, qPrintable(rows.at(0).value(3)));
    QCOMPARE(rows.at(1).value(2), QString("FILE"));
    QCOMPARE(RecordingFiles::problemsWith(app.workspace().path(), {rows.at(1).value(3)}), QString());
}

QTEST_MAIN(TestGameFP2A)
#include "tst_gamefp2a.moc"
