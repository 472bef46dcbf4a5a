#include "formsync.h"
#include "ui_formsync.h"

#include "databasemanager.h"
#include "httpmanager.h"
#include "scoringserviceaddress.h"

#include <QDebug>
#include <QFile>
#include <QMessageBox>
#include <QShowEvent>
#include <QUrl>

namespace {
// Characters a path segment may hold as they are (RFC 3986 "pchar" besides the
// unreserved ones), so that an ordinary e-mail address is sent unchanged.
const QByteArray kSegmentSafe = "!$&'()*+,;=:@";
}

FormSync::FormSync(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::FormSync)
    , databaseManager(nullptr)
    , httpManager(nullptr)
    , syncState(Idle)
    , totalEvaluations(0)
    , sentEvaluations(0)
    , currentEvaluation(-1)
    , server(QStringLiteral(RUMBOLO_SCORING_SERVICE_URL))
{
    ui->setupUi(this);
    connect(ui->buttonSync, SIGNAL(clicked()), this, SLOT(buttonSync()));
    ui->progressBar->hide();
    ui->labelProgress->hide();

    httpManager = new HttpManager(this);
    connect(httpManager, SIGNAL(finished(bool)), this, SLOT(requestFinished(bool)));
}

FormSync::~FormSync()
{
    delete ui;
}

void FormSync::setDatabaseManager(DatabaseManager *manager)
{
    databaseManager = manager;
    package.setDatabaseManager(manager);
}

void FormSync::setServerAddress(const QString &baseAddress)
{
    server = baseAddress;
}

void FormSync::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    ui->lineEditUsername->setFocus(Qt::OtherFocusReason);
}

QString FormSync::messageFor(SyncError errorCode)
{
    switch (errorCode) {
    case SyncOk:
        return tr("Los datos fueron enviados correctamente.");
    case ConnectionFailed:
        return tr("No se puede establecer conexión con el servidor. Revise su usuario y contraseña o intente más tarde.");
    case ArchiveNotSent:
        return tr("No se envío el archivo comprimido.");
    case ArchiveInterrupted:
        return tr("El envío del archivo comprimido fue interrumpido.");
    case NothingToSend:
        return tr("No hay evaluaciones que enviar.");
    case ArchiveNotCreated:
        return tr("No se puede crear el archivo comprimido.");
    }
    return QString();
}

void FormSync::showMessage(const QString &message)
{
    QMessageBox box;
    box.setText(message);
    box.exec();
}

QString FormSync::serviceUrl(const QString &endpoint, bool forDebugOutput) const
{
    // Each credential is one path segment: a "/", "?", "#", "%" or space in it
    // must reach the server as part of the segment, so it is percent-encoded.
    const QString user = QString::fromLatin1(
        QUrl::toPercentEncoding(ui->lineEditUsername->text().trimmed(), kSegmentSafe));
    const QString password = forDebugOutput
        ? QStringLiteral("********")
        : QString::fromLatin1(QUrl::toPercentEncoding(ui->lineEditPassword->text().trimmed(), kSegmentSafe));
    return server + "/rumbolo/" + endpoint + "/" + user + "/" + password;
}

bool FormSync::validateCredentials()
{
    if (ui->lineEditUsername->text().trimmed().isEmpty()) {
        showMessage(tr("Debe escribir el usuario."));
        ui->lineEditUsername->setFocus();
        return false;
    }
    if (ui->lineEditPassword->text().trimmed().isEmpty()) {
        showMessage(tr("Debe escribir la contraseña."));
        ui->lineEditPassword->setFocus();
        return false;
    }
    return true;
}

void FormSync::buttonSync()
{
    syncState = Idle;
    if (!validateCredentials())
        return;
    syncState = CheckingCredentials;
    qDebug().noquote() << "[buttonSync]urlWithUserInfo: " + serviceUrl("connection", true);
    httpManager->getUrl(serviceUrl("connection", false));
}

void FormSync::requestFinished(bool isOk)
{
    if (isOk) {
        switch (syncState) {
        case CheckingCredentials:
            checkAvailability();
            break;
        case CredentialsAccepted:
            startSending();
            break;
        case Uploading:
            checkArchiveUpload();
            break;
        case UploadAccepted:
            sendNextEvaluation();
            break;
        default:
            break;
        }
        return;
    }

    switch (syncState) {
    case CheckingCredentials:
    case CredentialsAccepted:
        syncFinished(ConnectionFailed);
        break;
    case Uploading:
        package.deleteArchive(currentEvaluation);
        syncFinished(ArchiveNotSent);
        break;
    case UploadAccepted:
        package.deleteArchive(currentEvaluation);
        syncFinished(ArchiveInterrupted);
        break;
    default:
        break;
    }
}

void FormSync::checkAvailability()
{
    const QByteArray body = httpManager->replyContents();
    const QString contents = QString::fromUtf8(body.constData()); // up to the first NUL
    qDebug().noquote() << "[checkAvailability]contents: " + contents;
    syncState = CredentialsAccepted;
    requestFinished(contents.contains("rumbolo upload available"));
}

void FormSync::startSending()
{
    pendingEvaluations.clear();
    currentEvaluation = -1;

    if (databaseManager && databaseManager->execQuery("SELECT ROWID FROM evaluation")) {
        while (databaseManager->nextRow())
            pendingEvaluations << databaseManager->valueOf("ROWID").toInt();
    } else {
        qDebug() << "[startSending]cannot list the evaluations"
                 << (databaseManager ? databaseManager->lastError().text() : QString("(no database)"));
    }

    sentEvaluations = -1;
    totalEvaluations = pendingEvaluations.size();
    if (totalEvaluations == 0) {
        syncFinished(NothingToSend);
        return;
    }
    ui->progressBar->setRange(0, totalEvaluations);
    ui->progressBar->show();
    ui->labelProgress->show();
    updateProgress();
    sendNextEvaluation();
}

void FormSync::sendNextEvaluation()
{
    qDebug() << "Send next evaluation!";

    if (currentEvaluation != -1) {
        // The server has confirmed it: only now is anything deleted here. The
        // rows go first, all or none; the recordings follow only once that is
        // committed, so an evaluation still listed keeps its recordings.
        qDebug().noquote() << "Deleting currentEvaluation = " + QString::number(currentEvaluation);
        const bool retired = databaseManager && databaseManager->deleteEvaluation(currentEvaluation);
        package.deleteArchive(currentEvaluation);
        if (retired) {
            for (const QString &recording : qAsConst(currentRecordings))
                QFile::remove(EvaluationPackage::recordingsDirectory() + recording + ".wav");
        } else {
            qDebug().noquote() << "Evaluation " + QString::number(currentEvaluation)
                    + " stays with its recordings: its rows could not be deleted";
        }
        currentEvaluation = -1;
    }

    if (pendingEvaluations.isEmpty()) {
        syncFinished_ok();
        return;
    }

    increaseSent();
    currentEvaluation = pendingEvaluations.takeFirst();
    currentRecordings.clear();
    if (package.createArchive(currentEvaluation, currentRecordings))
        uploadEvaluation(currentEvaluation);
    else
        syncFinished(ArchiveNotCreated);
}

void FormSync::uploadEvaluation(int evaluationId)
{
    syncState = Uploading;
    httpManager->uploadFile(serviceUrl("upload", false), EvaluationPackage::archivePath(evaluationId));
    qDebug().noquote() << "[uploadEvaluation]urlWithUserInfo: " + serviceUrl("upload", true);
}

void FormSync::checkArchiveUpload()
{
    const QByteArray body = httpManager->replyContents();
    const QString contents = QString::fromUtf8(body.constData());
    qDebug().noquote() << "[checkArchiveUpload]contents: " + contents;
    syncState = UploadAccepted;
    requestFinished(contents.contains("EXITO"));
}

void FormSync::increaseSent()
{
    ++sentEvaluations;
    updateProgress();
    if (sentEvaluations >= totalEvaluations)
        syncFinished_ok();
}

void FormSync::updateProgress()
{
    ui->labelProgress->setText(QString::number(sentEvaluations) + " / " + QString::number(totalEvaluations));
    ui->progressBar->setValue(sentEvaluations);
}

void FormSync::syncFinished_ok()
{
    syncFinished(SyncOk);
}

void FormSync::syncFinished(FormSync::SyncError errorCode)
{
    finishSync(messageFor(errorCode));
}

void FormSync::finishSync(const QString &message)
{
    syncState = Idle;
    ui->progressBar->hide();
    ui->labelProgress->hide();
    showMessage(message);
}
