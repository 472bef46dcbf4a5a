#ifndef FORMSYNC_H
#define FORMSYNC_H

#include "evaluationpackage.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class DatabaseManager;
class HttpManager;
class QShowEvent;

namespace Ui {
class FormSync;
}

// The page "Enviar al servidor": checks the examiner's account with the
// scoring service, then packs and uploads every stored evaluation in turn and
// removes locally only what the server has confirmed. The run stops at the
// first failure; what was not confirmed stays for the next attempt.
class FormSync : public QWidget
{
    Q_OBJECT

public:
    enum SyncError {
        SyncOk = 0,
        ConnectionFailed = 1,
        ArchiveNotSent = 2,
        ArchiveInterrupted = 3,
        NothingToSend = 4,
        ArchiveNotCreated = 5,
    };
    Q_ENUM(SyncError)

    // The step whose answer the page is waiting for.
    enum SyncState {
        Idle = 0,
        CheckingCredentials = 1,
        CredentialsAccepted = 2,
        Uploading = 3,
        UploadAccepted = 4,
    };

    explicit FormSync(QWidget *parent = nullptr);
    ~FormSync() override;

    void setDatabaseManager(DatabaseManager *manager);

    // The scoring service is fixed by the build; tests point the page at a
    // service of their own.
    void setServerAddress(const QString &baseAddress);
    QString serverAddress() const { return server; }

public slots:
    void buttonSync();
    void syncFinished_ok();
    void syncFinished(FormSync::SyncError errorCode);
    void requestFinished(bool isOk);
    void increaseSent();

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool validateCredentials();
    void finishSync(const QString &message);
    void checkAvailability();
    void startSending();
    void sendNextEvaluation();
    void uploadEvaluation(int evaluationId);
    void checkArchiveUpload();
    void updateProgress();
    QString serviceUrl(const QString &endpoint, bool forDebugOutput) const;
    static void showMessage(const QString &message);
    static QString messageFor(SyncError errorCode);

    Ui::FormSync *ui;
    DatabaseManager *databaseManager;
    HttpManager *httpManager;
    int syncState;
    int totalEvaluations;
    int sentEvaluations;
    int currentEvaluation;
    QList<int> pendingEvaluations;
    QStringList currentRecordings;
    EvaluationPackage package;
    QString server;
};

#endif // FORMSYNC_H
