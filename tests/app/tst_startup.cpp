#include "testworkspace.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

// The program as an examiner starts it: a fresh working directory, a real X
// display, and OK pressed on every message box it shows.
class TestStartup : public QObject
{
    Q_OBJECT

private:
    static QString program() { return qEnvironmentVariable("RUMBOLO_BINARY_DIR") + "/app/rumbolo"; }

    static QString xdotool(const QStringList &args)
    {
        QProcess p;
        p.start(QString("xdotool"), args);
        p.waitForFinished(5000);
        return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    }

    // Runs the program until it exits, pressing Return on each message box it
    // reports. Returns the messages in the order they were shown.
    static QStringList runAnsweringMessages(const QString &dir, int *exitCode)
    {
        QProcess p;
        p.setWorkingDirectory(dir);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        p.setProcessEnvironment(env);
        p.start(program(), QStringList());
        if (!p.waitForStarted(5000))
            return {"<not started>"};

        QStringList messages;
        QByteArray pending;
        QElapsedTimer clock;
        clock.start();
        int answered = 0;
        QElapsedTimer sinceAnswer;
        while (p.state() != QProcess::NotRunning && clock.elapsed() < 30000) {
            p.waitForReadyRead(100);
            pending += p.readAllStandardError();
            int nl;
            while ((nl = pending.indexOf('\n')) >= 0) {
                const QString line = QString::fromUtf8(pending.left(nl));
                pending.remove(0, nl + 1);
                if (line.startsWith("[message] "))
                    messages << line.mid(10);
            }
            const bool newMessage = answered < messages.size();
            const bool stuck = answered == messages.size() && answered > 0 && sinceAnswer.elapsed() > 3000;
            if (newMessage || stuck) {
                // Focus the program's visible window (the message box) and press Return.
                const QString ids = xdotool({"search", "--sync", "--onlyvisible", "--pid",
                                             QString::number(p.processId())});
                const QString id = ids.split('\n').value(0);
                if (!id.isEmpty()) {
                    xdotool({"windowfocus", "--sync", id});
                    xdotool({"key", "Return"});
                }
                answered = messages.size();
                sinceAnswer.restart();
            }
        }
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(5000);
            *exitCode = -1;
        } else {
            *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        }
        xdotool({"keyup", "Return"});
        return messages;
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X display (scripts/test.sh starts Xvfb)");
        if (QStandardPaths::findExecutable("xdotool").isEmpty())
            QSKIP("needs xdotool");
        QVERIFY2(QFile::exists(program()), qPrintable(program()));
    }

    void failuresEndWithStatusOne_data()
    {
        QTest::addColumn<QStringList>("filesInTheWay");
        QTest::addColumn<bool>("databaseInTheWay");
        QTest::addColumn<QStringList>("expected");
        const QString recordings = QString::fromUtf8("Problemas creando el directorio de grabaciones.");
        const QString packages = QString::fromUtf8("Problemas creando el directorio de sincronización.");
        const QString database = QString::fromUtf8("Problemas de la conexión con la base de datos.");
        QTest::newRow("recordings") << QStringList{"grabaciones"} << false << QStringList{recordings};
        QTest::newRow("packages") << QStringList{"envios"} << false << QStringList{packages};
        QTest::newRow("both") << QStringList{"grabaciones", "envios"} << false << QStringList{recordings, packages};
        QTest::newRow("database") << QStringList{} << true << QStringList{database};
        QTest::newRow("all three") << QStringList{"grabaciones", "envios"} << true
                                   << QStringList{recordings, packages, database};
    }

    void failuresEndWithStatusOne()
    {
        QFETCH(QStringList, filesInTheWay);
        QFETCH(bool, databaseInTheWay);
        QFETCH(QStringList, expected);
        TestWorkspace ws(false);
        for (const QString &name : filesInTheWay) {
            QFile f(ws.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        if (databaseInTheWay)
            QVERIFY(QDir(ws.path()).mkdir("data")); // a directory cannot be opened as the database

        int exitCode = 0;
        const QStringList messages = runAnsweringMessages(ws.path(), &exitCode);
        QCOMPARE(messages, expected);
        QCOMPARE(exitCode, 1);
    }

    void normalStartShowsTheWindow()
    {
        TestWorkspace ws(false);
        QProcess p;
        p.setWorkingDirectory(ws.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        p.setProcessEnvironment(env);
        p.start(program(), QStringList());
        QVERIFY(p.waitForStarted(5000));
        const QString id = xdotool({"search", "--sync", "--onlyvisible", "--pid", QString::number(p.processId())});
        QVERIFY(!id.isEmpty());
        const QString wid = id.split('\n').value(0);
        QCOMPARE(xdotool({"getwindowname", wid}), QString("Rumbolo"));
        const QString geometry = xdotool({"getwindowgeometry", wid});
        QVERIFY2(geometry.contains("800x580"), qPrintable(geometry));
        QVERIFY(QFileInfo(ws.filePath("grabaciones")).isDir());
        QVERIFY(QFileInfo(ws.filePath("envios")).isDir());
        QVERIFY(QFileInfo(ws.filePath("data")).isFile());
        QVERIFY(!p.readAllStandardError().contains("[message]"));
        QCOMPARE(p.state(), QProcess::Running);
        p.terminate();
        QVERIFY(p.waitForFinished(5000));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
