#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "databasemanager.h"

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QMetaObject>

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
    , startupMessage(new QMessageBox())
    , startupOk(true)
    , evaluationId(0)
{
    startupMessage->setStandardButtons(QMessageBox::Ok);

    ui->setupUi(this);

    if (!ensureDirectory("grabaciones", QString::fromUtf8("Problemas creando el directorio de grabaciones.")))
        startupOk = false;
    if (!ensureDirectory("envios", QString::fromUtf8("Problemas creando el directorio de sincronización.")))
        startupOk = false;

    ui->horizontalLayout_2->setContentsMargins(0, 0, 0, 0);

    if (!database->openDatabase()) {
        showMessage(startupMessage, QString::fromUtf8("Problemas de la conexión con la base de datos."));
        startupOk = false;
    }

    setUnifiedTitleAndToolBarOnMac(true);
    setWindowTitle("Rumbolo");
}

MainWindow::~MainWindow()
{
    delete ui;
    delete startupMessage;
    delete database;
}

bool MainWindow::ensureDirectory(const QString &name, const QString &failureMessage)
{
    const QString path = QDir::currentPath() + QDir::separator() + name;
    QDir dir(path);
    if (dir.exists() || dir.mkpath(path))
        return true;
    showMessage(startupMessage, failureMessage);
    return false;
}

void MainWindow::showMessage(QMessageBox *box, const QString &text)
{
    // The text also goes to the debug output, so that a session can be followed from its log.
    qInfo().noquote() << "[message]" << text;
    box->setText(text);
    box->exec();
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
    return saveData("log", logRow(currentTest, key, value));
}

void MainWindow::startNextGame()
{
    if (evaluationId == 0) {
        qDebug() << "MainWindow::startNextGame ignored: no evaluation is running";
        return;
    }
    if (testQueue.isEmpty()) {
        finishEvaluation(QString::fromUtf8(messageFinished), false);
        return;
    }
    stopAudio();
    currentTest = testQueue.takeFirst();
    finishEvaluation(QString::fromUtf8(messageFinished), false);
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
}

void MainWindow::finishEvaluation(const QString &message, bool writeAbandonRow)
{
    stopAudio();
    if (writeAbandonRow)
        saveData("log", logRow("FULL", "ABORT", "1"));
    evaluationId = 0;
    currentTest = QString("");
    restoreSize();

    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok);
    showMessage(&box, message);
}
