#include "abortdialog.h"
#include "adminwindow.h"
#include "appfixture.h"
#include "audiofixture.h"
#include "clickableimage.h"
#include "formdriver.h"
#include "gamewindow.h"
#include "imagelabel.h"
#include "mainwindow.h"
#include "transitionlabel.h"
#include "voicerecorder.h"

#include <QDate>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <memory>

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
    QVERIFY(w->administrationWindow()->findChild<QWidget *>("FormWelcome")->isVisible());
    QVERIFY(!w->abortDialogWindow()->isVisible());
}
}

// The controller inside a real working directory: start-up, evaluation and log
// rows, the ordered battery, how the examiner skips a test or abandons the
// evaluation, what the examiner sees when storing fails, the hand-over of
// recordings between tests, and that every ending leaves the program idle on
// its welcome page.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startsIdleOnTheAdministrationScreen()
    {
        AppFixture app;
        MainWindow *w = app.window();
        QVERIFY(w->startedSuccessfully());
        QCOMPARE(w->minimumSize(), QSize(800, 580));
        QTest::qWait(50); // the test screens are built once the window has been painted
        verifyIdle(w);
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

        // Started again in the same directory, the program finds the directories and the database.
        app.endProgram();
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

    void eachTestShowsItsTitle_data()
    {
        QTest::addColumn<QString>("title");
        const QStringList titles = {
            "Velocidad de denominación", "Conocimiento de grafemas", "Conocimiento de nombre de letras",
            "Segmentación de sílabas", "Reconocimiento de sílaba inicial", "Reconocimiento de sílaba final",
            "Reconocimiento de sonido inicial", "Reconocimiento de sonido final", "Reconocimiento visual de palabras",
            "Reconocimiento de tipos de texto", "Lectura de palabras y pseudo-palabras",
            "Lectura de frases y oraciones breves", "Lectura de texto", "Comprensión lectora", "Comprensión oral"};
        for (int i = 0; i < kFull.size(); ++i)
            QTest::newRow(qPrintable(kFull.at(i))) << titles.at(i);
    }

    // On its transition screen, when the battery comes to it.
    void eachTestShowsItsTitle()
    {
        QFETCH(QString, title);
        AppFixture app;
        GameWindow *game = app.startAt(QTest::currentDataTag());
        QVERIFY(game && game->getTransitionLabel()->isVisible());
        QCOMPARE(game->getTransitionLabel()->text(), title);
    }

    // A whole run in order, the examiner skipping a test in the middle and the
    // last one; the end of a sound reaches the running test alone.
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
            for (const QString &code : kFull)
                w->game(code)->getSoundingIcon()->show();
            emit w->soundHasFinished();
            for (const QString &code : kFull)
                QVERIFY2(w->game(code)->getSoundingIcon()->isHidden() == (code == seen.last()), qPrintable(code));
            if (w->currentTestCode() == "CL1A" || w->currentTestCode() == "CO1A")
                emit w->abortDialogWindow()->abortOne();
            else
                finishCurrent(w);
        }
        QCOMPARE(seen, (QStringList{"FP1A", "CL1A", "FP2A", "CL2A", "CO1A"}));
        QCOMPARE(app.workspace().logRows(), (QList<QStringList>{{QString::number(id), "CL1A", "ABORT", "1"},
                                                                {QString::number(id), "CO1A", "ABORT", "1"}}));
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

    // The store fails under a row: the examiner is told (the store's message first),
    // and no evaluation runs or starts a test afterwards.
    void storeFailureEndsTheEvaluation_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("log row") << "log" << "log" << QStringList{kStoreFailed};
        QTest::newRow("evaluation row") << "evaluation" << "start" << QStringList{kStoreFailed};
        QTest::newRow("skip row") << "log" << "skip" << QStringList{kStoreFailed};
        QTest::newRow("abandon row") << "log" << "abandon" << QStringList{kStoreFailed, kCancelled};
        // Stored after a row of ROWID -1: the new row's id is 0.
        QTest::newRow("evaluation row without id") << "evaluation" << "start" << QStringList{
            "No se pudo crear la evaluación por problemas de conexión con la base de datos."};
    }

    void storeFailureEndsTheEvaluation()
    {
        QFETCH(QString, table);
        QFETCH(QString, action);
        QFETCH(QStringList, messages);
        AppFixture app;
        MainWindow *w = app.window();
        if (action == "skip" || action == "abandon")
            QVERIFY(app.startEvaluation(1) >= 1);
        const bool withoutId = QByteArray(QTest::currentDataTag()).endsWith("without id");
        QVERIFY(app.workspace().execute({withoutId ? "INSERT INTO evaluation (ROWID, name) VALUES (-1, 'x')"
                                                   : "ALTER TABLE " + table + " RENAME TO gone"}));
        if (action == "log")
            QVERIFY(!w->logValueForKey("k", "v"));
        else if (action == "start")
            QCOMPARE(app.startEvaluation(1), 0);
        else
            action == "skip" ? emit w->abortDialogWindow()->abortOne() : emit w->abortDialogWindow()->abortAll();
        QCOMPARE(app.catcher().messages(), messages);
        QTest::qWait(50);
        verifyIdle(w);
        QVERIFY(withoutId || app.workspace().execute({"ALTER TABLE gone RENAME TO " + table}));
        QVERIFY(app.workspace().logRows().isEmpty());
    }

    void formSubmissionStoresTheEvaluation_data()
    {
        QTest::addColumn<bool>("group");
        QTest::addColumn<QStringList>("expected"); // name, lastName, level, codeGroup, full, endOfYear
        QTest::newRow("individual") << false << QStringList{"María José", "O'Ryan Núñez", "4", "", "1", "1"};
        QTest::newRow("group") << true << QStringList{"María José", "O'Ryan Núñez", "4", "3A-2013", "0", "1"};
    }

    void formSubmissionStoresTheEvaluation()
    {
        QFETCH(bool, group);
        QFETCH(QStringList, expected);
        AppFixture app;
        MainWindow *w = app.window();
        AdminWindow *admin = w->administrationWindow();
        AppFixture::click(admin->findChild<QPushButton *>(group ? "buttonGroupEvaluation" : "buttonInidividualEvaluation"));
        QWidget *form = admin->findChild<QWidget *>(group ? "FormSubjectInGroup" : "FormSubject");
        QVERIFY(form && form->isVisible());

        FormDriver driver(form);
        if (group)
            driver.type("lineEditGroup", "  3A-2013 ");
        driver.type("lineEditName", "  María José ");
        driver.type("lineEditLastName", "O'Ryan Núñez  ");
        driver.chooseLevel(4);
        driver.choosePeriod(true);
        if (!group)
            driver.click("checkBoxFullEvaluation");
        driver.start();

        QCOMPARE(app.workspace().rows("evaluation", {"name", "lastName", "level", "codeGroup", "fullEvaluation",
                                                     "endOfYear", "evaluationDate"}),
                 QList<QStringList>{expected << QDate::currentDate().toString("yyyy-MM-dd")});

        // The evaluation runs full screen, with its first test showing.
        QVERIFY(w->currentEvaluationId() >= 1);
        QVERIFY(w->isFullScreen());
        QVERIFY(!admin->isVisible());
        QCOMPARE(w->currentTestCode(), group ? QString("FP1A") : QString("VD1A"));
        QVERIFY(w->game(w->currentTestCode())->isVisible());

        // The examiner abandons it: the welcome page, not the form, is shown again.
        w->abortGame();
        QVERIFY(admin->isVisible());
        QVERIFY(admin->findChild<QWidget *>("FormWelcome")->isVisible());
        QVERIFY(!form->isVisible());
        QCOMPARE(app.catcher().messages(), QStringList{kCancelled});
    }
    // A recording that cannot be made ends the evaluation with its message.
    void unopenableRecordingEndsTheEvaluation()
    {
        AppFixture app;
        MainWindow *w = app.window();
        QVERIFY(app.startEvaluation(1) >= 1);
        // The recordings directory has been replaced by a file: nothing can be recorded.
        QVERIFY(QDir(app.workspace().filePath("grabaciones")).removeRecursively());
        QFile blocker(app.workspace().filePath("grabaciones"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        QString name;
        emit w->game(w->currentTestCode())->requestStartRecordingSound(&name);
        QCOMPARE(app.catcher().messages(), QStringList{"No se puede continuar, problemas al abrir archivos de grabación."});
        QVERIFY(!w->voiceRecorder()->isRecording());
        QCOMPARE(w->currentEvaluationId(), 0);
        QVERIFY(!w->isFullScreen());
    }

    // The child names the pictures of the first test while the program records;
    // the test then ends in one of several ways. A recording that its test
    // names is kept, complete; one cut short is removed at once and named by no row.
    void recordingIsNamedOrRemoved_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<QStringList>("rows"); // test:key of the evaluation's rows
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("named") << "named" << QStringList{"VD1A:TIME", "VD1A:FILE"} << QStringList();
        QTest::newRow("test skipped") << "skip" << QStringList{"VD1A:ABORT"} << QStringList();
        QTest::newRow("evaluation abandoned") << "abandon" << QStringList{"FULL:ABORT"} << QStringList{kCancelled};
        QTest::newRow("row not stored") << "store fails" << QStringList() << QStringList{kStoreFailed};
        QTest::newRow("program ends") << "program ends" << QStringList() << QStringList();
    }

    void recordingIsNamedOrRemoved()
    {
        QFETCH(QString, ending);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, messages);
        AUDIO_SERVER_REQUIRED();
        AppFixture app;
        MainWindow *w = app.window();
        w->startGame("Ana", "Pérez", 1);
        const int id = w->currentEvaluationId();
        GameWindow *game = w->game("VD1A");
        QVERIFY(id >= 1 && w->currentTestCode() == "VD1A");
        for (QWidget *button : QList<QWidget *>{game->getTransitionLabel(), game->getExampleButton(), game->getTestButton()})
            AppFixture::click(button);
        QVERIFY(w->voiceRecorder()->isRecording());
        const QString path = w->voiceRecorder()->filePath();
        QTRY_VERIFY(QFileInfo(path).size() > 44); // the microphone's samples arrive

        if (ending == "named") {
            AppFixture::click(game->getNextButton());
        } else if (ending == "skip") {
            emit w->abortDialogWindow()->abortOne();
        } else if (ending == "abandon") {
            emit w->abortDialogWindow()->abortAll();
        } else if (ending == "store fails") {
            QVERIFY(app.workspace().execute({"ALTER TABLE log RENAME TO gone"}));
            AppFixture::click(game->getNextButton());
            QVERIFY(app.workspace().execute({"ALTER TABLE gone RENAME TO log"}));
        } else {
            app.endProgram();
        }

        QStringList stored, named;
        for (const QStringList &row : app.workspace().logRows()) {
            if (row.value(0).toInt() == id)
                stored << row.value(1) + ":" + row.value(2);
            if (row.value(2) == "FILE")
                named << row.value(3);
        }
        QCOMPARE(stored, rows);
        QCOMPARE(app.catcher().messages(), messages);
        const QStringList files = QDir(app.workspace().filePath("grabaciones")).entryList(QDir::Files);
        if (ending == "named") {
            QCOMPARE(named, QStringList{QFileInfo(path).completeBaseName()});
            QCOMPARE(files, QStringList{QFileInfo(path).fileName()});
            QVERIFY(AudioFixture::isComplete(path));
        } else {
            QCOMPARE(named, QStringList());
            QCOMPARE(files, QStringList());
        }
        if (ending == "skip" || ending == "abandon") {
            // The test that no longer runs can neither end nor start a recording.
            emit game->requestStopRecordingSound();
            QString late;
            emit game->requestStartRecordingSound(&late);
            QVERIFY(late.isEmpty() && !w->voiceRecorder()->isRecording());
        }
    }

    // Recordings kept with nothing but digital silence in them are reported
    // after the evaluation's own closing message, and named in the debug output.
    void silentRecordingsAreReported_data()
    {
        QTest::addColumn<QString>("microphone"); // "muted", or a sound fed in ("sine")
        QTest::addColumn<int>("recordings");
        QTest::addColumn<bool>("named");
        QTest::addColumn<bool>("abandoned");
        QTest::addColumn<QStringList>("messages");
        const QString advice = " Revise el micrófono antes de la próxima evaluación.";
        QTest::newRow("one, finished") << "muted" << 1 << true << false
            << QStringList{kFinished, "1 grabación de esta evaluación quedó en silencio total." + advice};
        QTest::newRow("two, abandoned") << "muted" << 2 << true << true
            << QStringList{kCancelled, "2 grabaciones de esta evaluación quedaron en silencio total." + advice};
        QTest::newRow("cut short, not kept") << "muted" << 1 << false << true << QStringList{kCancelled};
        QTest::newRow("a tone") << "sine" << 1 << true << true << QStringList{kCancelled};
    }

    void silentRecordingsAreReported()
    {
        QFETCH(QString, microphone);
        QFETCH(int, recordings);
        QFETCH(bool, named);
        QFETCH(bool, abandoned);
        QFETCH(QStringList, messages);
        AUDIO_SERVER_REQUIRED();
        AppFixture app;
        AudioFixture::MicrophoneState state;
        QVERIFY(state.set(microphone, app.workspace().filePath("in.wav"), 5000));
        MainWindow *w = app.window();
        QVERIFY(app.startEvaluation(4) >= 1);
        GameWindow *game = w->game(w->currentTestCode());
        for (int i = 0; i < recordings; ++i) {
            QString name;
            emit game->requestStartRecordingSound(&name);
            QTest::qWait(1200);
            emit game->requestStopRecordingSound();
            if (named)
                emit game->requestLogValueForKey("FILE", name);
            if (named && microphone == "muted")
                QTest::ignoreMessage(QtDebugMsg, qPrintable("[recordings] " + VoiceRecorder::pathForName(name)
                                                            + " holds only digital silence"));
        }
        if (abandoned)
            emit w->abortDialogWindow()->abortAll();
        while (!abandoned && w->currentEvaluationId() != 0)
            finishCurrent(w);
        QCOMPARE(app.catcher().messages(), messages);
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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
