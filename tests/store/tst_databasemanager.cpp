#include "databasemanager.h"
#include "testworkspace.h"

#include <QFile>
#include <QtTest>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

class TestDatabaseManager : public QObject
{
    Q_OBJECT

private slots:
    void createsSchemaOnFirstOpenOnly()
    {
        TestWorkspace ws(false);
        for (int start = 0; start < 2; ++start) { // the second start finds the marker and creates nothing
            DatabaseManager db;
            QVERIFY(db.openDatabase());
        }
        QCOMPARE(ws.rows("sqlite_master WHERE type = 'table'", {"sql"}), (QList<QStringList>{
            {"CREATE TABLE settings (key TEXT UNIQUE, value TEXT)"},
            {"CREATE TABLE evaluation (name TEXT,lastName TEXT,level TEXT,codeGroup TEXT,fullEvaluation TEXT,endOfYear TEXT,evaluationDate TEXT)"},
            {"CREATE TABLE log (date TEXT,evaluationId TEXT,test TEXT,key TEXT,value TEXT)"},
        }));
        QCOMPARE(ws.rows("settings", {"key", "value"}), (QList<QStringList>{{"status", "1"}}));
    }

    void logIndexedByEvaluation_data()
    {
        QTest::addColumn<QStringList>("before");
        const QStringList earlierVersion{
            "CREATE TABLE settings (key TEXT UNIQUE, value TEXT)",
            "INSERT INTO settings (key, value) VALUES ('status', '1')",
            "CREATE TABLE evaluation (name TEXT,lastName TEXT,level TEXT,codeGroup TEXT,fullEvaluation TEXT,"
            "endOfYear TEXT,evaluationDate TEXT)",
            "CREATE TABLE log (date TEXT,evaluationId TEXT,test TEXT,key TEXT,value TEXT)",
            "INSERT INTO evaluation (name) VALUES ('Ana')",
            "INSERT INTO log (evaluationId, test, key, value) VALUES ('1', 'VD1A', 'FILE', '20240506090000')"};
        QTest::newRow("new file") << QStringList();
        QTest::newRow("file of an earlier version") << earlierVersion;
        QTest::newRow("already indexed")
            << (earlierVersion + QStringList{"CREATE INDEX log_evaluationId ON log (evaluationId)"});
    }

    void logIndexedByEvaluation()
    {
        QFETCH(QStringList, before);
        TestWorkspace ws(false);
        QVERIFY(before.isEmpty() || ws.execute(before));
        const QList<QStringList> tables = ws.rows("sqlite_master WHERE type = 'table'", {"sql"});
        {
            DatabaseManager db;
            QVERIFY(db.openDatabase());
            QVERIFY(db.insertRecord("log", {{"evaluationId", "2"}, {"key", "TIME"}, {"value", "30000"}}, nullptr));
            // The lookups of the export and of the deletion go through the index.
            for (const QString &lookup : {QString("SELECT * FROM log WHERE evaluationId = 2"),
                                          QString("DELETE FROM log WHERE evaluationId = 2")}) {
                QVERIFY(db.execQuery("EXPLAIN QUERY PLAN " + lookup));
                QVERIFY(db.nextRow());
                QVERIFY2(db.valueOf("detail").contains("USING INDEX log_evaluationId"), qPrintable(db.valueOf("detail")));
            }
            QVERIFY(db.deleteEvaluation(2));
        }
        QCOMPARE(ws.rows("sqlite_master WHERE type = 'index' AND tbl_name = 'log'", {"sql"}),
                 QList<QStringList>{{"CREATE INDEX log_evaluationId ON log (evaluationId)"}});
        // What was stored stays as it was, tables and rows alike.
        if (!before.isEmpty()) {
            QCOMPARE(ws.rows("sqlite_master WHERE type = 'table'", {"sql"}), tables);
            QCOMPARE(ws.logRows(), (QList<QStringList>{{"1", "VD1A", "FILE", "20240506090000"}}));
        }
    }

    void schemaCreationIsAllOrNothing_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("columns");
        // A file left half-made: one table in the way of the schema, no marker.
        QTest::newRow("log in the way") << "log" << "x TEXT";
        QTest::newRow("settings without marker") << "settings" << "key TEXT UNIQUE, value TEXT";
    }

    void schemaCreationIsAllOrNothing()
    {
        QFETCH(QString, table);
        QFETCH(QString, columns);
        TestWorkspace ws(false);
        QVERIFY(ws.execute({QString("CREATE TABLE %1 (%2)").arg(table, columns)}));
        {
            DatabaseManager db;
            QVERIFY(!db.openDatabase());
        }
        QCOMPARE(ws.rows("sqlite_master WHERE type = 'table'", {"name"}), QList<QStringList>{{table}});
        QVERIFY(ws.rows(table, {"ROWID"}).isEmpty());

        // Once the obstacle is gone the next start creates the whole schema.
        QVERIFY(ws.execute({"DROP TABLE " + table}));
        DatabaseManager db;
        QVERIFY(db.openDatabase());
        int id = 0;
        QVERIFY(db.insertRecord("log", {{"key", "k"}, {"value", "v"}}, &id));
        QCOMPARE(id, 1);
    }

    void storesValuesExactly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("apostrophe") << QString::fromUtf8("O'Higgins");
        QTest::newRow("double quotes") << QString::fromUtf8("\"comillas\" y 'otras'");
        QTest::newRow("accents") << QString::fromUtf8("Ñandú Pérez, cigüeña");
        QTest::newRow("empty") << QString("");
        QTest::newRow("null") << QString();
        QTest::newRow("semicolon and newline") << QString::fromUtf8("a;b\nc");
        QTest::newRow("statement inside") << QString::fromUtf8("x'); DROP TABLE log; --");
        QTest::newRow("placeholder-like") << QString::fromUtf8("? :value %1");
    }

    void storesValuesExactly()
    {
        QFETCH(QString, value);
        TestWorkspace ws(false);
        DatabaseManager db;
        QVERIFY(db.openDatabase());
        int id = 0;
        QVERIFY(db.insertRecord("log", {{"key", value}, {"value", value}}, &id));
        QCOMPARE(id, 1);
        // A null value is stored as an empty text, never as NULL.
        QCOMPARE(ws.rows("log", {"key", "value", "typeof(value)"}), (QList<QStringList>{{value, value, "text"}}));
    }

    void failedInsertKeepsId()
    {
        TestWorkspace ws(false);
        QVERIFY(ws.execute({"CREATE TABLE settings (key TEXT UNIQUE, value TEXT)",
                            "INSERT INTO settings (key, value) VALUES ('status', '1')"}));
        DatabaseManager db;
        QVERIFY(db.openDatabase()); // the marker is trusted
        int id = 7;
        QVERIFY(!db.insertRecord("log", {{"key", "k"}}, &id)); // no such table
        QVERIFY(!db.insertRecord("settings", {}, &id));        // no columns
        QCOMPARE(id, 7);
    }

    void currentQuery()
    {
        TestWorkspace ws(false);
        DatabaseManager db;
        QVERIFY(!db.nextRow()); // no query yet, not even a database
        QCOMPARE(db.valueOf("name"), QString(""));
        QVERIFY(db.openDatabase());
        QVERIFY(!db.execQuery("SELECT * FROM nowhere"));
        QVERIFY(!db.nextRow());
        QCOMPARE(db.valueOf("name"), QString(""));

        QVERIFY(db.insertRecord("evaluation", {{"name", "Ana"}, {"level", "3"}}, nullptr));
        QVERIFY(db.insertRecord("evaluation", {{"name", "Luis"}, {"level", "5"}}, nullptr));
        QVERIFY(db.execQuery("SELECT ROWID, name, level FROM evaluation"));
        QStringList read;
        while (db.nextRow())
            read << db.valueOf("rowid") + db.valueOf("name") + db.valueOf("level") + db.valueOf("notAColumn");
        QCOMPARE(read, (QStringList{"1Ana3", "2Luis5"}));
        QVERIFY(db.execQuery("DELETE FROM evaluation WHERE ROWID = 1"));
        QCOMPARE(ws.rows("evaluation", {"name"}), (QList<QStringList>{{"Luis"}}));
    }

    void storedRowSurvivesAKill()
    {
        TestWorkspace ws(false);
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            // Store one row, then die at once without any clean-up.
            DatabaseManager db;
            if (db.openDatabase() && db.insertRecord("log", {{"key", "TIME"}, {"value", "1234"}}, nullptr))
                kill(getpid(), SIGKILL);
            _exit(3);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, "the child could not store its row");
        QCOMPARE(ws.rows("log", {"key", "value"}), (QList<QStringList>{{"TIME", "1234"}}));
        QVERIFY(!QFile::exists(ws.filePath("data-journal")) || QFile(ws.filePath("data-journal")).size() == 0);
    }
};

QTEST_GUILESS_MAIN(TestDatabaseManager)
#include "tst_databasemanager.moc"
