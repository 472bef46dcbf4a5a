#include "httpmanager.h"
#include "scoringserviceprocess.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kUser = "ana@example.com";
const QString kPassword = "s3cret";
}

class TestHttpManager : public QObject
{
    Q_OBJECT

private:
    ScoringServiceProcess service;
    QTemporaryDir files;

    QString url(const QString &endpoint, const QString &password = kPassword) const
    {
        return service.baseUrl() + "/rumbolo/" + endpoint + "/" + kUser + "/" + password;
    }

    static QList<bool> results(const QSignalSpy &spy)
    {
        QList<bool> list;
        for (const QList<QVariant> &arguments : spy)
            list << arguments.at(0).toBool();
        return list;
    }

private slots:
    void initTestCase();
    void init();
    void uploadAsTheServerSeesIt();
    void unreadableArchiveFailsWithoutUpload_data();
    void unreadableArchiveFailsWithoutUpload();
    void failedReplyReportsFalseThenTrue();
    void newRequestAbandonsUpload();
};

void TestHttpManager::initTestCase()
{
    QVERIFY(service.addAccount(kUser, kPassword));
    QVERIFY(ScoringServiceProcess::makeArchive(files.filePath("evaluation_7.zip"),
                                               {{"evaluation_7.log", "GENERAL;evaluationId;7\n"}}));
}

void TestHttpManager::init()
{
    QVERIFY(service.start(QString(QTest::currentTestFunction()) == "newRequestAbandonsUpload"
                              ? QStringList{"--delay-ms", "700"}
                              : QStringList{}));
}

void TestHttpManager::uploadAsTheServerSeesIt()
{
    HttpManager http;
    QSignalSpy spy(&http, &HttpManager::finished);
    QVERIFY(http.replyContents().isEmpty());
    http.uploadFile(url("upload"), files.filePath("evaluation_7.zip"));
    QVERIFY(spy.wait(10000));
    QTest::qWait(50);
    QCOMPARE(results(spy), QList<bool>{true});
    QCOMPARE(http.replyContents(), QByteArray("EXITO\n"));

    // One part "myFile" with the bare file name and the zip content type.
    const QStringList stored = service.storedArchives(kUser);
    QCOMPARE(stored.size(), 1);
    QFile original(files.filePath("evaluation_7.zip")), received(stored[0]);
    QVERIFY(original.open(QIODevice::ReadOnly) && received.open(QIODevice::ReadOnly));
    QCOMPARE(received.readAll(), original.readAll());
    QVERIFY2(service.log().contains("(file name \"evaluation_7.zip\", type application/zip,"), qPrintable(service.log()));
}

void TestHttpManager::unreadableArchiveFailsWithoutUpload_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing file") << "missing/evaluation_8.zip";
    QTest::newRow("directory") << "unreadable.zip";
}

void TestHttpManager::unreadableArchiveFailsWithoutUpload()
{
    QFETCH(QString, path);
    QDir(files.path()).mkpath("unreadable.zip");

    HttpManager http;
    QSignalSpy spy(&http, &HttpManager::finished);
    http.uploadFile(url("upload"), files.filePath(path));
    QVERIFY(spy.wait(5000));
    QTest::qWait(200);
    QCOMPARE(results(spy), QList<bool>{false});
    QVERIFY(http.replyContents().isEmpty());
    QVERIFY2(!service.log().contains("POST"), qPrintable(service.log()));
}

void TestHttpManager::failedReplyReportsFalseThenTrue()
{
    HttpManager http;
    QSignalSpy spy(&http, &HttpManager::finished);
    http.getUrl(url("connection", "wrong"));
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 2, 10000);
    QCOMPARE(results(spy), (QList<bool>{false, true}));
}

void TestHttpManager::newRequestAbandonsUpload()
{
    HttpManager http;
    QSignalSpy spy(&http, &HttpManager::finished);
    http.uploadFile(url("upload"), files.filePath("evaluation_7.zip"));
    QTest::qWait(50);
    http.getUrl(url("connection"));
    QVERIFY(spy.wait(10000));
    QTest::qWait(200); // the abandoned upload was due before the new answer
    QCOMPARE(results(spy), QList<bool>{true});
    QCOMPARE(http.replyContents(), QByteArray("rumbolo upload available\n"));
}

QTEST_GUILESS_MAIN(TestHttpManager)
#include "tst_httpmanager.moc"
