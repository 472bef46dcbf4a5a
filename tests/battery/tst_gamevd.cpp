#include "batterydriver.h"
#include "gamevd.h"
#include "voicerecorder.h"

// The naming speed test: the test phase alone is timed and recorded, and only
// the next button of the test phase ends it, once.
class TestGameVD : public QObject
{
    Q_OBJECT

private slots:
    void timedRecordedRun()
    {
        ENTER_TEST(GameVD, "VD1A", 0);
        AppFixture::click(game->getNextButton());
        AppFixture::click(game->getTransitionLabel());
        AppFixture::click(game->getNextButton());
        AppFixture::click(game->getExampleButton());
        QVERIFY(game->getExamplePictures().last()->isVisible() && !game->getTestPictures().first()->isVisible());
        AppFixture::click(game->getNextButton());
        QVERIFY(app.rowsOf("VD1A").isEmpty() && !game->isFinished());
        QTest::qWait(600); // time spent on the example must not count
        QElapsedTimer outer;
        outer.start();
        AppFixture::click(game->getTestButton());
        REQUIRE_ENVIRONMENT(app.catcher().messages().isEmpty(), "an audio input device (scripts/test.sh starts one)");
        QVERIFY(game->getRecordingIcon()->isVisible() && game->getTestPictures().first()->isVisible());
        QTest::qWait(400);
        AppFixture::click(game->getNextButton());
        const qint64 wholePhase = outer.elapsed();
        AppFixture::click(game->getNextButton());
        const Rows rows = keyValues(app, "VD1A");
        QCOMPARE(rows, pairs({"TIME", "FILE"}, {rows.value(0).value(1), rows.value(1).value(1)}));
        const qint64 time = rows.at(0).at(1).toLongLong();
        QVERIFY2(time >= 400 && time <= wholePhase, qPrintable(rows.at(0).at(1)));
        // The FILE row names the recording, complete once the test has ended.
        QVERIFY(!app.window()->voiceRecorder()->isRecording() && !game->getRecordingIcon()->isVisible());
        QCOMPARE(recordingProblems(app, {rows.at(1).at(1)}), QString());
        QTRY_COMPARE_WITH_TIMEOUT(app.window()->currentTestCode(), QString("PA1A"), 3000);
        QCOMPARE(keyValues(app, "VD1A"), rows);
    }

    void rowsStayCentred()
    {
        ENTER_TEST(GameVD, "VD1A", 2);
        KIT_REQUIRED(app);
        game->resize(1025, 601); // during the example: the hidden test row is placed as well
        // Rows of touching pictures, each centred as a whole on the window.
        for (const QList<ImageLabel *> &row : {game->getExamplePictures(), game->getTestPictures()}) {
            for (int k = 1; k < row.size(); ++k)
                QCOMPARE(row.at(k)->pos(), row.at(k - 1)->pos() + QPoint(row.at(k)->width(), 0));
            QVERIFY(qAbs(row.first()->x() + row.last()->geometry().right() + 1 - 1025) <= 1);
            QCOMPARE(row.first()->y(), game->centeredY(row.first()->height()));
        }
    }
};

QTEST_MAIN(TestGameVD)
#include "tst_gamevd.moc"
