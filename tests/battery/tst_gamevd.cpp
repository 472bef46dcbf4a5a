#include "batterydriver.h"
#include "gamevd.h"
#include "imagelabel.h"
#include "mainwindow.h"
#include "recordingfiles.h"
#include "voicerecorder.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace BatteryDriver;

// The naming speed test as the examiner runs it: the test phase alone is timed
// and recorded, and only the next button of the test phase ends it, once.
class TestGameVD : public QObject
{
    Q_OBJECT

private slots:
    void timedRecordedRun();
    void rowsStayCentred_data();
    void rowsStayCentred();
};

void TestGameVD::timedRecordedRun()
{
    AppFixture app;
    auto *game = qobject_cast<GameVD *>(app.startAt("VD1A"));
    QVERIFY(game);
    AppFixture::click(game->getNextButton());
    AppFixture::click(game->getTransitionLabel());
    AppFixture::click(game->getNextButton());
    AppFixture::click(game->getExampleButton());
    QVERIFY(game->getExamplePictures().last()->isVisible() && !game->getTestPictures().first()->isVisible());
    AppFixture::click(game->getNextButton());
    QVERIFY(app.rowsOf("VD1A").isEmpty() && !game->isFinished());
    // Time spent on the example must not count.
    QTest::qWait(600);

    QElapsedTimer outer;
    outer.start();
    AppFixture::click(game->getTestButton());
    if (!app.catcher().messages().isEmpty())
        QSKIP("no audio input device here (scripts/test.sh starts one)");
    QVERIFY(game->getRecordingIcon()->isVisible() && game->getTestPictures().first()->isVisible());
    QTest::qWait(400);
    AppFixture::click(game->getNextButton());
    const qint64 wholePhase = outer.elapsed();
    AppFixture::click(game->getNextButton());

    const QList<QStringList> rows = keyValues(app, "VD1A");
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).at(0), QString("TIME"));
    QCOMPARE(rows.at(1).at(0), QString("FILE"));
    const qint64 time = rows.at(0).at(1).toLongLong();
    QVERIFY2(time >= 400 && time <= wholePhase, qPrintable(rows.at(0).at(1)));

    // The FILE row names the recording, complete once the test has ended.
    QVERIFY(!app.window()->voiceRecorder()->isRecording() && !game->getRecordingIcon()->isVisible());
    QCOMPARE(RecordingFiles::problemsWith(app.workspace().path(), {rows.at(1).at(1)}), QString());

    QTRY_COMPARE_WITH_TIMEOUT(app.window()->currentTestCode(), QString("PA1A"), 3000);
    QCOMPARE(keyValues(app, "VD1A").size(), 2);
}

void TestGameVD::rowsStayCentred_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("1366 x 700") << QSize(1366, 700);
    QTest::newRow("1025 x 601") << QSize(1025, 601);
}

void TestGameVD::rowsStayCentred()
{
    QFETCH(QSize, size);
    AppFixture app;
    if (!app.workspace().hasKit())
        QSKIP("the stimulus kit has not been built");
    auto *game = qobject_cast<GameVD *>(enterTest(app, "VD1A", false));
    QVERIFY(game);
    // Resized during the example: the hidden test row is placed as well.
    game->resize(size);
    const QList<ImageLabel *> example = game->getExamplePictures();
    const QList<ImageLabel *> test = game->getTestPictures();
    QCOMPARE(example.at(1)->pos(), QPoint(game->centeredX(230), game->centeredY(240)));
    for (int k = 1; k < example.size(); ++k)
        QCOMPARE(example.at(k)->pos(), example.at(k - 1)->pos() + QPoint(230, 0));
    // Six touching pictures whose middle is the window's middle.
    QVERIFY(qAbs(2 * (test.first()->x() + 3 * 145) - size.width()) <= 2);
    QCOMPARE(test.first()->y(), game->centeredY(226));
    for (int k = 1; k < test.size(); ++k)
        QCOMPARE(test.at(k)->pos(), test.at(k - 1)->pos() + QPoint(145, 0));
}

QTEST_MAIN(TestGameVD)
#include "tst_gamevd.moc"
