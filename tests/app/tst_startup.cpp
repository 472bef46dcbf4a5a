#include "testenvironment.h"
#include "testworkspace.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <sys/stat.h>

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

// A click at a point of the window (800 x 580 without a window manager).
void clickAt(const QString &window, int x, int y)
{
    xdotool({"mousemove", "--window", window, "--sync", QString::number(x), QString::number(y), "click", "1"});
    QTest::qWait(300);
}

// The files of the working directory's "grabaciones", by name.
QStringList recordings(const TestWorkspace &ws)
{
    return QDir(ws.filePath("grabaciones")).entryList(QDir::Files, QDir::Name);
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
        QTest::addColumn<QString>("lacking");  // of the tests' pictures and prompts: "", "all" or one file
        QTest::addColumn<QStringList>("expected");
        const QString recordings = "Problemas creando el directorio de grabaciones.";
        const QString packages = "Problemas creando el directorio de sincronización.";
        const QString database = "Problemas de la conexión con la base de datos.";
        const QString materials = QString::fromUtf8(
            "Faltan imágenes o sonidos de las pruebas en esta carpeta. Inicie Rumbolo desde su carpeta de trabajo.");
        QTest::newRow("recordings") << QStringList{"grabaciones"} << false << false << "" << QStringList{recordings};
        QTest::newRow("packages") << QStringList{"envios"} << false << false << "" << QStringList{packages};
        QTest::newRow("both") << QStringList{"grabaciones", "envios"} << false << false << ""
                              << QStringList{recordings, packages};
        QTest::newRow("database") << QStringList{} << true << false << "" << QStringList{database};
        QTest::newRow("all three") << QStringList{"grabaciones", "envios"} << true << false << ""
                                   << QStringList{recordings, packages, database};
        QTest::newRow("already open") << QStringList{} << false << true << ""
                                      << QStringList{QString::fromUtf8("Rumbolo ya está abierto.")};
        QTest::newRow("empty folder") << QStringList{} << false << false << "all" << QStringList{materials};
        QTest::newRow("one prompt missing") << QStringList{} << false << false << "sounds/PA2A/s.wav"
                                            << QStringList{materials};
    }

    // The stimulus kit in a folder of real directories, one link per file, but
    // for one file.
    static bool linkKitWithout(const TestWorkspace &ws, const QString &left)
    {
        const QDir kit(TestWorkspace::kitDirectory());
        bool found = false;
        for (QDirIterator it(kit.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = kit.relativeFilePath(it.next());
            if (path == left) {
                found = true;
                continue;
            }
            if (!QDir().mkpath(QFileInfo(ws.filePath(path)).path()) || !QFile::link(kit.filePath(path), ws.filePath(path)))
                return false;
        }
        return found;
    }

    // Each message box is answered with Return on the program's window, in the order shown.
    void failuresEndWithStatusOne()
    {
        QFETCH(QStringList, filesInTheWay);
        QFETCH(bool, databaseInTheWay);
        QFETCH(bool, alreadyOpen);
        QFETCH(QString, lacking);
        QFETCH(QStringList, expected);
        TestWorkspace ws(lacking.isEmpty());
        QVERIFY2(lacking.isEmpty() || lacking == "all" || linkKitWithout(ws, lacking), qPrintable(lacking));
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
        QByteArray pending, output;
        QElapsedTimer clock, sinceAnswer;
        clock.start();
        for (int answered = 0; p.state() != QProcess::NotRunning && clock.elapsed() < 30000;) {
            p.waitForReadyRead(100);
            const QByteArray arrived = p.readAllStandardError();
            output += arrived;
            pending += arrived;
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
        if (!lacking.isEmpty()) {
            // Nothing is made in a folder that lacks them, and the debug output names what is missing.
            for (const char *made : {"data", "grabaciones", "envios", "rumbolo.lock"})
                QVERIFY2(!QFileInfo::exists(ws.filePath(made)), made);
            QVERIFY2(output.contains(lacking == "all" ? "images/" : lacking.toUtf8()), output.constData());
        }
        if (alreadyOpen) {
            QCOMPARE(first.state(), QProcess::Running); // the first one goes on
            first.terminate();
            QVERIFY(first.waitForFinished(5000));
        }
    }

    void normalStartShowsTheWindow_data()
    {
        QTest::addColumn<bool>("afterKilledProgram");
        QTest::addColumn<bool>("leftOpen"); // by an earlier version: readable by every account
        QTest::newRow("fresh folder") << false << false;
        QTest::newRow("lock of a killed program") << true << false; // taken over
        QTest::newRow("data left open") << false << true;            // narrowed to the owner
    }

    // The program is killed (kill -9) while it records the child's naming of
    // the pictures: the recording, which no row names and whose header never
    // got its sizes, is removed when the program starts again, and nothing else is.
    void recordingOfAKilledProgramIsRemoved()
    {
        TestWorkspace ws;
        QVERIFY2(ws.hasKit(), "the stimulus kit is not built (RUMBOLO_KIT_DIR)");
        QProcess p;
        QVERIFY(launch(p, ws.path()));
        const QString window = windowOf(p);
        QVERIFY(!window.isEmpty());
        // "Evaluación individual", the child's names, the first level, start.
        clickAt(window, 706, 70);
        clickAt(window, 268, 53);
        xdotool({"type", "--delay", "30", "Ana"});
        clickAt(window, 268, 88);
        xdotool({"type", "--delay", "30", "Soto"});
        clickAt(window, 205, 122);
        clickAt(window, 281, 488);
        QTRY_COMPARE_WITH_TIMEOUT(ws.rows("evaluation", {"name"}), QList<QStringList>{{"Ana"}}, 10000);
        // The naming test: its title, its example, its test phase (recorded).
        clickAt(window, 400, 290);
        clickAt(window, 85, 550);
        clickAt(window, 245, 550);
        QTRY_VERIFY2_WITH_TIMEOUT(recordings(ws).size() == 1 && QFileInfo(ws.filePath("grabaciones/" + recordings(ws)[0])).size() > 44,
                                  qPrintable("no recording under way (is the audio server running?): "
                                             + recordings(ws).join(' ') + QString::fromLocal8Bit(p.readAllStandardError())),
                                  10000);
        const QString cut = recordings(ws).value(0);
        p.kill();
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitStatus(), QProcess::CrashExit);
        QFile killed(ws.filePath("grabaciones/" + cut));
        QVERIFY(killed.open(QIODevice::ReadOnly));
        QCOMPARE(killed.read(44).mid(40, 4), QByteArray(4, '\0')); // the data size was never written
        killed.close();

        // Beside it: a recording that a row names, and files whose names are
        // not recording names.
        QVERIFY(ws.execute({"INSERT INTO log (date, evaluationId, test, key, value) VALUES "
                            "('2020-01-01 12:00:00', '1', 'VD1A', 'FILE', '20200101120000')"}));
        const QStringList kept = {"20200101120000.wav", "20200101120000.wav.txt", "2020010112000.wav",
                                  "20201301120000.wav", "notas.wav"};
        for (const QString &name : kept) {
            QFile f(ws.filePath("grabaciones/" + name));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("RIFF") == 4);
        }

        QProcess again;
        QVERIFY(launch(again, ws.path()));
        QVERIFY(!windowOf(again).isEmpty());
        const QString removal = "[recordings] " + QDir::toNativeSeparators(ws.filePath("grabaciones/" + cut))
            + " removed: no stored row names it";
        QString log;
        QTRY_VERIFY2_WITH_TIMEOUT((log += QString::fromLocal8Bit(again.readAllStandardError())).contains(removal),
                                  qPrintable(log), 5000);
        QStringList expected = kept, left = recordings(ws);
        expected.sort();
        left.sort();
        QCOMPARE(left, expected);
        QCOMPARE(log.count("[recordings]"), 1);
        again.terminate();
        QVERIFY(again.waitForFinished(5000));
    }

    void normalStartShowsTheWindow()
    {
        QFETCH(bool, afterKilledProgram);
        QFETCH(bool, leftOpen);
        TestWorkspace ws;
        // The children's data is the examiner's alone, whatever the umask.
        const mode_t umaskBefore = ::umask(022);
        auto restoreUmask = qScopeGuard([=] { ::umask(umaskBefore); });
        const QStringList data = {"data", "grabaciones", "grabaciones/notas.txt", "envios", "envios/evaluation_1.zip"};
        if (leftOpen) {
            for (const QString &path : data) {
                if (path.contains('.'))
                    QVERIFY(QFile(ws.filePath(path)).open(QIODevice::WriteOnly));
                else if (path != "data")
                    QVERIFY(QDir(ws.path()).mkdir(path));
            }
            QVERIFY(QFile(ws.filePath("data")).open(QIODevice::WriteOnly)); // an empty database
        }
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
        // A folder's first start makes the database right after the window shows.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(ws.filePath("data")).isFile(), 5000);
        for (const QString &path : data) {
            struct stat entry;
            if (::stat(QFile::encodeName(ws.filePath(path)).constData(), &entry) != 0)
                continue; // not made by this start
            QCOMPARE(QString::number(entry.st_mode & 0777, 8), S_ISDIR(entry.st_mode) ? "700" : "600");
        }
        QCOMPARE(p.state(), QProcess::Running);
        p.terminate();
        QVERIFY(p.waitForFinished(5000));
        const QByteArray output = p.readAllStandardError();
        QVERIFY(!output.contains("[message]"));
        QCOMPARE(output.count("[permissions]"), leftOpen ? 1 : 0); // said once, and only when narrowed
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
