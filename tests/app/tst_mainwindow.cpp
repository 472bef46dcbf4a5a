#include "appfixture.h"
#include "mainwindow.h"

#include <QDate>
#include <QDir>
#include <QRegularExpression>
#include <QtTest>

// The controller inside a real working directory: start-up, evaluation rows,
// log rows, and what the examiner sees when storing fails.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startsIdleOnTheAdministrationScreen()
    {
        AppFixture app;
        MainWindow *w = app.window();
        QVERIFY(w->startedSuccessfully());
        QCOMPARE(w->windowTitle(), QString("Rumbolo"));
        QCOMPARE(w->size(), QSize(800, 580));
        QCOMPARE(w->minimumSize(), QSize(800, 580));
        QCOMPARE(w->currentEvaluationId(), 0);
        QVERIFY(!w->isFullScreen());
        QVERIFY(QFileInfo(app.workspace().filePath("grabaciones")).isDir());
        QVERIFY(QFileInfo(app.workspace().filePath("envios")).isDir());

        // Rows logged while no evaluation runs belong to none; their columns are stored exactly.
        QVERIFY(w->logValueForKey("O'Higgins", "ñandú \"dijo\""));
        QVERIFY(w->logValueForKey("", ""));
        const auto rows = app.workspace().rows("log", {"date", "evaluationId", "test", "key", "value"});
        QCOMPARE(rows.size(), 2);
        QVERIFY(QRegularExpression("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}$").match(rows[0][0]).hasMatch());
        QCOMPARE(rows[0].mid(1), (QStringList{"0", "", "O'Higgins", "ñandú \"dijo\""}));
        QCOMPARE(rows[1].mid(1), (QStringList{"0", "", "", ""}));

        // A second window in the same directory finds the directories and the database.
        MainWindow second;
        QVERIFY(second.startedSuccessfully());
        QVERIFY(second.logValueForKey("k", "v"));
        QCOMPARE(app.workspace().logRows().size(), 3);
        QVERIFY(app.catcher().messages().isEmpty());
    }

    // Each overload of startGame stores its row; an abandon between them ends each evaluation.
    void evaluationRowFromStartGame()
    {
        AppFixture app;
        MainWindow *w = app.window();
        w->startGame("Ana", "O'Neil", 4, "3A-2013", true, true);
        w->abortGame();
        w->startGame("Ana", "O'Neil", 4, "3A-2013", true);
        w->abortGame();
        w->startGame("Ana", "O'Neil", 4, "3A-2013");
        w->abortGame();
        w->startGame("Ana", "O'Neil", 4);
        const QString today = QDate::currentDate().toString("yyyy-MM-dd");
        QCOMPARE(app.workspace().rows("evaluation", {"name", "lastName", "level", "codeGroup", "fullEvaluation",
                                                     "endOfYear", "evaluationDate"}),
                 (QList<QStringList>{{"Ana", "O'Neil", "4", "3A-2013", "1", "1", today},
                                     {"Ana", "O'Neil", "4", "3A-2013", "1", "0", today},
                                     {"Ana", "O'Neil", "4", "3A-2013", "0", "0", today},
                                     {"Ana", "O'Neil", "4", "", "0", "0", today}}));
    }

    // The store fails under a row: the examiner is told, and no evaluation runs.
    void failedRowEndsTheEvaluation_data()
    {
        QTest::addColumn<QString>("table");
        QTest::newRow("log row") << "log";
        QTest::newRow("evaluation row") << "evaluation";
    }

    void failedRowEndsTheEvaluation()
    {
        QFETCH(QString, table);
        AppFixture app;
        MainWindow *w = app.window();
        QVERIFY(app.workspace().execute({"DROP TABLE " + table}));
        if (table == "log")
            QVERIFY(!w->logValueForKey("k", "v"));
        else
            w->startGame("Ana", "Pérez", 1, "", true, false);
        QCOMPARE(app.catcher().messages(),
                 QStringList{"La evaluación se ha terminado abruptamente por problemas de conexión con la base de datos."});
        QCOMPARE(w->currentEvaluationId(), 0);
        QCOMPARE(w->currentTestCode(), QString(""));
        QVERIFY(!w->isFullScreen());
        QVERIFY(app.workspace().logRows().isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
