#include "batterydriver.h"
#include "gamevd.h"
#include "imagelabel.h"
#include "mainwindow.h"
#include "voicerecorder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtEndian>
#include <QtTest>

using namespace BatteryDriver;

// The naming speed test driven as the examiner does: the test phase is timed
// and recorded, and the next button ends it exactly once.
class TestGameVD : public QObject
{
    Q_OBJECT

private slots:
    void nextButtonInertBeforeTheTestPhase();
    void timedRecordedRun();
    void rowsStayCentred_data();
    void rowsStayCentred();
    void picturesInKit();
};

void TestGameVD::nextButtonInertBeforeTheTestPhase()
{
    AppFixture app;
    auto *game = qobject_cast<GameVD *>(app.startAt("VD1A"));
    QVERIFY(game);
    AppFixture::click(game->getNextButton());
    AppFixture::click(game->getTransitionLabel());
    AppFixture::click(game->getNextButton());
    AppFixture::click(game->getExampleButton());
    for (ImageLabel *picture : game->getExamplePictures())
        QVERIFY(picture->isVisible());
    for (ImageLabel *picture : game->getTestPictures())
        QVERIFY(!picture->isVisible());
    AppFixture::click(game->getNextButton());

    QVERIFY(app.rowsOf("VD1A").isEmpty());
    QVERIFY(!game->isFinished());
    QVERIFY(!game->getRecordingIcon()->isVisible());
    QVERIFY(!app.window()->voiceRecorder()->isRecording());
}

void TestGameVD::timedRecordedRun()
{
    AppFixture app;
    GameWindow *game = enterTest(app, "VD1A", true, false);
    QVERIFY(game);
    // Time spent on the example must not count.
    QTest::qWait(600);

    QElapsedTimer outer;
    outer.start();
    AppFixture::click(game->getTestButton());
    if (!app.catcher().messages().isEmpty())
        QSKIP("no audio input device here (scripts/test.sh starts one)");
    QVERIFY(game->getRecordingIcon()->isVisible());
    QTest::qWait(400);
    AppFixture::click(game->getNextButton());
    const qint64 wholePhase = outer.elapsed();
    AppFixture::click(game->getNextButton());

    const QList<QStringList> rows = keyValues(app, "VD1A");
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).at(0), QString("TIME"));
    QCOMPARE(rows.at(1).at(0), QString("FILE"));
    bool isNumber = false;
    const qint64 time = rows.at(0).at(1).toLongLong(&isNumber);
    QVERIFY(isNumber);
    QVERIFY2(time >= 400 && time <= wholePhase, qPrintable(rows.at(0).at(1)));

    // The FILE row names a complete recording of the test phase.
    const QString name = rows.at(1).at(1);
    QVERIFY(QRegularExpression("^\\d{14}$").match(name).hasMatch());
    QVERIFY(!app.window()->voiceRecorder()->isRecording());
    QVERIFY(!game->getRecordingIcon()->isVisible());
    QFile wav(app.workspace().filePath("grabaciones/" + name + ".wav"));
    QVERIFY(wav.open(QIODevice::ReadOnly));
    const QByteArray bytes = wav.readAll();
    QVERIFY(bytes.size() > 44);
    auto le32 = [&](int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    QCOMPARE(bytes.left(4), QByteArray("RIFF"));
    QCOMPARE(bytes.mid(8, 4), QByteArray("WAVE"));
    QCOMPARE(le32(4), quint32(bytes.size() - 8));
    QCOMPARE(le32(40), quint32(bytes.size() - 44));

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
    GameVD *game = qobject_cast<GameVD *>(enterTest(app, "VD1A", true, false));
    QVERIFY(game);
    // Resized during the example: the hidden test row is placed as well.
    game->resize(size);
    QVERIFY(!game->getTestPictures().first()->isVisible());

    const QList<ImageLabel *> example = game->getExamplePictures();
    const QList<ImageLabel *> test = game->getTestPictures();
    QCOMPARE(example.at(1)->pos(), QPoint(game->centeredX(230), game->centeredY(240)));
    for (int k = 1; k < example.size(); ++k)
        QCOMPARE(example.at(k)->pos(), example.at(k - 1)->pos() + QPoint(230, 0));
    // Six touching pictures whose middle lies on the window's middle.
    const int rowMiddle = test.first()->x() + 3 * 145;
    QVERIFY2(qAbs(2 * rowMiddle - size.width()) <= 2, qPrintable(QString::number(rowMiddle)));
    for (int k = 0; k < test.size(); ++k) {
        QCOMPARE(test.at(k)->y(), game->centeredY(226));
        if (k > 0)
            QCOMPARE(test.at(k)->x(), test.at(k - 1)->x() + 145);
    }
}

void TestGameVD::picturesInKit()
{
    TestWorkspace space;
    if (!space.hasKit())
        QSKIP("the stimulus kit has not been built");
    QCOMPARE(GameVD::resourcePaths().size(), 9);
    const QString problem = checkKit(GameVD::resourcePaths());
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

QTEST_MAIN(TestGameVD)
#include "tst_gamevd.moc"
