#include "httpmanager.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QHttpMultiPart>
#include <QHttpPart>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

HttpManager::HttpManager(QObject *parent)
    : QObject(parent)
    , networkManager(new QNetworkAccessManager(this))
    , currentReply(nullptr)
    , requestNumber(0)
{
    qRegisterMetaType<QNetworkReply::NetworkError>("QNetworkReply::NetworkError");
}

void HttpManager::releaseReply()
{
    ++requestNumber;
    if (!currentReply)
        return;
    disconnect(currentReply, &QNetworkReply::finished, this, &HttpManager::replyHasFinishedReading);
    disconnect(currentReply, &QNetworkReply::errorOccurred, this, &HttpManager::replyHasError);
    currentReply->deleteLater(); // abandons a transfer still running
    currentReply = nullptr;
}

void HttpManager::attachReply()
{
    connect(currentReply, &QNetworkReply::finished, this, &HttpManager::replyHasFinishedReading);
    connect(currentReply, &QNetworkReply::errorOccurred, this, &HttpManager::replyHasError);
}

void HttpManager::getUrl(const QString &url)
{
    releaseReply();
    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    currentReply = networkManager->get(request);
    attachReply();
}

void HttpManager::uploadFile(const QString &url, const QString &filePath)
{
    releaseReply();

    // An archive that cannot be read is a failed transfer, never an empty upload.
    QFile file(filePath);
    QByteArray contents;
    bool readable = file.open(QIODevice::ReadOnly);
    if (readable) {
        contents = file.readAll();
        readable = file.error() == QFileDevice::NoError && contents.size() == file.size();
        file.close();
    }
    if (!readable) {
        qDebug().noquote() << "[uploadFile]cannot read" << filePath + ":" << file.errorString();
        const quint64 failed = requestNumber;
        QTimer::singleShot(0, this, [this, failed] {
            if (failed == requestNumber)
                emit finished(false);
        });
        return;
    }

    auto *multiPart = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    QHttpPart part;
    part.setHeader(QNetworkRequest::ContentTypeHeader, QVariant("application/zip"));
    part.setHeader(QNetworkRequest::ContentDispositionHeader,
                   QVariant(QString("form-data; name=\"myFile\"; filename=\"%1\"").arg(QFileInfo(filePath).fileName())));
    part.setBody(contents);
    multiPart->append(part);

    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    currentReply = networkManager->post(request, multiPart);
    attachReply();
    multiPart->setParent(currentReply);
}

QByteArray HttpManager::replyContents()
{
    if (!currentReply)
        return QByteArray();
    return currentReply->readAll();
}

void HttpManager::replyHasFinishedReading()
{
    emit finished(true);
}

void HttpManager::replyHasError(QNetworkReply::NetworkError code)
{
    if (currentReply) {
        qDebug().noquote() << "REPLY HAS ERROR: " + QString::number(static_cast<int>(code));
        // Qt names the URL in some error texts; its path carries the
        // credentials, so only the server part is shown.
        QString text = currentReply->errorString();
        const QUrl url = currentReply->url();
        const QString server = url.adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery
                                            | QUrl::RemoveFragment).toString() + "/...";
        for (const QString &form : {url.toString(), url.toString(QUrl::FullyEncoded), url.toDisplayString()})
            text.replace(form, server);
        qDebug().noquote() << text;
    }
    emit finished(false);
}
