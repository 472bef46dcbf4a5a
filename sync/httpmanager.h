#ifndef HTTPMANAGER_H
#define HTTPMANAGER_H

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QString>

class QNetworkAccessManager;

// Sends the upload page's requests to the scoring service, one at a time: a
// plain GET, and a multipart/form-data POST carrying one zip archive in the
// part "myFile". A new request abandons the previous one, whose completion is
// then never reported.
class HttpManager : public QObject
{
    Q_OBJECT

public:
    explicit HttpManager(QObject *parent = nullptr);

    void getUrl(const QString &url);
    void uploadFile(const QString &url, const QString &filePath);
    // What the current reply still has to give (reading consumes it).
    QByteArray replyContents();

signals:
    // true when the current reply completed, false when it reported an error.
    // A failed reply reports false and then its completion (true): the second
    // signal of a failed request must be ignored by the owner.
    void finished(bool isOk);

private slots:
    void replyHasFinishedReading();
    void replyHasError(QNetworkReply::NetworkError code);

private:
    void releaseReply();
    void attachReply();

    QNetworkAccessManager *networkManager;
    QNetworkReply *currentReply;
    // Counts requests, so that a failure reported later belongs to the
    // request that is still the current one.
    quint64 requestNumber;
};

#endif // HTTPMANAGER_H
