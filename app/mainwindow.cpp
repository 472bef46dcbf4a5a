#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "abortdialog.h"
#include "adminwindow.h"
#include "databasemanager.h"
#include "gamecf1a.h"
#include "gamecf2a.h"
#include "gamecf2b.h"
#include "gamecf3a.h"
#include "gamecf3b.h"
#include "gamecl1a.h"
#include "gamecl2a.h"
#include "gameco1a.h"
#include "gamefp1a.h"
#include "gamefp2a.h"
#include "gamepa1a.h"
#include "gamepa2a.h"
#include "gamerv1a.h"
#include "gamett1a.h"
#include "gamevd.h"
#include "scoringservicetrust.h"
#include "soundplayer.h"
#include "stimuluskit.h"
#include "voicerecorder.h"

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QMessageBox>
#include <QMetaObject>
#include <QSet>
#include <QTimer>

namespace {
const char *const messageFinished = "La evaluación ha terminado.";
const char *const messageCancelled = "La aplicación ha sido cancelada.";
const char *const messageNoEvaluation = "No se pudo crear la evaluación por problemas de conexión con la base de datos.";
const char *const messageStoreFailed = "La evaluación se ha terminado abruptamente por problemas de conexión con la base de datos.";
}

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
    , database(new DatabaseManager())
    , adminWindow(nullptr)
    , abortDialog(nullptr)
    , gameVD(nullptr)
    , gamePA1A(nullptr)
    , gamePA2A(nullptr)
    , gameCF1A(nullptr)
    , gameCF2A(nullptr)
    , gameCF2B(nullptr)
    , gameCF3A(nullptr)
    , gameCF3B(nullptr)
    , gameRV1A(nullptr)
    , gameTT1A(nullptr)
    , gameCO1A(nullptr)
    , gameFP1A(nullptr)
    , gameCL1A(nullptr)
    , gameFP2A(nullptr)
    , gameCL2A(nullptr)
    , player(nullptr)
    , recorder(nullptr)
    , startupMessage(nullptr)
    , startupOk(true)
    , storeOpen(false)
    , evaluationId(0)
    , instanceLock(new QLockFile(QDir::currentPath() + QDir::separator() + "rumbolo.lock"))
{
    ui->setupUi(this);
    // Made a child of its place at once: moving a widget with style sheets
    // under another parent styles all its children again.
    adminWindow = new AdminWindow(ui->centralWidget);
    adminWindow->hide();

    // Started from a folder without the tests' pictures and prompts (a shortcut
    // that points elsewhere), the tests would show blank screens that nothing
    // leads out of: stop before making anything there.
    const QStringList missing = StimulusKit::missingIn(QDir::current());
    if (!missing.isEmpty()) {
        qDebug().noquote() << "[materials]" << QDir::currentPath() << "lacks" << missing.size()
                           << "of the tests' files, first of them:" << missing.mid(0, 5).join(", ");
        showStartupMessage(QString::fromUtf8("Faltan imágenes o sonidos de las pruebas en esta carpeta. "
                                                      "Inicie Rumbolo desde su carpeta de trabajo."));
        startupOk = false;
        return;
    }

    // Two programs in one working directory would write one database and one
    // recordings folder: a second one stops before it touches either. A lock left
    // by a program that was killed is taken over.
    instanceLock->setStaleLockTime(0);
    if (!instanceLock->tryLock(0)) {
        showStartupMessage(QString::fromUtf8("Rumbolo ya está abierto."));
        startupOk = false;
        return;
    }

    if (!ensureDirectory("grabaciones", QString::fromUtf8("Problemas creando el directorio de grabaciones.")))
        startupOk = false;
    if (!ensureDirectory("envios", QString::fromUtf8("Problemas creando el directorio de sincronización.")))
        startupOk = false;

    ui->horizontalLayout_2->setContentsMargins(0, 0, 0, 0);
    ui->horizontalLayout_2->addWidget(adminWindow);
    adminWindow->resetToHome();

    // A folder's first start creates the database (a few durable writes) once
    // the window is on screen; a database that is already there is opened now,
    // and so is any when the start has already failed, so that its message
    // still comes last.
    if (!startupOk || QFileInfo::exists(QDir::current().filePath("data"))) {
        if (!openStore())
            startupOk = false;
    }

    setUnifiedTitleAndToolBarOnMac(true);
    setWindowTitle("Rumbolo");
}

bool MainWindow::openStore()
{
    if (!database->openDatabase()) {
        showStartupMessage(QString::fromUtf8("Problemas de la conexión con la base de datos."));
        return false;
    }
    storeOpen = true;
    connect(adminWindow, &AdminWindow::requestRestore, this, &MainWindow::restoreSize);
    connect(adminWindow, &AdminWindow::requestFullScreen, this, &MainWindow::goFullscreen);
    connect(adminWindow, &AdminWindow::requestStartGame, this,
            QOverload<QString, QString, int, QString, bool, bool>::of(&MainWindow::startGame));
    adminWindow->setDatabaseManager(database);
    if (startupOk)
        keepToOwner();
    return true;
}

void MainWindow::buildHidden()
{
    if (!games.isEmpty())
        return;
    // What the examiner cannot see on the welcome page: a new database, the
    // pages behind the menu, the abort dialog, the audio devices and the fifteen
    // test screens; and the tidying of the stored recordings.
    if (startupOk && !storeOpen && !openStore()) {
        // The database cannot be made: the start fails as it does before the window shows.
        startupOk = false;
        setEnabled(false);
        QCoreApplication::exit(1);
        return;
    }
    // Only the upload page reaches the scoring service; reading the authority
    // a build may trust loads the TLS library, several milliseconds that the
    // first frame need not wait for. Once per process, as the start did.
    static const bool trusted = ScoringServiceTrust::apply();
    Q_UNUSED(trusted)
    adminWindow->buildPages();
    abortDialog = new AbortDialog();
    connect(abortDialog, &AbortDialog::abortOne, this, &MainWindow::abortToNextGame);
    connect(abortDialog, &AbortDialog::abortAll, this, &MainWindow::abortGame);
    recorder = new VoiceRecorder(this);
    connect(recorder, &VoiceRecorder::recordingEnded, this, [this](const QString &name, bool silent) {
        if (silent && evaluationId != 0)
            silentRecordings << name;
    });
    player = new SoundPlayer(this);
    connect(player, &SoundPlayer::soundHasFinished, this, &MainWindow::soundHasFinished);
    if (startupOk)
        removeRecordingsNamedByNoRow();
    gameVD = new GameVD(ui->centralWidget);
    gamePA1A = new GamePA1A(ui->centralWidget);
    gamePA2A = new GamePA2A(ui->centralWidget);
    gameCF1A = new GameCF1A(ui->centralWidget);
    gameCF2A = new GameCF2A(ui->centralWidget);
    gameCF2B = new GameCF2B(ui->centralWidget);
    gameCF3A = new GameCF3A(ui->centralWidget);
    gameCF3B = new GameCF3B(ui->centralWidget);
    gameRV1A = new GameRV1A(ui->centralWidget);
    gameTT1A = new GameTT1A(ui->centralWidget);
    gameCO1A = new GameCO1A(ui->centralWidget);
    gameFP1A = new GameFP1A(ui->centralWidget);
    gameCL1A = new GameCL1A(ui->centralWidget);
    gameFP2A = new GameFP2A(ui->centralWidget);
    gameCL2A = new GameCL2A(ui->centralWidget);
    registerGames();
}

GameWindow *MainWindow::game(const QString &code)
{
    buildHidden();
    return games.value(code);
}

AbortDialog *MainWindow::abortDialogWindow()
{
    buildHidden();
    return abortDialog;
}

SoundPlayer *MainWindow::soundPlayer()
{
    buildHidden();
    return player;
}

VoiceRecorder *MainWindow::voiceRecorder()
{
    buildHidden();
    return recorder;
}

void MainWindow::registerGames()
{
    games.insert("VD1A", gameVD);
    games.insert("PA1A", gamePA1A);
    games.insert("PA2A", gamePA2A);
    games.insert("CF1A", gameCF1A);
    games.insert("CF2A", gameCF2A);
    games.insert("CF2B", gameCF2B);
    games.insert("CF3A", gameCF3A);
    games.insert("CF3B", gameCF3B);
    games.insert("RV1A", gameRV1A);
    games.insert("TT1A", gameTT1A);
    games.insert("CO1A", gameCO1A);
    games.insert("FP1A", gameFP1A);
    games.insert("CL1A", gameCL1A);
    games.insert("FP2A", gameFP2A);
    games.insert("CL2A", gameCL2A);
    const QList<GameWindow *> inOrder = {gameVD, gamePA1A, gamePA2A, gameCF1A, gameCF2A, gameCF2B, gameCF3A, gameCF3B,
                                         gameRV1A, gameTT1A, gameCO1A, gameFP1A, gameCL1A, gameFP2A, gameCL2A};
    for (GameWindow *game : inOrder)
        connectGame(game);
}

void MainWindow::connectGame(GameWindow *game)
{
    ui->horizontalLayout_2->addWidget(game);
    connect(game, SIGNAL(requestSaveData(QString,QHash<QString,QString>)), this, SLOT(saveData(QString,QHash<QString,QString>)));
    connect(game, &GameWindow::requestNextGame, this, &MainWindow::startNextGame);
    connect(game, &GameWindow::requestAbortDialog, this, &MainWindow::showAbortDialog);
    connect(game, &GameWindow::requestLogValueForKey, this, &MainWindow::logValueForKey);
    connect(game, &GameWindow::requestPlaySound, this, &MainWindow::playSound);
    connect(game, &GameWindow::requestStartRecordingSound, this, &MainWindow::startRecordingSound);
    connect(game, &GameWindow::requestStopRecordingSound, this, &MainWindow::stopRecordingSound);
    game->hide();
}

void MainWindow::hideAllGames()
{
    for (GameWindow *game : qAsConst(games))
        game->hide();
}

void MainWindow::showAbortDialog()
{
    AbortDialog *dialog = abortDialogWindow();
    dialog->move((width() - dialog->width()) / 2, (height() - dialog->height()) / 2);
    dialog->show();
    dialog->raise();
}

MainWindow::~MainWindow()
{
    // A recording still running ends before anything goes away, and one that
    // its test has not named yet goes with the program.
    if (recorder)
        recorder->stop();
    discardUnnamedRecording();
    delete recorder;
    recorder = nullptr;
    delete gameCL2A;
    delete gameFP2A;
    delete gameCL1A;
    delete gameFP1A;
    delete gameCO1A;
    delete gameTT1A;
    delete gameRV1A;
    delete gameCF3B;
    delete gameCF3A;
    delete gameCF2B;
    delete gameCF2A;
    delete gameCF1A;
    delete gamePA2A;
    delete gamePA1A;
    delete gameVD;
    delete adminWindow;
    delete abortDialog;
    delete ui;
    delete startupMessage;
    delete database;
    delete instanceLock;
}

bool MainWindow::ensureDirectory(const QString &name, const QString &failureMessage)
{
    const QString path = QDir::currentPath() + QDir::separator() + name;
    QDir dir(path);
    if (dir.exists() || dir.mkpath(path))
        return true;
    showStartupMessage(failureMessage);
    return false;
}

void MainWindow::showStartupMessage(const QString &text)
{
    // Made when a start first fails: its OK button's icon is looked up in the
    // desktop's icon theme, which costs more than all the rest of the
    // constructor, and a start that succeeds never needs it. A start that fails
    // in several ways shows its messages one after the other in the same box.
    if (!startupMessage) {
        startupMessage = new QMessageBox();
        startupMessage->setStandardButtons(QMessageBox::Ok);
    }
    showMessage(startupMessage, text);
}

void MainWindow::showMessage(QMessageBox *box, const QString &text)
{
    // The text also goes to the debug output, so that a session can be followed from its log.
    qInfo().noquote() << "[message]" << text;
    box->setText(text);
    box->exec();
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    // The fifteen test screens are built once the administration window is on
    // screen, while the examiner reads it, rather than before it appears.
    if (games.isEmpty() && startupOk)
        QTimer::singleShot(0, this, &MainWindow::buildHidden);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!startupOk) {
        // The window is first shown before the event loop runs, when a plain quit
        // would be lost: end the loop as soon as it starts.
        setEnabled(false);
        QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
        return;
    }
    raise();
}

void MainWindow::goFullscreen()
{
    setWindowState(Qt::WindowFullScreen);
}

void MainWindow::restoreSize()
{
    setWindowState(Qt::WindowNoState);
}

QList<QString> MainWindow::batteryFor(bool fullEvaluation, int level)
{
    if (fullEvaluation)
        return {"VD1A", "PA1A", "PA2A", "CF1A", "CF2A", "CF2B", "CF3A", "CF3B",
                "RV1A", "TT1A", "FP1A", "CL1A", "FP2A", "CL2A", "CO1A"};
    switch (level) {
    case 1:
    case 2:
        return {"VD1A", "PA1A", "PA2A", "CF1A", "CF2A", "CF2B", "CF3A", "CF3B", "RV1A", "TT1A", "CO1A"};
    case 3:
        return {"PA1A", "PA2A", "CF1A", "CF2A", "CF2B", "CF3A", "CF3B", "TT1A", "FP1A", "CL1A", "FP2A", "CL2A", "CO1A"};
    case 4:
    case 5:
    case 6:
        return {"FP1A", "CL1A", "FP2A", "CL2A", "CO1A"};
    default:
        return {};
    }
}

void MainWindow::startGame(QString name, QString lastName, int level, QString codeGroup, bool fullEvaluation, bool endOfYear)
{
    if (evaluationId != 0) {
        qDebug() << "MainWindow::startGame ignored: an evaluation is already running";
        return;
    }
    buildHidden();

    gameRV1A->setChildName(name);

    QHash<QString, QString> row;
    row.insert("name", name);
    row.insert("lastName", lastName);
    row.insert("level", QString::number(level));
    row.insert("codeGroup", codeGroup);
    row.insert("fullEvaluation", fullEvaluation ? "1" : "0");
    row.insert("endOfYear", endOfYear ? "1" : "0");
    row.insert("evaluationDate", QDate::currentDate().toString("yyyy-MM-dd"));

    int newId = 0;
    if (!saveData("evaluation", row, &newId))
        return;
    if (newId < 1) {
        finishEvaluation(QString::fromUtf8(messageNoEvaluation), false);
        return;
    }

    goFullscreen();
    adminWindow->hide();
    evaluationId = newId;
    testQueue.clear();
    testQueue.append(batteryFor(fullEvaluation, level));
    startNextGame();
}

void MainWindow::startGame(QString name, QString lastName, int level, QString codeGroup, bool fullEvaluation)
{
    startGame(name, lastName, level, codeGroup, fullEvaluation, false);
}

void MainWindow::startGame(QString name, QString lastName, int level, QString codeGroup)
{
    startGame(name, lastName, level, codeGroup, false, false);
}

void MainWindow::startGame(QString name, QString lastName, int level)
{
    startGame(name, lastName, level, QString(""), false, false);
}

bool MainWindow::saveData(QString table, QHash<QString, QString> data)
{
    if (isFromIdleTest()) {
        qDebug() << "MainWindow::saveData ignored a record from a test that is not running";
        return false;
    }
    return saveData(table, data, nullptr);
}

bool MainWindow::saveData(QString table, QHash<QString, QString> data, int *newId)
{
    const bool stored = database->insertRecord(table, data, newId);
    if (!stored)
        finishEvaluation(QString::fromUtf8(messageStoreFailed), false);
    return stored;
}

QHash<QString, QString> MainWindow::logRow(const QString &test, const QString &key, const QString &value) const
{
    QHash<QString, QString> row;
    row.insert("date", QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss"));
    row.insert("evaluationId", QString::number(evaluationId));
    row.insert("test", test);
    row.insert("key", key);
    row.insert("value", value);
    return row;
}

bool MainWindow::logValueForKey(QString key, QString value)
{
    if (isFromIdleTest()) {
        qDebug() << "MainWindow::logValueForKey ignored a row from a test that is not running:" << key << value;
        return false;
    }
    const bool stored = saveData("log", logRow(currentTest, key, value));
    if (stored && key == "FILE" && value == unnamedRecording)
        unnamedRecording.clear();
    return stored;
}

bool MainWindow::isFromIdleTest() const
{
    // A test that is not the running one (hidden, skipped, or left over from an
    // evaluation that has ended) must never move the battery or log a row.
    auto *game = qobject_cast<GameWindow *>(sender());
    return game && (evaluationId == 0 || game != games.value(currentTest));
}

void MainWindow::startNextGame()
{
    if (evaluationId == 0 || isFromIdleTest()) {
        qDebug() << "MainWindow::startNextGame ignored: not asked by the running test of an evaluation";
        return;
    }
    hideAllGames();
    // A choice left open in the abort dialog belonged to the test that ended.
    if (abortDialog)
        abortDialog->hide();
    if (testQueue.isEmpty()) {
        finishEvaluation(QString::fromUtf8(messageFinished), false);
        return;
    }
    stopAudio();
    currentTest = testQueue.takeFirst();
    GameWindow *game = games.value(currentTest);
    if (!game) {
        finishEvaluation(QString::fromUtf8(messageFinished), false);
        return;
    }
    game->init();
    game->setVisible(true);
    game->setFocus();
    connect(this, &MainWindow::soundHasFinished, game, &GameWindow::soundHasFinished);
}

void MainWindow::abortToNextGame()
{
    if (evaluationId == 0)
        return;
    if (!saveData("log", logRow(currentTest, "ABORT", "1")))
        return;
    startNextGame();
}

void MainWindow::abortGame()
{
    if (evaluationId == 0)
        return;
    finishEvaluation(QString::fromUtf8(messageCancelled), true);
}

void MainWindow::stopAudio()
{
    if (!recorder)
        return; // not built yet: nothing plays or records
    recorder->stop();
    discardUnnamedRecording();
    if (GameWindow *game = games.value(currentTest))
        disconnect(this, &MainWindow::soundHasFinished, game, &GameWindow::soundHasFinished);
    player->stop();
}

void MainWindow::playSound(QString soundPath)
{
    if (isFromIdleTest()) {
        qDebug() << "MainWindow::playSound ignored a request from a test that is not running:" << soundPath;
        return;
    }
    soundPlayer()->play(soundPath);
}

void MainWindow::finishedSound(QAudio::State state)
{
    soundPlayer()->finishedSound(state);
}

void MainWindow::startRecordingSound(QString *soundName)
{
    if (isFromIdleTest()) {
        qDebug() << "MainWindow::startRecordingSound ignored a request from a test that is not running";
        return;
    }
    // A recording that its test did not name before starting the next one
    // would be named by nothing.
    voiceRecorder()->stop();
    discardUnnamedRecording();
    QString name;
    const bool started = recorder->start(&name);
    if (soundName)
        *soundName = name;
    if (!started) {
        finishEvaluation(QString::fromUtf8("No se puede continuar, problemas al abrir archivos de grabación."), false);
        return;
    }
    unnamedRecording = name;
}

void MainWindow::discardUnnamedRecording()
{
    // Cut short by a skip, an abandon, a failed store or the end of the
    // program: no row will ever name it, so it is neither sent nor kept.
    if (unnamedRecording.isEmpty())
        return;
    const QString path = VoiceRecorder::pathForName(unnamedRecording);
    silentRecordings.removeAll(unnamedRecording);
    unnamedRecording.clear();
    if (QFile::remove(path))
        qDebug().noquote() << QStringLiteral("[recordings] %1 removed: its test ended before naming it").arg(path);
    else if (QFileInfo::exists(path))
        qDebug().noquote() << QStringLiteral("[recordings] %1 was cut short but cannot be removed").arg(path);
}

void MainWindow::keepToOwner()
{
    // The database, the recordings, the archives and their folders hold
    // children's names and voices: what an earlier version left readable by
    // others is narrowed to its owner.
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    const QFileDevice::Permissions file = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QFileInfoList entries = {QFileInfo("data")};
    for (const char *folder : {"grabaciones", "envios"}) {
        entries << QFileInfo(folder);
        entries << QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    }
    QStringList narrowed;
    for (const QFileInfo &entry : entries) {
        if (!entry.exists() || entry.isSymLink() || !(entry.permissions() & others))
            continue;
        if (QFile::setPermissions(entry.filePath(), entry.isDir() ? file | QFileDevice::ExeOwner : file))
            narrowed << entry.filePath();
    }
    if (!narrowed.isEmpty())
        qDebug().noquote() << "[permissions] narrowed to the owner only:" << narrowed.join(", ");
}

void MainWindow::removeRecordingsNamedByNoRow()
{
    // Recordings left by a program that was killed or crashed while recording
    // (their headers never got their sizes) are named by no row. When the rows
    // cannot be read, nothing is removed.
    if (!database->execQuery("SELECT value FROM log WHERE key = 'FILE'")) {
        qDebug().noquote() << "[recordings] the stored recording names cannot be read; no recording is removed:"
                           << database->lastError().text();
        return;
    }
    QSet<QString> named;
    while (database->nextRow())
        named.insert(database->valueOf("value"));
    VoiceRecorder::removeRecordingsOtherThan(named);
}

void MainWindow::stopRecordingSound()
{
    // A test that is no longer running must not end the running test's recording.
    if (isFromIdleTest() || !recorder)
        return;
    recorder->stop();
}

void MainWindow::finishEvaluation(const QString &message, bool writeAbandonRow)
{
    stopAudio();
    if (writeAbandonRow)
        saveData("log", logRow("FULL", "ABORT", "1"));
    evaluationId = 0;
    currentTest = QString("");
    hideAllGames();
    if (abortDialog)
        abortDialog->hide();
    restoreSize();
    adminWindow->resetToHome();

    const QStringList silent = silentRecordings;
    silentRecordings.clear();

    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok);
    showMessage(&box, message);

    // Recordings of nothing but digital silence: the microphone was muted or
    // failed, and the child would have to be evaluated again.
    if (silent.isEmpty())
        return;
    for (const QString &name : silent)
        qDebug().noquote() << QStringLiteral("[recordings] %1 holds only digital silence")
                                  .arg(VoiceRecorder::pathForName(name));
    QMessageBox warning;
    warning.setStandardButtons(QMessageBox::Ok);
    showMessage(&warning, silent.size() == 1
                          ? QString::fromUtf8("1 grabación de esta evaluación quedó en silencio total. "
                                              "Revise el micrófono antes de la próxima evaluación.")
                          : QString::fromUtf8("%1 grabaciones de esta evaluación quedaron en silencio total. "
                                              "Revise el micrófono antes de la próxima evaluación.")
                                .arg(silent.size()));
}
