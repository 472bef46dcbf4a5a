#include "databasemanager.h"
#include "testworkspace.h"

#include <QFile>
#include <QSqlDatabase>
#include <QtTest>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

class TestDatabaseManager : public QObject
{
    Q_OBJECT

private:
    static QStringList schema(const TestWorkspace &ws)
    {
        QStringList result;
        for (const QStringList &row : ws.rows("sqlite_master", {"sql"}))
            result << row.value(0);
        return result;
    }

private slots:
    void createsSchemaOnFirstOpenOnly();
    void schemaCreationIsAllOrNothing();
    void fileWithOnlySettingsTable();
    void settingsWithoutStatusRowIsReported();
    void storesValuesExactly_data();
    void storesValuesExactly();
    void emptyRecordFailsAndKeepsId();
    void queriesWithoutCurrentQuery();
    void currentQueryReadsRows();
    void storedRowSurvivesAKill();
};

void TestDatabaseManager::createsSchemaOnFirstOpenOnly()
{
    TestWorkspace ws(false);
    const QStringList expected = {
        "CREATE TABLE settings (key TEXT UNIQUE, value TEXT)",
        "CREATE TABLE evaluation (name TEXT,lastName TEXT,level TEXT,codeGroup TEXT,fullEvaluation TEXT,endOfYear TEXT,evaluationDate TEXT)",
        "CREATE TABLE log (date TEXT,evaluationId TEXT,test TEXT,key TEXT,value TEXT)",
    };
    {
        DatabaseManager db;
        QVERIFY(db.openDatabase());
    }
    QVERIFY(QFile::exists(ws.filePath("data")));
    QStringList found = schema(ws);
    found.removeAll(QString()); // the UNIQUE index has no statement of its own
    QCOMPARE(found, expected);
    QCOMPARE(ws.rows("settings", {"key", "value"}), (QList<QStringList>{{"status", "1"}}));

    // A second start finds the marker and creates nothing.
    {
        DatabaseManager db;
        QVERIFY(db.openDatabase());
    }
    QCOMPARE(ws.rows("settings", {"key", "value"}).size(), 1);
    found = schema(ws);
    found.removeAll(QString());
    QCOMPARE(found, expected);
}

void TestDatabaseManager::schemaCreationIsAllOrNothing()
{
    TestWorkspace ws(false);
    // A table in the way makes the last statement of the schema fail.
    QVERIFY(ws.execute({"CREATE TABLE log (x TEXT)"}));
    {
        DatabaseManager db;
        QVERIFY(!db.openDatabase());
    }
    QVERIFY(ws.rows("settings", {"key"}).isEmpty());
    QStringList tables;
    for (const QStringList &row : ws.rows("sqlite_master", {"name"}))
        tables << row.value(0);
    QCOMPARE(tables, QStringList{"log"});

    // Once the obstacle is gone the next start creates the whole schema.
    QVERIFY(ws.execute({"DROP TABLE log"}));
    DatabaseManager db;
    QVERIFY(db.openDatabase());
    int id = 0;
    QVERIFY(db.insertRecord("log", {{"key", "k"}, {"value", "v"}}, &id));
    QCOMPARE(id, 1);
}

void TestDatabaseManager::fileWithOnlySettingsTable()
{
    TestWorkspace ws(false);
    QVERIFY(ws.execute({"CREATE TABLE settings (key TEXT UNIQUE, value TEXT)",
                        "INSERT INTO settings (key, value) VALUES ('status', '1')"}));
    DatabaseManager db;
    QVERIFY(db.openDatabase());
    int id = 7;
    QVERIFY(!db.insertRecord("log", {{"key", "k"}}, &id));
    QCOMPARE(id, 7);
}

void TestDatabaseManager::settingsWithoutStatusRowIsReported()
{
    // A file left half-made by another program: no marker, and the schema
    // cannot be created over it. The open is reported as failed.
    TestWorkspace ws(false);
    QVERIFY(ws.execute({"CREATE TABLE settings (key TEXT UNIQUE, value TEXT)"}));
    DatabaseManager db;
    QVERIFY(!db.openDatabase());
    QCOMPARE(ws.rows("settings", {"key"}).size(), 0);
}

void TestDatabaseManager::storesValuesExactly_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("apostrophe") << QString::fromUtf8("O'Higgins");
    QTest::newRow("double quotes") << QString::fromUtf8("\"comillas\" y 'otras'");
    QTest::newRow("accents") << QString::fromUtf8("Ñandú Pérez, cigüeña");
    QTest::newRow("empty") << QString("");
    QTest::newRow("semicolon and newline") << QString::fromUtf8("a;b\nc");
    QTest::newRow("statement inside") << QString::fromUtf8("x'); DROP TABLE log; --");
    QTest::newRow("placeholder-like") << QString::fromUtf8("? :value %1");
}

void TestDatabaseManager::storesValuesExactly()
{
    QFETCH(QString, value);
    TestWorkspace ws(false);
    DatabaseManager db;
    QVERIFY(db.openDatabase());
    int first = 0;
    int second = 0;
    QVERIFY(db.insertRecord("evaluation", {{"name", value}, {"lastName", "x"}}, &first));
    QVERIFY(db.insertRecord("log", {{"key", value}, {"value", value}, {"test", ""}}, &second));
    QCOMPARE(first, 1);
    QCOMPARE(second, 1);
    QCOMPARE(ws.rows("evaluation", {"name", "lastName"}), (QList<QStringList>{{value, "x"}}));
    QCOMPARE(ws.rows("log", {"key", "value", "test", "typeof(value)"}),
             (QList<QStringList>{{value, value, "", "text"}}));
}

void TestDatabaseManager::emptyRecordFailsAndKeepsId()
{
    TestWorkspace ws(false);
    DatabaseManager db;
    QVERIFY(db.openDatabase());
    int id = 42;
    QVERIFY(!db.insertRecord("log", {}, &id));
    QCOMPARE(id, 42);
    QVERIFY(!db.insertRecord("log", {}, nullptr));
}

void TestDatabaseManager::queriesWithoutCurrentQuery()
{
    TestWorkspace ws(false);
    DatabaseManager db;
    QVERIFY(!db.nextRow());
    QCOMPARE(db.valueOf("name"), QString(""));
    QVERIFY(db.openDatabase());
    QVERIFY(!db.nextRow());
    QCOMPARE(db.valueOf("name"), QString(""));
    QVERIFY(!db.execQuery("SELECT * FROM nowhere"));
    QVERIFY(!db.nextRow());
    QCOMPARE(db.valueOf("name"), QString(""));
}

void TestDatabaseManager::currentQueryReadsRows()
{
    TestWorkspace ws(false);
    DatabaseManager db;
    QVERIFY(db.openDatabase());
    int a = 0;
    int b = 0;
    QVERIFY(db.insertRecord("evaluation", {{"name", "Ana"}, {"level", "3"}}, &a));
    QVERIFY(db.insertRecord("evaluation", {{"name", "Luis"}, {"level", "5"}}, &b));
    QCOMPARE(b, a + 1);

    QVERIFY(db.execQuery("SELECT ROWID FROM evaluation"));
    QStringList ids;
    while (db.nextRow())
        ids << db.valueOf("rowid");
    QCOMPARE(ids, (QStringList{QString::number(a), QString::number(b)}));
    QVERIFY(!db.nextRow());

    QVERIFY(db.execQuery("SELECT * FROM evaluation WHERE ROWID = " + QString::number(b)));
    QVERIFY(db.nextRow());
    QCOMPARE(db.valueOf("name"), QString("Luis"));
    QCOMPARE(db.valueOf("level"), QString("5"));
    QCOMPARE(db.valueOf("notAColumn"), QString(""));

    QVERIFY(db.execQuery(QString("DELETE FROM evaluation WHERE ROWID = %1").arg(a)));
    QCOMPARE(ws.rows("evaluation", {"name"}), (QList<QStringList>{{"Luis"}}));
}

void TestDatabaseManager::storedRowSurvivesAKill()
{
    TestWorkspace ws(false);
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // Store one row, then die at once without any clean-up.
        DatabaseManager db;
        const bool ok = db.openDatabase() && db.insertRecord("log", {{"key", "TIME"}, {"value", "1234"}}, nullptr);
        if (ok)
            kill(getpid(), SIGKILL);
        _exit(3);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, "the child could not store its row");
    QCOMPARE(ws.rows("log", {"key", "value"}), (QList<QStringList>{{"TIME", "1234"}}));
    QVERIFY(!QFile::exists(ws.filePath("data-journal")) || QFile(ws.filePath("data-journal")).size() == 0);
}

QTEST_GUILESS_MAIN(TestDatabaseManager)
#include "tst_databasemanager.moc"
