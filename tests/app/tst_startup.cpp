#include "testenvironment.h"
#include "testworkspace.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {
QString program()
{
    return qEnvironmentVariable("RUMBOLO_BINARY_DIR") + "/app/rumbolo";
}

QString xdotool(const QStringList &args)
{
    QProcess p;
    p.start(QString("xdotool"), args);
    p.waitForFinished(5000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

// Starts the program in a directory, on the X display.
bool launch(QProcess &p, const QString &dir)
{
    p.setWorkingDirectory(dir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    p.setProcessEnvironment(env);
    p.start(program(), QStringList());
    return p.waitForStarted(5000);
}

// The program's first visible window (its main window or a message box), once there is one.
QString windowOf(const QProcess &p)
{
    return xdotool({"search", "--sync", "--onlyvisible", "--pid", QString::number(p.processId())}).split('\n').value(0);
}
}

// The program as an examiner starts it: a fresh working directory, a real X
// display, and OK pressed on every message box it shows.
class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        REQUIRE_ENVIRONMENT(!qEnvironmentVariableIsEmpty("DISPLAY"), "an X display (scripts/test.sh starts Xvfb)");
        REQUIRE_ENVIRONMENT(!QStandardPaths::findExecutable("xdotool").isEmpty(), "xdotool");
        QVERIFY2(QFile::exists(program()), qPrintable(program()));
    }

    void failuresEndWithStatusOne_data()
    {
        QTest::addColumn<QStringList>("filesInTheWay");
        QTest::addColumn<bool>("databaseInTheWay");
        QTest::addColumn<bool>("alreadyOpen"); // another program runs in the same folder
        QTest::addColumn<QStringList>("expected");
        const QString recordings = "Problemas creando el directorio de grabaciones.";
        const QString packages = "Problemas creando el directorio de sincronización.";
        const QString database = "Problemas de la conexión con la base de datos.";
        QTest::newRow("recordings") << QStringList{"grabaciones"} << false << false << QStringList{recordings};
        QTest::newRow("packages") << QStringList{"envios"} << false << false << QStringList{packages};
        QTest::newRow("both") << QStringList{"grabaciones", "envios"} << false << false
                              << QStringList{recordings, packages};
        QTest::newRow("database") << QStringList{} << true << false << QStringList{database};
        QTest::newRow("all three") << QStringList{"grabaciones", "envios"} << true << false
                                   << QStringList{recordings, packages, database};
        QTest::newRow("already open") << QStringList{} << false << true
                                      << QStringList{QString::fromUtf8("Rumbolo ya está abierto.")};
    }

    // Each message box is answered with Return on the program's window, in the order shown.
    void failuresEndWithStatusOne()
    {
        QFETCH(QStringList, filesInTheWay);
        QFETCH(bool, databaseInTheWay);
        QFETCH(bool, alreadyOpen);
        QFETCH(QStringList, expected);
        TestWorkspace ws(false);
        QProcess first;
        if (alreadyOpen) {
            QVERIFY(launch(first, ws.path()));
            QVERIFY(!windowOf(first).isEmpty());
        }
        for (const QString &name : filesInTheWay) {
            QFile f(ws.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        if (databaseInTheWay)
            QVERIFY(QDir(ws.path()).mkdir("data")); // a directory cannot be opened as the database

        QProcess p;
        QVERIFY(launch(p, ws.path()));
        QStringList messages;
        QByteArray pending;
        QElapsedTimer clock, sinceAnswer;
        clock.start();
        for (int answered = 0; p.state() != QProcess::NotRunning && clock.elapsed() < 30000;) {
            p.waitForReadyRead(100);
            pending += p.readAllStandardError();
            for (int nl; (nl = pending.indexOf('\n')) >= 0; pending.remove(0, nl + 1)) {
                if (pending.startsWith("[message] "))
                    messages << QString::fromUtf8(pending.mid(10, nl - 10));
            }
            const bool stuck = answered == messages.size() && answered > 0 && sinceAnswer.elapsed() > 3000;
            if (answered < messages.size() || stuck) {
                const QString window = windowOf(p);
                if (!window.isEmpty()) {
                    xdotool({"windowfocus", "--sync", window});
                    xdotool({"key", "Return"});
                }
                answered = messages.size();
                sinceAnswer.restart();
            }
        }
        xdotool({"keyup", "Return"});
        QCOMPARE(messages, expected);
        QCOMPARE(p.state(), QProcess::NotRunning);
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        if (alreadyOpen) {
            QCOMPARE(first.state(), QProcess::Running); // the first one goes on
            first.terminate();
            QVERIFY(first.waitForFinished(5000));
        }
    }

    void normalStartShowsTheWindow_data()
    {
        QTest::addColumn<bool>("afterKilledProgram");
        QTest::newRow("fresh folder") << false;
        QTest::newRow("lock of a killed program") << true; // taken over
    }

    void normalStartShowsTheWindow()
    {
        QFETCH(bool, afterKilledProgram);
        TestWorkspace ws(false);
        if (afterKilledProgram) {
            QProcess killed;
            QVERIFY(launch(killed, ws.path()));
            QVERIFY(!windowOf(killed).isEmpty());
            killed.kill();
            QVERIFY(killed.waitForFinished(5000));
            QVERIFY(QFile::exists(ws.filePath("rumbolo.lock")));
        }
        QProcess p;
        QVERIFY(launch(p, ws.path()));
        const QString window = windowOf(p);
        QVERIFY(!window.isEmpty());
        QCOMPARE(xdotool({"getwindowname", window}), QString("Rumbolo"));
        const QString geometry = xdotool({"getwindowgeometry", window});
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
