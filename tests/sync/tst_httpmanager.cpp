#include "httpmanager.h"
#include "scoringserviceprocess.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestHttpManager : public QObject
{
    Q_OBJECT

    ScoringServiceProcess service;
    QTemporaryDir files;

    QString url(const QString &endpoint, const QString &password = "s3cret") const
    {
        return service.baseUrl() + "/rumbolo/" + endpoint + "/ana@example.com/" + password;
    }

    // What finished() reported, once nothing more is due (a timeout shows in the comparison).
    static QList<bool> results(QSignalSpy &spy, int count = 1)
    {
        (void)QTest::qWaitFor([&] { return spy.count() >= count; }, 10000);
        QTest::qWait(200);
        QList<bool> list;
        for (const QList<QVariant> &arguments : qAsConst(spy))
            list << arguments.at(0).toBool();
        return list;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(service.addAccount("ana@example.com", "s3cret"));
        QVERIFY(ScoringServiceProcess::makeArchive(files.filePath("evaluation_7.zip"),
                                                   {{"evaluation_7.log", "GENERAL;evaluationId;7\n"}}));
        QVERIFY(QDir(files.path()).mkpath("unreadable.zip"));
        QVERIFY(service.start({"--delay-ms", "700"})); // every answer comes late: a request can be overtaken
    }

    // An archive that cannot be opened is a failed transfer, never an empty upload.
    void unreadableArchiveFailsWithoutUpload()
    {
        const int logged = service.log().size();
        for (const QString path : {"missing/evaluation_8.zip", "unreadable.zip"}) { // no file, a directory
            HttpManager http;
            QSignalSpy spy(&http, &HttpManager::finished);
            http.uploadFile(url("upload"), files.filePath(path));
            QCOMPARE(results(spy), QList<bool>{false});
            QVERIFY(http.replyContents().isEmpty());
        }
        QVERIFY2(!service.log().mid(logged).contains("POST"), qPrintable(service.log()));
    }

    void failedReplyReportsFalseThenTrue()
    {
        HttpManager http;
        QSignalSpy spy(&http, &HttpManager::finished);
        http.getUrl(url("connection", "wrong"));
        QCOMPARE(results(spy, 2), (QList<bool>{false, true}));
    }

    void newRequestAbandonsUpload()
    {
        HttpManager http;
        QSignalSpy spy(&http, &HttpManager::finished);
        http.uploadFile(url("upload"), files.filePath("evaluation_7.zip"));
        QTest::qWait(50);
        http.getUrl(url("connection"));
        QCOMPARE(results(spy), QList<bool>{true}); // the abandoned upload was due before this answer
        QCOMPARE(http.replyContents(), QByteArray("rumbolo upload available\n"));
    }
};

QTEST_GUILESS_MAIN(TestHttpManager)
#include "tst_httpmanager.moc"
