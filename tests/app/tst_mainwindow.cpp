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
    void startsIdleOnTheAdministrationScreen();
    void startsAgainOverExistingFiles();
    void logRowsAreStoredExactly_data();
    void logRowsAreStoredExactly();
    void logRowWhileIdleHasNoEvaluation();
    void evaluationRowFromStartGame_data();
    void evaluationRowFromStartGame();
    void failedLogRowEndsTheEvaluation();
    void failedEvaluationRowStartsNothing();
};

void TestMainWindow::startsIdleOnTheAdministrationScreen()
{
    AppFixture app;
    MainWindow *w = app.window();
    QVERIFY(w->startedSuccessfully());
    QCOMPARE(w->windowTitle(), QString("Rumbolo"));
    QCOMPARE(w->size(), QSize(800, 580));
    QCOMPARE(w->minimumSize(), QSize(800, 580));
    QCOMPARE(w->currentEvaluationId(), 0);
    QCOMPARE(w->currentTestCode(), QString(""));
    QVERIFY(!w->isFullScreen());
    QVERIFY(QFileInfo(app.workspace().filePath("grabaciones")).isDir());
    QVERIFY(QFileInfo(app.workspace().filePath("envios")).isDir());
    QVERIFY(app.catcher().messages().isEmpty());
}

void TestMainWindow::startsAgainOverExistingFiles()
{
    AppFixture first;
    QVERIFY(first.window()->logValueForKey("k", "v"));
    // A second window in the same directory finds the directories and the database.
    MainWindow second;
    QVERIFY(second.startedSuccessfully());
    QVERIFY(second.logValueForKey("k2", "v2"));
    QCOMPARE(first.workspace().logRows().size(), 2);
    QVERIFY(first.catcher().messages().isEmpty());
}

void TestMainWindow::logRowsAreStoredExactly_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("answer") << "casa" << "1";
    QTest::newRow("apostrophe and quotes") << "O'Higgins" << "\"dijo\" 'hola'";
    QTest::newRow("accents") << QString::fromUtf8("mamá") << QString::fromUtf8("ñandú");
    QTest::newRow("empty value") << "FILE" << "";
    QTest::newRow("empty key") << "" << "x";
}

void TestMainWindow::logRowsAreStoredExactly()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    AppFixture app;
    QVERIFY(app.window()->logValueForKey(key, value));
    const auto rows = app.workspace().rows("log", {"date", "evaluationId", "test", "key", "value"});
    QCOMPARE(rows.size(), 1);
    QVERIFY(QRegularExpression("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}$").match(rows[0][0]).hasMatch());
    QCOMPARE(rows[0].mid(2), (QStringList{"", key, value}));
}

void TestMainWindow::logRowWhileIdleHasNoEvaluation()
{
    AppFixture app;
    QVERIFY(app.window()->logValueForKey("k", "v"));
    QVERIFY(app.window()->logValueForKey("k", "w"));
    QCOMPARE(app.workspace().logRows(), (QList<QStringList>{{"0", "", "k", "v"}, {"0", "", "k", "w"}}));
}

void TestMainWindow::evaluationRowFromStartGame_data()
{
    QTest::addColumn<int>("overload");
    QTest::addColumn<QStringList>("expected");
    // name, lastName, level, codeGroup, fullEvaluation, endOfYear
    QTest::newRow("six arguments") << 6 << QStringList{"Ana", "O'Neil", "4", "3A-2013", "1", "1"};
    QTest::newRow("five arguments") << 5 << QStringList{"Ana", "O'Neil", "4", "3A-2013", "1", "0"};
    QTest::newRow("four arguments") << 4 << QStringList{"Ana", "O'Neil", "4", "3A-2013", "0", "0"};
    QTest::newRow("three arguments") << 3 << QStringList{"Ana", "O'Neil", "4", "", "0", "0"};
}

void TestMainWindow::evaluationRowFromStartGame()
{
    QFETCH(int, overload);
    QFETCH(QStringList, expected);
    AppFixture app;
    MainWindow *w = app.window();
    switch (overload) {
    case 6: w->startGame("Ana", "O'Neil", 4, "3A-2013", true, true); break;
    case 5: w->startGame("Ana", "O'Neil", 4, "3A-2013", true); break;
    case 4: w->startGame("Ana", "O'Neil", 4, "3A-2013"); break;
    default: w->startGame("Ana", "O'Neil", 4); break;
    }
    const auto rows = app.workspace().rows(
        "evaluation", {"name", "lastName", "level", "codeGroup", "fullEvaluation", "endOfYear", "evaluationDate"});
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].mid(0, 6), expected);
    QCOMPARE(rows[0][6], QDate::currentDate().toString("yyyy-MM-dd"));
}

void TestMainWindow::failedLogRowEndsTheEvaluation()
{
    AppFixture app;
    MainWindow *w = app.window();
    // Simulate the store failing.
    QVERIFY(app.workspace().execute({"DROP TABLE log"}));
    QVERIFY(!w->logValueForKey("k", "v"));
    QCOMPARE(app.catcher().messages(),
             QStringList{QString::fromUtf8("La evaluación se ha terminado abruptamente por problemas de conexión con la base de datos.")});
    QCOMPARE(w->currentEvaluationId(), 0);
    QCOMPARE(w->currentTestCode(), QString(""));
    QVERIFY(!w->isFullScreen());
}

void TestMainWindow::failedEvaluationRowStartsNothing()
{
    AppFixture app;
    MainWindow *w = app.window();
    QVERIFY(app.workspace().execute({"DROP TABLE evaluation"}));
    w->startGame("Ana", "Pérez", 1, "", true, false);
    QCOMPARE(app.catcher().messages(),
             QStringList{QString::fromUtf8("La evaluación se ha terminado abruptamente por problemas de conexión con la base de datos.")});
    QCOMPARE(w->currentEvaluationId(), 0);
    QVERIFY(!w->isFullScreen());
    QVERIFY(app.workspace().logRows().isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
