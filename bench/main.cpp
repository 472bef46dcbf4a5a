// rumbolo-bench: the in-process measurements of scripts/bench.sh. Each command
// prints "name value" lines for the script to read.
//
//   rumbolo-bench store --dir DIR --count N [--warm-up 20]
//       N answers stored through MainWindow::logValueForKey (and N rows through
//       DatabaseManager::insertRecord) in a fresh working directory, after a
//       few answers that are not timed.
//   rumbolo-bench prepare-sync --dir DIR --kit KITDIR [--evaluations 50] [--recordings 5] [--seconds 60]
//                              [--distinct-recordings 0]
//       The upload benchmark's material (see SyncWorkspace).
//   rumbolo-bench clone-sync --dir DIR --to TARGET [--kit KITDIR]
//       A fresh working directory with the stored evaluations for one run.
//   rumbolo-bench sync --dir RUNDIR --url URL --ca CA --user USER --password PASSWORD [--standalone]
//       Presses "Enviar" on the upload page of a real MainWindow (or of a
//       FormSync of its own with --standalone) and waits for the closing message.
//   rumbolo-bench startup-parts --dir DIR [--whole]
//       How long each long-lived object of the main window takes to construct
//       (with --whole: the MainWindow constructor as a whole).
//   rumbolo-bench touch --dir DIR [--evaluations 2] [--tests CF2A,CL1A]
//       From a click sent through the X server to the frame that shows its
//       result, over full evaluations (see TouchLatency); one line per sample.
//       With --tests, only those tests are driven and the others moved on.
//   rumbolo-bench battery --dir DIR [--batteries 3] [--step-ms 30]
//       Resident memory on the administration window and after each of several
//       full evaluations driven through their screens in one process.
//   rumbolo-bench store-cost --dir RUNDIR [--without-index]
//       The store's share of sending, per evaluation: the export file written
//       from the database and the evaluation's rows deleted, for every stored
//       evaluation in turn (with --without-index: the log's index dropped first,
//       as in a file of an earlier version).
//   rumbolo-bench audio-latency --dir DIR --speaker FIFO --prompt WAV --tone WAV [--runs 15] [--parec-latency-ms MS]
//       [--speaker-channels 2] [--speaker-rate 44100]
//       From a prompt's request to its sound at the speaker pipe, and from a
//       recording's start to its first captured samples, against paplay and
//       parec started at a known instant (see AudioLatency); parec takes the
//       recorder's fragment size unless told otherwise.
//   rumbolo-bench form-frame --dir DIR [--runs 15]
//       From the click on "Evaluación individual" to the form's first frame
//       painted and flushed, in runs that take turns with and without the form's
//       sound devices' line; and on to the microphone opened after that frame.

#include "adminwindow.h"
#include "audiolatency.h"
#include "sounddevicestatus.h"
#include "batterydriver.h"
#include "databasemanager.h"
#include "evaluationpackage.h"
#include "formsync.h"
#include "mainwindow.h"
#include "processsettings.h"
#include "messageboxcatcher.h"
#include "processmemory.h"
#include "soundplayer.h"
#include "startupparts.h"
#include "syncworkspace.h"
#include "voicerecorder.h"
#ifdef RUMBOLO_BENCH_TOUCH
#include "touchlatency.h"
#endif

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QSslConfiguration>
#include <QTest>
#include <QTextStream>
#include <QAudioInput>
#include <QAudioOutput>
#include <QTimer>

#include <algorithm>
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
    options.distinctRecordings = args.number("distinct-recordings", 0);
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
    if (!args.text("tests").isEmpty())
        touch.setOnlyTests(args.text("tests").split(','));
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
    report("unreachable", touch.unreachableTouches());
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
        report(prefix + "underruns", window.soundPlayer()->underruns());
        if (!result.completed)
            status = 2;
    }
    window.databaseManager()->execQuery("SELECT count(*) AS n FROM log");
    window.databaseManager()->nextRow();
    report("log_rows", window.databaseManager()->valueOf("n"));
    report("maxrss_kib", maxResidentKiB());
    return status;
}

int storeCostCommand(const Arguments &args)
{
    const QString dir = args.text("dir");
    if (dir.isEmpty() || !QDir::setCurrent(dir))
        return fail("store-cost: --dir must name the run directory");
    DatabaseManager database;
    if (!database.openDatabase())
        return fail("store-cost: cannot open the database");
    if (args.flag("without-index") && !database.execQuery("DROP INDEX log_evaluationId"))
        return fail("store-cost: cannot drop the index");
    QList<int> ids;
    database.execQuery("SELECT ROWID FROM evaluation");
    while (database.nextRow())
        ids << database.valueOf("ROWID").toInt();
    EvaluationPackage package(&database);
    QElapsedTimer clock;
    qint64 exportNs = 0, deleteNs = 0;
    for (int id : qAsConst(ids)) {
        QStringList recordings;
        clock.start();
        if (!package.exportEvaluation(id, recordings))
            return fail("store-cost: cannot export an evaluation");
        exportNs += clock.nsecsElapsed();
        clock.start();
        if (!database.deleteEvaluation(id))
            return fail("store-cost: cannot delete an evaluation");
        deleteNs += clock.nsecsElapsed();
        QFile::remove(EvaluationPackage::exportFilePath(id));
    }
    const int n = qMax(1, ids.size());
    report("store_cost_evaluations", ids.size());
    report("store_cost_export_us", QString::number(exportNs / 1e3 / n, 'f', 0));
    report("store_cost_delete_us", QString::number(deleteNs / 1e3 / n, 'f', 0));
    return 0;
}

int audioLatencyCommand(const Arguments &args)
{
    const QString dir = args.text("dir");
    const QString prompt = QFileInfo(args.text("prompt")).absoluteFilePath();
    const QString tone = QFileInfo(args.text("tone")).absoluteFilePath();
    const int runs = args.number("runs", 15);
    if (dir.isEmpty() || !QDir::setCurrent(dir))
        return fail("audio-latency: --dir must name the run directory");
    if (AudioLatency::leadingSilence(prompt, 64, nullptr) < 0 || !QFileInfo(tone).isFile())
        return fail("audio-latency: --prompt must name a prompt with sound, --tone a WAV file");

    MessageBoxCatcher closer(nullptr, 50);
    MainWindow window;
    if (!window.startedSuccessfully())
        return fail("audio-latency: the main window did not start");
    window.show();
    waitMs(1500); // the test screens are built after the first paint

    AudioLatency latency(&window, args.text("speaker"), args.number("speaker-channels", 2), args.number("speaker-rate", 44100));
    QString error;
    if (!latency.start(error))
        return fail("audio-latency: " + error);

    // The sizes Qt and the server settle on for the application's streams.
    window.playSound(prompt);
    waitMs(200);
    if (QAudioOutput *output = window.soundPlayer()->output()) {
        report("output_buffer_bytes", output->bufferSize());
        report("output_period_bytes", output->periodSize());
    }
    window.soundPlayer()->stop();

    // Run 0 of each side warms up and is not counted; the sides take turns
    // going first.
    QStringList app, paplay, returned, handed;
    for (int i = 0; i <= runs; ++i) {
        double a = 0, b = 0;
        if (i % 2) {
            b = latency.paplayOnce(prompt);
            a = latency.playOnce(prompt);
        } else {
            a = latency.playOnce(prompt);
            b = latency.paplayOnce(prompt);
        }
        if (qIsNaN(a) || qIsNaN(b))
            return fail(QString("audio-latency: no sound reached the speaker pipe (run %1: %2 / %3)").arg(i).arg(a).arg(b));
        if (i > 0) {
            app << QString::number(a, 'f', 1);
            paplay << QString::number(b, 'f', 1);
            returned << QString::number(latency.startMs(), 'f', 1);
            handed << QString::number(latency.handedMs(), 'f', 1);
        }
    }
    report("play_app_ms", app.join(' '));
    report("play_app_returned_ms", returned.join(' '));
    report("play_app_handed_ms", handed.join(' '));
    report("play_paplay_ms", paplay.join(' '));
    report("play_underruns", window.soundPlayer()->underruns());

    if (!latency.startTone(tone))
        return fail("audio-latency: the tone did not start");
    QStringList recorded, parec;
    // parec with the recorder's fragment size, unless told otherwise.
    QAudioInput *input = window.voiceRecorder()->findChild<QAudioInput *>();
    const int recorderFragmentMs = input && input->bufferSize() > 0
        ? int(input->format().durationForBytes(input->bufferSize()) / 1000)
        : 0;
    const int parecLatency = args.number("parec-latency-ms", recorderFragmentMs);
    report("parec_latency_ms", parecLatency);
    for (int i = 0; i <= runs; ++i) {
        QString problem;
        double a = 0, b = 0;
        if (i % 2) {
            b = latency.parecOnce(parecLatency, problem);
            a = latency.recordOnce(problem);
        } else {
            a = latency.recordOnce(problem);
            b = latency.parecOnce(parecLatency, problem);
        }
        if (qIsNaN(a) || qIsNaN(b))
            return fail(QString("audio-latency: recording run %1: %2").arg(i).arg(problem));
        if (i == 0) {
            report("input_buffer_bytes", input ? input->bufferSize() : -1);
            report("input_period_bytes", input ? input->periodSize() : -1);
        } else {
            recorded << QString::number(a, 'f', 1);
            parec << QString::number(b, 'f', 1);
        }
    }
    latency.stopTone();
    report("record_app_ms", recorded.join(' '));
    report("record_parec_ms", parec.join(' '));
    return 0;
}
}

// Handles the main window's next repaint request itself, to note when the
// frame has been painted and flushed.
class FrameWatch : public QObject
{
public:
    explicit FrameWatch(QWidget *window) : window(window) { window->installEventFilter(this); }
    void arm() { painted = false; }
    bool hasPainted() const { return painted; }
    qint64 paintedAtNs() const { return paintedAt; }
    QElapsedTimer clock;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (painted || watched != window || event->type() != QEvent::UpdateRequest)
            return false;
        static_cast<QObject *>(window)->event(event);
        paintedAt = clock.nsecsElapsed();
        painted = true;
        return true;
    }

private:
    QWidget *window;
    bool painted = true;
    qint64 paintedAt = 0;
};

int formFrameCommand(const Arguments &args)
{
    const QString dir = args.text("dir");
    const int runs = args.number("runs", 15);
    if (dir.isEmpty() || !QDir::setCurrent(dir))
        return fail("form-frame: --dir must name the run directory");
    MessageBoxCatcher closer(nullptr, 2);
    MainWindow window;
    if (!window.startedSuccessfully())
        return fail("form-frame: the main window did not start");
    window.show();
    waitMs(1500); // the test screens are built after the first paint
    AdminWindow *admin = window.administrationWindow();
    auto *home = admin->findChild<QPushButton *>("buttonWelcome");
    auto *individual = admin->findChild<QPushButton *>("buttonInidividualEvaluation");
    auto *status = admin->findChild<QWidget *>("FormSubject")->findChild<SoundDeviceStatus *>();
    if (!home || !individual || !status)
        return fail("form-frame: the menu or the form's sound line is missing");

    FrameWatch watch(&window);
    QList<double> with, without, opened;
    for (int i = 0; i <= 2 * runs; ++i) {
        const bool withStatus = i % 2 == 1;
        home->click();
        status->setVisible(withStatus); // hidden: the form as it was without the line
        waitMs(300);
        watch.arm();
        watch.clock.start();
        individual->click();
        while (!watch.hasPainted())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double frameMs = watch.paintedAtNs() / 1e6;
        if (withStatus) {
            while (!status->meter()->isListening() && watch.clock.elapsed() < 5000)
                QApplication::processEvents();
            if (!status->meter()->isListening())
                return fail("form-frame: the microphone was not opened");
            if (i > 1) { // the first run of each kind warms up
                opened << watch.clock.nsecsElapsed() / 1e6;
                with << frameMs;
            }
        } else if (i > 0) {
            without << frameMs;
        }
    }
    auto median = [](QList<double> values) {
        std::sort(values.begin(), values.end());
        return values.isEmpty() ? 0.0 : values.at(values.size() / 2);
    };
    auto all = [](const QList<double> &values) {
        QStringList list;
        for (double v : values)
            list << QString::number(v, 'f', 1);
        return list.join(',');
    };
    report("form_frame_without_line_ms", QString::number(median(without), 'f', 1));
    report("form_frame_with_line_ms", QString::number(median(with), 'f', 1));
    report("form_microphone_open_ms", QString::number(median(opened), 'f', 1));
    report("form_frame_without_line_runs", all(without));
    report("form_frame_with_line_runs", all(with));
    return 0;
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
    if (command == "store-cost")
        return storeCostCommand(args);
    if (command == "audio-latency")
        return audioLatencyCommand(args);
    if (command == "form-frame")
        return formFrameCommand(args);
    if (command == "touch")
        return touchCommand(args);
    return fail("unknown command '" + command + "' (store, prepare-sync, clone-sync, sync, startup-parts, battery, store-cost, audio-latency, form-frame, touch)");
}
