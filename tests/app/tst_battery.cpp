#include "abortdialog.h"
#include "adminwindow.h"
#include "appfixture.h"
#include "gamewindow.h"
#include "mainwindow.h"

#include <QtTest>

// The ordered battery: which tests run for a level, how the examiner skips a
// test or abandons the evaluation, and that every ending leaves the program
// idle on its welcome page.
class TestBattery : public QObject
{
    Q_OBJECT

private:
    const QString finished = QString::fromUtf8("La evaluación ha terminado.");
    const QString cancelled = QString::fromUtf8("La aplicación ha sido cancelada.");
    const QString storeFailed = QString::fromUtf8(
        "La evaluación se ha terminado abruptamente por problemas de conexión con la base de datos.");

    static const QStringList &allCodes()
    {
        static const QStringList codes = {"VD1A", "PA1A", "PA2A", "CF1A", "CF2A", "CF2B", "CF3A", "CF3B",
                                          "RV1A", "TT1A", "CO1A", "FP1A", "CL1A", "FP2A", "CL2A"};
        return codes;
    }

    static QStringList visibleTests(MainWindow *w)
    {
        QStringList codes;
        for (const QString &code : allCodes())
            if (w->game(code)->isVisible())
                codes << code;
        return codes;
    }

    // The running test ends as it does after its last answer.
    static void finishCurrent(MainWindow *w)
    {
        QVERIFY(QMetaObject::invokeMethod(w->game(w->currentTestCode()), "runFinishGame"));
    }

    static void verifyIdle(AppFixture &app)
    {
        MainWindow *w = app.window();
        QCOMPARE(w->currentEvaluationId(), 0);
        QCOMPARE(w->currentTestCode(), QString(""));
        QCOMPARE(visibleTests(w), QStringList());
        QVERIFY(!w->isFullScreen());
        QVERIFY(w->administrationWindow()->isVisible());
        QVERIFY(!w->abortDialogWindow()->isVisible());
    }

private slots:
    void batteryForEveryLevel_data();
    void batteryForEveryLevel();
    void runsTheTestsInOrder();
    void levelOutsideTheTable();
    void skippingTheLastTest();
    void abandoningTheFirstTest();
    void failedAbandonRowShowsBothMessages();
    void failedSkipRowStartsNothing();
    void leftoverTestsCannotMoveTheBattery();
    void abortDialogIsCentred();
};

void TestBattery::batteryForEveryLevel_data()
{
    QTest::addColumn<bool>("full");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("endOfYear");
    QTest::addColumn<QStringList>("expected");
    const QStringList full = {"VD1A", "PA1A", "PA2A", "CF1A", "CF2A", "CF2B", "CF3A", "CF3B",
                              "RV1A", "TT1A", "FP1A", "CL1A", "FP2A", "CL2A", "CO1A"};
    const QStringList early = {"VD1A", "PA1A", "PA2A", "CF1A", "CF2A", "CF2B", "CF3A", "CF3B", "RV1A", "TT1A", "CO1A"};
    const QStringList first = {"PA1A", "PA2A", "CF1A", "CF2A", "CF2B", "CF3A", "CF3B",
                               "TT1A", "FP1A", "CL1A", "FP2A", "CL2A", "CO1A"};
    const QStringList later = {"FP1A", "CL1A", "FP2A", "CL2A", "CO1A"};
    const QList<QStringList> byLevel = {early, early, first, later, later, later};
    for (bool endOfYear : {false, true}) {
        for (int level = 1; level <= 6; ++level) {
            const QString period = endOfYear ? "Fin" : "Inicio";
            QTest::addRow("level %d %s", level, qPrintable(period)) << false << level << endOfYear << byLevel[level - 1];
            QTest::addRow("level %d full %s", level, qPrintable(period)) << true << level << endOfYear << full;
        }
        QTest::addRow("level 9 full %s", endOfYear ? "Fin" : "Inicio") << true << 9 << endOfYear << full;
    }
}

void TestBattery::batteryForEveryLevel()
{
    QFETCH(bool, full);
    QFETCH(int, level);
    QFETCH(bool, endOfYear);
    QFETCH(QStringList, expected);
    AppFixture app;
    MainWindow *w = app.window();
    w->startGame("Ana", "Pérez", level, "", full, endOfYear);
    QVERIFY(w->currentEvaluationId() >= 1);
    QStringList queued = {w->currentTestCode()};
    queued << w->pendingTests();
    QCOMPARE(queued, expected);
    QCOMPARE(visibleTests(w), QStringList{expected.first()});
    QVERIFY(w->isFullScreen());
    QVERIFY(!w->administrationWindow()->isVisible());
    QVERIFY(app.catcher().messages().isEmpty());
}

void TestBattery::runsTheTestsInOrder()
{
    AppFixture app;
    MainWindow *w = app.window();
    const int id = app.startEvaluation(5);
    QStringList seen;
    for (int i = 0; i < 10 && w->currentEvaluationId() == id; ++i) {
        seen << w->currentTestCode();
        QCOMPARE(visibleTests(w), QStringList{w->currentTestCode()});
        QVERIFY(w->game(w->currentTestCode())->hasFocus() || !w->isActiveWindow());
        finishCurrent(w);
    }
    QCOMPARE(seen, (QStringList{"FP1A", "CL1A", "FP2A", "CL2A", "CO1A"}));
    QCOMPARE(app.catcher().messages(), QStringList{finished});
    verifyIdle(app);
}

void TestBattery::levelOutsideTheTable()
{
    AppFixture app;
    MainWindow *w = app.window();
    w->startGame("Ana", "Pérez", 7, "", false, false);
    QCOMPARE(app.catcher().messages(), QStringList{finished});
    QCOMPARE(app.workspace().rows("evaluation", {"level"}), (QList<QStringList>{{"7"}}));
    verifyIdle(app);
}

void TestBattery::skippingTheLastTest()
{
    AppFixture app;
    MainWindow *w = app.window();
    const int id = app.startEvaluation(4);
    while (w->currentTestCode() != "CO1A")
        finishCurrent(w);
    emit w->abortDialogWindow()->abortOne();
    QCOMPARE(app.workspace().logRows(), (QList<QStringList>{{QString::number(id), "CO1A", "ABORT", "1"}}));
    QCOMPARE(app.catcher().messages(), QStringList{finished});
    verifyIdle(app);
}

void TestBattery::abandoningTheFirstTest()
{
    AppFixture app;
    MainWindow *w = app.window();
    const int id = app.startEvaluation(1);
    QCOMPARE(w->currentTestCode(), QString("VD1A"));
    w->showAbortDialog();
    QVERIFY(w->abortDialogWindow()->isVisible());
    w->abortDialogWindow()->requestAbortAll();
    QCOMPARE(app.workspace().logRows(), (QList<QStringList>{{QString::number(id), "FULL", "ABORT", "1"}}));
    QCOMPARE(app.catcher().messages(), QStringList{cancelled});
    verifyIdle(app);

    // The next evaluation starts again from the first test of its level.
    const int next = app.startEvaluation(3);
    QCOMPARE(next, id + 1);
    QCOMPARE(w->currentTestCode(), QString("PA1A"));
}

void TestBattery::failedAbandonRowShowsBothMessages()
{
    AppFixture app;
    MainWindow *w = app.window();
    QVERIFY(app.startEvaluation(1) >= 1);
    QVERIFY(app.workspace().execute({"DROP TABLE log"}));
    emit w->abortDialogWindow()->abortAll();
    QCOMPARE(app.catcher().messages(), (QStringList{storeFailed, cancelled}));
    verifyIdle(app);
}

void TestBattery::failedSkipRowStartsNothing()
{
    AppFixture app;
    MainWindow *w = app.window();
    QVERIFY(app.startEvaluation(1) >= 1);
    QVERIFY(app.workspace().execute({"ALTER TABLE log RENAME TO gone"}));
    emit w->abortDialogWindow()->abortOne();
    // The skip could not be stored: the evaluation ends there and no further
    // test starts outside it.
    QCOMPARE(app.catcher().messages(), QStringList{storeFailed});
    verifyIdle(app);
    QTest::qWait(50);
    verifyIdle(app);
    QVERIFY(app.workspace().execute({"ALTER TABLE gone RENAME TO log"}));
    QVERIFY(app.workspace().logRows().isEmpty());
}

void TestBattery::leftoverTestsCannotMoveTheBattery()
{
    AppFixture app;
    MainWindow *w = app.window();
    const int id = app.startEvaluation(1);
    GameWindow *first = w->game("VD1A");
    finishCurrent(w);
    QCOMPARE(w->currentTestCode(), QString("PA1A"));

    // The previous test, now hidden, asks to move on and to log: both ignored.
    QVERIFY(QMetaObject::invokeMethod(first, "runFinishGame"));
    emit first->requestLogValueForKey("stale", "1");
    QCOMPARE(w->currentTestCode(), QString("PA1A"));
    QVERIFY(app.workspace().logRows().isEmpty());

    // After the evaluation is abandoned, no test can resume the old queue.
    emit w->abortDialogWindow()->abortAll();
    QVERIFY(QMetaObject::invokeMethod(w->game("PA1A"), "runFinishGame"));
    emit w->game("PA1A")->requestLogValueForKey("late", "1");
    verifyIdle(app);
    QCOMPARE(app.workspace().logRows(), (QList<QStringList>{{QString::number(id), "FULL", "ABORT", "1"}}));
    QCOMPARE(app.catcher().messages(), QStringList{cancelled});
}

void TestBattery::abortDialogIsCentred()
{
    AppFixture app;
    MainWindow *w = app.window();
    w->resize(1920, 1080);
    QCOMPARE(w->size(), QSize(1920, 1080));
    w->showAbortDialog();
    AbortDialog *dialog = w->abortDialogWindow();
    QCOMPARE(dialog->pos(), QPoint((1920 - 338) / 2, (1080 - 163) / 2));
    QVERIFY(dialog->isVisible());
    dialog->requestCancel();
    QVERIFY(!dialog->isVisible());
}

QTEST_MAIN(TestBattery)
#include "tst_battery.moc"
