// rumbolo-bench: the in-process measurements of scripts/bench.sh. Each command
// prints "name value" lines for the script to read.
//
//   rumbolo-bench store --dir DIR --count N [--warm-up 20]
//       N answers stored through MainWindow::logValueForKey (and N rows through
//       DatabaseManager::insertRecord) in a fresh working directory, after a
//       few answers that are not timed.
//   rumbolo-bench prepare-sync --dir DIR --kit KITDIR [--evaluations 50] [--recordings 5] [--seconds 60]
//       The upload benchmark's material (see SyncWorkspace).
//   rumbolo-bench clone-sync --dir DIR --to TARGET [--kit KITDIR]
//       A fresh working directory with the stored evaluations for one run.
//   rumbolo-bench sync --dir RUNDIR --url URL --ca CA --user USER --password PASSWORD [--standalone]
//       Presses "Enviar" on the upload page of a real MainWindow (or of a
//       FormSync of its own with --standalone) and waits for the closing message.
//   rumbolo-bench startup-parts --dir DIR [--whole]
//       How long each long-lived object of the main window takes to construct
//       (with --whole: the MainWindow constructor as a whole).
//   rumbolo-bench touch --dir DIR [--evaluations 2]
//       From a click sent through the X server to the frame that shows its
//       result, over full evaluations (see TouchLatency); one line per sample.
//   rumbolo-bench battery --dir DIR [--batteries 3] [--step-ms 30]
//       Resident memory on the administration window and after each of several
//       full evaluations driven through their screens in one process.

#include "adminwindow.h"
#include "batterydriver.h"
#include "databasemanager.h"
#include "formsync.h"
#include "mainwindow.h"
#include "processsettings.h"
#include "messageboxcatcher.h"
#include "processmemory.h"
#include "startupparts.h"
#include "syncworkspace.h"
#ifdef RUMBOLO_BENCH_TOUCH
#include "touchlatency.h"
#endif

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QSslConfiguration>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <memory>
#include <sys/resource.h>

namespace {

QTextStream out(stdout);

void report(const QString &name, const QVariant &value)
{
    out << name << ' ' << value.toString() << '\n';
    out.flush();
}

// "--name value" options after the command.
class Arguments
{
public:
    explicit Arguments(const QStringList &list)
    {
        for (int i = 0; i < list.size(); ++i) {
            if (!list[i].startsWith("--"))
                continue;
            const QString name = list[i].mid(2);
            if (i + 1 < list.size() && !list[i + 1].startsWith("--"))
                values.insert(name, list[++i]);
            else
                values.insert(name, QString());
        }
    }
    QString text(const QString &name, const QString &fallback = QString()) const { return values.value(name, fallback); }
    int number(const QString &name, int fallback) const
    {
        return values.contains(name) ? values.value(name).toInt() : fallback;
    }
    bool flag(const QString &name) const { return values.contains(name); }

private:
    QHash<QString, QString> values;
};

int fail(const QString &message)
{
    QTextStream(stderr) << "rumbolo-bench: " << message << '\n';
    return 1;
}

void waitMs(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

qint64 maxResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int storeCommand(const Arguments &args)
{
    const QString dir = args.text("dir");
    const int count = args.number("count", 200);
    if (dir.isEmpty() || !QDir().mkpath(dir) || !QDir::setCurrent(dir))
        return fail("store: --dir must name a directory that can be created");

    MessageBoxCatcher closer(nullptr, 2);
    MainWindow window;
    if (!window.startedSuccessfully())
        return fail("store: the main window did not start: " + closer.messages().join(" / "));
    window.startGame("Ana", QString::fromUtf8("Pérez"), 1, "", true, false);
    if (window.currentEvaluationId() == 0)
        return fail("store: no evaluation started");

    // A few answers first, not timed, as the yardstick does: the first
    // transactions on a fresh file cost more than the rest.
    const int warmUp = args.number("warm-up", 20);
    for (int i = 0; i < warmUp; ++i) {
        if (!window.logValueForKey("warm-up", QString::number(i)))
            return fail("store: an answer was not stored");
    }

    // Answers as the tests report them, each through the controller's slot.
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i) {
        if (!window.logValueForKey(QString("item%1").arg(i % 12), QString::number(1000 + i)))
            return fail("store: an answer was not stored");
    }
    const qint64 slotNs = clock.nsecsElapsed();

    // The same number of rows straight through the store, to tell the
    // controller's share from the database's.
    DatabaseManager *database = window.databaseManager();
    const QString id = QString::number(window.currentEvaluationId());
    clock.restart();
    for (int i = 0; i < count; ++i) {
        QHash<QString, QString> row{{"date", "2024-05-06 09:12:00"}, {"evaluationId", id}, {"test", "VD1A"},
                                    {"key", QString("item%1").arg(i % 12)}, {"value", QString::number(1000 + i)}};
        if (!database->insertRecord("log", row, nullptr))
            return fail("store: a row was not inserted");
    }
    const qint64 insertNs = clock.nsecsElapsed();

    database->execQuery("SELECT count(*) AS n FROM log WHERE evaluationId = " + id);
    database->nextRow();
    report("store_rows", database->valueOf("n").toInt() - warmUp);
    report("store_calls", count);
    report("store_slot_total_ms", QString::number(slotNs / 1e6, 'f', 1));
    report("store_slot_per_call_us", QString::number(slotNs / 1e3 / count, 'f', 1));
    report("store_insert_per_call_us", QString::number(insertNs / 1e3 / count, 'f', 1));
    return 0;
}

int prepareSyncCommand(const Arguments &args)
{
    SyncWorkspace::Options options;
    options.evaluations = args.number("evaluations", 50);
    options.recordingsPerEvaluation = args.number("recordings", 5);
    options.secondsPerRecording = args.number("seconds", 60);
    options.kitSounds = args.text("kit") + "/sounds";
    SyncWorkspace workspace(args.text("dir"));
    QString error;
    if (args.text("dir").isEmpty() || !workspace.prepare(options, error))
        return fail("prepare-sync: " + error);
    report("prepared_evaluations", options.evaluations);
    return 0;
}

int cloneSyncCommand(const Arguments &args)
{
    SyncWorkspace workspace(args.text("dir"));
    QString error;
    if (args.text("to").isEmpty() || !workspace.cloneMaster(args.text("to"), args.text("kit"), error))
        return fail("clone-sync: " + error);
    return 0;
}

int syncCommand(const Arguments &args)
{
    const QString dir = args.text("dir");
    if (dir.isEmpty() || !QDir::setCurrent(dir))
        return fail("sync: --dir must name the run directory");

    // The service's own certificate authority, trusted by this process only.
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    if (!tls.addCaCertificates(args.text("ca")))
        return fail("sync: cannot read the CA certificate " + args.text("ca"));
    QSslConfiguration::setDefaultConfiguration(tls);

    MessageBoxCatcher closer(nullptr, 2);
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<DatabaseManager> database;
    std::unique_ptr<FormSync> standalone;
    FormSync *form = nullptr;
    if (args.flag("standalone")) {
        database.reset(new DatabaseManager());
        if (!database->openDatabase())
            return fail("sync: cannot open the database");
        standalone.reset(new FormSync());
        standalone->setDatabaseManager(database.get());
        form = standalone.get();
        form->show();
    } else {
        window.reset(new MainWindow());
        if (!window->startedSuccessfully())
            return fail("sync: the main window did not start");
        window->show();
        window->administrationWindow()->buttonSync();
        form = window->administrationWindow()->findChild<FormSync *>();
    }
    if (!form)
        return fail("sync: no upload page");
    form->setServerAddress(args.text("url"));
    auto *user = form->findChild<QLineEdit *>("lineEditUsername");
    auto *password = form->findChild<QLineEdit *>("lineEditPassword");
    auto *button = form->findChild<QPushButton *>("buttonSync");
    if (!user || !password || !button)
        return fail("sync: the upload page lacks its fields");
    user->setText(args.text("user"));
    password->setText(args.text("password"));
    waitMs(300); // shown and painted, as when the examiner reaches the page

    const qint64 before = ProcessMemory::residentKiB();
    const qint64 peakBefore = ProcessMemory::peakKiB();
    const bool peakReset = ProcessMemory::resetPeak();

    QEventLoop loop;
    QElapsedTimer clock;
    qint64 elapsedNs = -1;
    QString message;
    QObject::connect(&closer, &MessageBoxCatcher::appeared, &loop, [&](const QString &text) {
        if (elapsedNs < 0) {
            elapsedNs = clock.nsecsElapsed();
            message = text;
            loop.quit();
        }
    });
    QTimer::singleShot(0, [&] {
        clock.start();
        button->click();
    });
    QTimer::singleShot(30 * 60 * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    waitMs(50); // let the box close

    report("sync_ms", QString::number(elapsedNs / 1e6, 'f', 1));
    report("sync_message", message);
    report("rss_before_kib", before);
    report("peak_before_kib", peakBefore);
    report("peak_during_kib", peakReset ? ProcessMemory::peakKiB() : -1);
    report("maxrss_kib", maxResidentKiB());
    return message == QString::fromUtf8("Los datos fueron enviados correctamente.") ? 0 : 2;
}

int startupPartsCommand(const Arguments &args)
{
    const QString dir = args.text("dir");
    if (dir.isEmpty() || !QDir().mkpath(dir) || !QDir::setCurrent(dir))
        return fail("startup-parts: --dir must name a directory that can be created");
    if (args.flag("whole")) {
        QElapsedTimer clock;
        clock.start();
        MainWindow window;
        const qint64 constructed = clock.nsecsElapsed();
        // The program builds what the welcome page does not show (the test
        // screens, the other pages, the abort dialog, the audio objects) after
        // its first paint; here it is built first, to time it on its own.
        window.game("VD1A");
        const qint64 hidden = clock.nsecsElapsed();
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return fail("startup-parts: the window was not exposed");
        report("whole MainWindow::MainWindow", QString::number(constructed / 1e6, 'f', 1));
        report("whole show_until_exposed", QString::number((clock.nsecsElapsed() - hidden) / 1e6, 'f', 1));
        report("whole built_after_the_first_paint", QString::number((hidden - constructed) / 1e6, 'f', 1));
        return 0;
    }
    for (const StartupParts::Part &part : StartupParts::measure())
        report(QString(part.beforeFirstFrame ? "part " : "after ") + QString(part.name).replace(' ', '_'),
               QString::number(part.ms, 'f', 1));
    return 0;
}

int touchCommand(const Arguments &args)
{
#ifdef RUMBOLO_BENCH_TOUCH
    const QString dir = args.text("dir");
    if (dir.isEmpty() || !QDir::setCurrent(dir))
        return fail("touch: --dir must name the run directory");
    MessageBoxCatcher closer(nullptr, 2);
    MainWindow window;
    if (!window.startedSuccessfully())
        return fail("touch: the main window did not start");
    window.show();
    waitMs(1500);
    TouchLatency touch(&window, 11);
    touch.setAnswerTests({"CF2A", "CL1A"});
    QString problem;
    if (!touch.open(&problem))
        return fail("touch: " + problem);
    const int evaluations = args.number("evaluations", 2);
    int status = 0;
    for (int i = 1; i <= evaluations; ++i) {
        if (!touch.runEvaluation(10 * 60 * 1000))
            status = 2;
        waitMs(1000); // closing message dismissed
    }
    for (const TouchLatency::Sample &sample : touch.samples())
        report("sample", QString("%1 %2 %3").arg(sample.move, sample.test).arg(sample.ms, 0, 'f', 0));
    report("forced", touch.forced());
    return status;
#else
    Q_UNUSED(args);
    return fail("touch: built without the X test and damage extensions (scripts/install-deps.sh)");
#endif
}

int batteryCommand(const Arguments &args)
{
    const QString dir = args.text("dir");
    const int batteries = args.number("batteries", 3);
    if (dir.isEmpty() || !QDir::setCurrent(dir))
        return fail("battery: --dir must name the run directory");

    MessageBoxCatcher closer(nullptr, 2);
    MainWindow window;
    if (!window.startedSuccessfully())
        return fail("battery: the main window did not start");
    window.show();
    waitMs(1500);
    report("admin_rss_kib", ProcessMemory::residentKiB());
    report("admin_anon_kib", ProcessMemory::residentAnonymousKiB());
    report("admin_file_kib", ProcessMemory::residentFileKiB());
    report("admin_heap_kib", ProcessMemory::heapInUseKiB());

    BatteryDriver driver(&window, 7);
    driver.setStepInterval(args.number("step-ms", 30));
    int status = 0;
    for (int i = 1; i <= batteries; ++i) {
        const int messagesBefore = closer.messages().size();
        const BatteryDriver::Result result = driver.runFullEvaluation("Ana", 10 * 60 * 1000);
        waitMs(1000); // closing message dismissed, welcome page painted
        const QString prefix = QString("battery_%1_").arg(i);
        report(prefix + "completed", result.completed ? 1 : 0);
        report(prefix + "tests", result.tests.join(','));
        report(prefix + "forced", result.forced);
        report(prefix + "presses", result.presses);
        report(prefix + "keys", result.keys);
        report(prefix + "seconds", QString::number(result.milliseconds / 1000.0, 'f', 1));
        report(prefix + "message", closer.messages().mid(messagesBefore).join(" / "));
        report(prefix + "rss_kib", ProcessMemory::residentKiB());
        report(prefix + "anon_kib", ProcessMemory::residentAnonymousKiB());
        report(prefix + "file_kib", ProcessMemory::residentFileKiB());
        report(prefix + "heap_kib", ProcessMemory::heapInUseKiB());
        // Read once more after malloc has returned its free pages: growth that
        // remains is memory in use, not memory the allocator keeps.
        ProcessMemory::releaseFreeHeap();
        report(prefix + "trimmed_rss_kib", ProcessMemory::residentKiB());
        if (!result.completed)
            status = 2;
    }
    window.databaseManager()->execQuery("SELECT count(*) AS n FROM log");
    window.databaseManager()->nextRow();
    report("log_rows", window.databaseManager()->valueOf("n"));
    report("maxrss_kib", maxResidentKiB());
    return status;
}
}

int main(int argc, char *argv[])
{
    // The process as the application's own main() sets it up.
    ProcessSettings::apply();
    QApplication application(argc, argv);
    const QStringList list = QApplication::arguments().mid(1);
    const QString command = list.value(0);
    const Arguments args(list.mid(1));
    if (command == "store")
        return storeCommand(args);
    if (command == "prepare-sync")
        return prepareSyncCommand(args);
    if (command == "clone-sync")
        return cloneSyncCommand(args);
    if (command == "sync")
        return syncCommand(args);
    if (command == "startup-parts")
        return startupPartsCommand(args);
    if (command == "battery")
        return batteryCommand(args);
    if (command == "touch")
        return touchCommand(args);
    return fail("unknown command '" + command + "' (store, prepare-sync, clone-sync, sync, startup-parts, battery, touch)");
}
