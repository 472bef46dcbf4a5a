#include "abortdialog.h"
#include "adminwindow.h"
#include "appfixture.h"
#include "gamewindow.h"
#include "mainwindow.h"

#include <QtTest>

namespace {
const QString kFinished = "La evaluación ha terminado.";
const QString kCancelled = "La aplicación ha sido cancelada.";
const QString kStoreFailed = "La evaluación se ha terminado abruptamente por problemas de conexión con la base de datos.";
const QStringList kFull = {"VD1A", "PA1A", "PA2A", "CF1A", "CF2A", "CF2B", "CF3A", "CF3B",
                           "RV1A", "TT1A", "FP1A", "CL1A", "FP2A", "CL2A", "CO1A"};

QStringList visibleTests(MainWindow *w)
{
    QStringList codes;
    for (const QString &code : kFull)
        if (w->game(code)->isVisible())
            codes << code;
    return codes;
}

// The running test ends as it does after its last answer.
void finishCurrent(MainWindow *w)
{
    QVERIFY(QMetaObject::invokeMethod(w->game(w->currentTestCode()), "runFinishGame"));
}

// No evaluation, no test, the welcome page in a normal window.
void verifyIdle(MainWindow *w)
{
    QCOMPARE(w->currentEvaluationId(), 0);
    QCOMPARE(w->currentTestCode(), QString(""));
    QCOMPARE(visibleTests(w), QStringList());
    QVERIFY(!w->isFullScreen());
    QVERIFY(w->administrationWindow()->isVisible());
    QVERIFY(!w->abortDialogWindow()->isVisible());
}
}

// The ordered battery: which tests run for a level, how the examiner skips a
// test or abandons the evaluation, and that every ending leaves the program
// idle on its welcome page.
class TestBattery : public QObject
{
    Q_OBJECT

private slots:
    void batteryForEveryLevel_data()
    {
        QTest::addColumn<bool>("full");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("endOfYear");
        QTest::addColumn<QStringList>("expected");
        const QStringList early = {"VD1A", "PA1A", "PA2A", "CF1A", "CF2A", "CF2B", "CF3A", "CF3B", "RV1A", "TT1A", "CO1A"};
        const QStringList first = {"PA1A", "PA2A", "CF1A", "CF2A", "CF2B", "CF3A", "CF3B",
                                   "TT1A", "FP1A", "CL1A", "FP2A", "CL2A", "CO1A"};
        const QStringList later = {"FP1A", "CL1A", "FP2A", "CL2A", "CO1A"};
        const QList<QStringList> byLevel = {early, early, first, later, later, later, {}};
        for (bool endOfYear : {false, true}) {
            const char *period = endOfYear ? "Fin" : "Inicio";
            for (int level = 1; level <= 7; ++level) {
                QTest::addRow("level %d %s", level, period) << false << level << endOfYear << byLevel[level - 1];
                QTest::addRow("level %d full %s", level, period) << true << level << endOfYear << kFull;
            }
        }
    }

    void batteryForEveryLevel()
    {
        QFETCH(bool, full);
        QFETCH(int, level);
        QFETCH(bool, endOfYear);
        QFETCH(QStringList, expected);
        AppFixture app;
        MainWindow *w = app.window();
        w->startGame("Ana", "Pérez", level, "", full, endOfYear);
        QCOMPARE(app.workspace().rows("evaluation", {"level"}), QList<QStringList>{{QString::number(level)}});
        if (expected.isEmpty()) { // a level outside the table: nothing to run
            QCOMPARE(app.catcher().messages(), QStringList{kFinished});
            return verifyIdle(w);
        }
        QCOMPARE(QStringList{w->currentTestCode()} + w->pendingTests(), expected);
        QCOMPARE(visibleTests(w), QStringList{expected.first()});
        QVERIFY(w->isFullScreen());
        QVERIFY(!w->administrationWindow()->isVisible());
        QVERIFY(app.catcher().messages().isEmpty());
    }

    // A whole run in order, the examiner skipping the last test.
    void runsTheTestsInOrder()
    {
        AppFixture app;
        MainWindow *w = app.window();
        const int id = app.startEvaluation(5);
        QStringList seen;
        for (int i = 0; i < 10 && w->currentEvaluationId() == id; ++i) {
            seen << w->currentTestCode();
            QCOMPARE(visibleTests(w), QStringList{w->currentTestCode()});
            QVERIFY(w->game(w->currentTestCode())->hasFocus() || !w->isActiveWindow());
            if (w->currentTestCode() == "CO1A")
                emit w->abortDialogWindow()->abortOne();
            else
                finishCurrent(w);
        }
        QCOMPARE(seen, (QStringList{"FP1A", "CL1A", "FP2A", "CL2A", "CO1A"}));
        QCOMPARE(app.workspace().logRows(), (QList<QStringList>{{QString::number(id), "CO1A", "ABORT", "1"}}));
        QCOMPARE(app.catcher().messages(), QStringList{kFinished});
        verifyIdle(w);
    }

    // Abandoned at its first test: exactly one row for the whole evaluation. A test
    // that is not running (as its finish timer would) can then neither move a
    // battery on nor log.
    void abandoningTheFirstTest()
    {
        AppFixture app;
        MainWindow *w = app.window();
        const int id = app.startEvaluation(1);
        QCOMPARE(w->currentTestCode(), QString("VD1A"));
        w->showAbortDialog();
        QVERIFY(w->abortDialogWindow()->isVisible());
        w->abortDialogWindow()->requestAbortAll();
        const QList<QStringList> abandoned{{QString::number(id), "FULL", "ABORT", "1"}};
        QCOMPARE(app.workspace().logRows(), abandoned);
        QCOMPARE(app.catcher().messages(), QStringList{kCancelled});
        verifyIdle(w);

        GameWindow *first = w->game("VD1A");
        QVERIFY(QMetaObject::invokeMethod(first, "runFinishGame"));
        emit first->requestLogValueForKey("late", "1");
        verifyIdle(w);
        // The next evaluation starts again from the first test of its level.
        QCOMPARE(app.startEvaluation(3), id + 1);
        QCOMPARE(w->currentTestCode(), QString("PA1A"));
        QVERIFY(QMetaObject::invokeMethod(first, "runFinishGame"));
        emit first->requestLogValueForKey("stale", "1");
        QCOMPARE(w->currentTestCode(), QString("PA1A"));
        QCOMPARE(app.workspace().logRows(), abandoned);
    }

    // The row of a skip or an abandon cannot be stored: the evaluation ends there,
    // with the store's message first, and no further test starts outside it.
    void rowOfAnEndingCannotBeStored_data()
    {
        QTest::addColumn<bool>("abandon");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("skip") << false << QStringList{kStoreFailed};
        QTest::newRow("abandon") << true << QStringList{kStoreFailed, kCancelled};
    }

    void rowOfAnEndingCannotBeStored()
    {
        QFETCH(bool, abandon);
        QFETCH(QStringList, messages);
        AppFixture app;
        MainWindow *w = app.window();
        QVERIFY(app.startEvaluation(1) >= 1);
        QVERIFY(app.workspace().execute({"ALTER TABLE log RENAME TO gone"}));
        abandon ? emit w->abortDialogWindow()->abortAll() : emit w->abortDialogWindow()->abortOne();
        QCOMPARE(app.catcher().messages(), messages);
        verifyIdle(w);
        QTest::qWait(50);
        verifyIdle(w);
        QVERIFY(app.workspace().execute({"ALTER TABLE gone RENAME TO log"}));
        QVERIFY(app.workspace().logRows().isEmpty());
    }

    void abortDialogIsCentred()
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
};

QTEST_MAIN(TestBattery)
#include "tst_battery.moc"
