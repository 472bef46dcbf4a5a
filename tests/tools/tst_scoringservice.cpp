#include "scoringserviceprocess.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kUser = "ana@example.com";
using Entries = QList<QPair<QString, QByteArray>>;
}

class TestScoringService : public QObject
{
    Q_OBJECT

private:
    // One request through curl, an HTTPS client that shares nothing with the
    // application; returns the status code and fills body.
    static int request(const ScoringServiceProcess &service, const QString &path, QByteArray *body,
                       const QStringList &extra = {})
    {
        QProcess curl;
        curl.start("curl", QStringList{"-sS", "--cacert", service.caCertificate(), "-o", "-", "-w", "\n%{http_code}"}
                               + extra + QStringList{service.baseUrl() + path});
        curl.waitForFinished(10000);
        QByteArray output = curl.readAllStandardOutput();
        const int cut = output.lastIndexOf('\n');
        if (body)
            *body = output.left(cut);
        return output.mid(cut + 1).toInt();
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

private slots:
    void accountsKeepOnlySaltedHashes();
    void acceptsOnlyEvaluationPackages_data();
    void acceptsOnlyEvaluationPackages();
    void certificateAuthorityIsMadeOnce();
};

void TestScoringService::accountsKeepOnlySaltedHashes()
{
    ScoringServiceProcess service;
    QVERIFY(service.addAccount(kUser, "same secret"));
    QVERIFY(service.addAccount("luis@example.com", "same secret"));
    QVERIFY(service.start());

    const QByteArray accounts = readFile(service.dataDirectory() + "/accounts");
    QVERIFY(!accounts.contains("same secret"));
    QStringList hashes;
    for (const QByteArray &line : accounts.split('\n'))
        if (line.startsWith("pbkdf2-sha256 "))
            hashes << QString(line).section(' ', 2, 3);
    QCOMPARE(hashes.size(), 2);
    QVERIFY(hashes[0] != hashes[1]); // different salts, different hashes

    QByteArray body;
    QCOMPARE(request(service, "/rumbolo/connection/ana@example.com/same%20secret", &body), 200);
    QCOMPARE(body, QByteArray("rumbolo upload available\n"));
    QCOMPARE(request(service, "/rumbolo/connection/ana@example.com/same", nullptr), 403);
    QCOMPARE(request(service, "/rumbolo/connection/nobody@example.com/same%20secret", nullptr), 403);

    // A new password replaces the old one, without a restart.
    QVERIFY(service.addAccount(kUser, "new/secret"));
    QCOMPARE(request(service, "/rumbolo/connection/ana@example.com/same%20secret", nullptr), 403);
    QCOMPARE(request(service, "/rumbolo/connection/ana@example.com/new%2Fsecret", nullptr), 200);
    QCOMPARE(request(service, "/rumbolo/connection/luis@example.com/same%20secret", nullptr), 200);
    QVERIFY(!service.log().contains("secret"));
}

void TestScoringService::acceptsOnlyEvaluationPackages_data()
{
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<int>("corruptAt"); // flip a byte there (-1: none)
    QTest::addColumn<int>("status");

    const QByteArray exportFile = "GENERAL;evaluationId;3\nGENERAL;name;Ana\n";
    const QByteArray recording(3000, 'x');
    QTest::newRow("package") << Entries{{"evaluation_3.log", exportFile}, {"20190404102030.wav", recording}} << -1
                             << 200;
    QTest::newRow("recording first") << Entries{{"20190404102030.wav", recording}, {"evaluation_3.log", exportFile}}
                                     << -1 << 422;
    QTest::newRow("export of another evaluation") << Entries{{"evaluation_4.log", exportFile}} << -1 << 422;
    QTest::newRow("export without its first line") << Entries{{"evaluation_3.log", "GENERAL;name;Ana\n"}} << -1
                                                    << 422;
    QTest::newRow("damaged data") << Entries{{"evaluation_3.log", exportFile}, {"20190404102030.wav", recording}}
                                  << 52 << 422;
    QTest::newRow("not a zip") << Entries{} << -1 << 422;
}

void TestScoringService::acceptsOnlyEvaluationPackages()
{
    QFETCH(Entries, entries);
    QFETCH(int, corruptAt);
    QFETCH(int, status);

    ScoringServiceProcess service;
    QVERIFY(service.addAccount(kUser, "s3cret"));
    QVERIFY(service.start());
    QTemporaryDir dir;
    const QString archive = dir.filePath("evaluation_3.zip");
    if (entries.isEmpty()) {
        QFile file(archive);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("GENERAL;evaluationId;3\n");
    } else {
        QVERIFY(ScoringServiceProcess::makeArchive(archive, entries));
    }
    if (corruptAt >= 0) {
        QFile file(archive);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        bytes[corruptAt] = char(bytes[corruptAt] ^ 0x55);
        file.seek(0);
        file.write(bytes);
    }

    QByteArray body;
    QCOMPARE(request(service, "/rumbolo/upload/ana@example.com/s3cret", &body,
                     {"-F", "myFile=@" + archive + ";type=application/zip"}),
             status);
    const QStringList stored = service.storedArchives(kUser);
    if (status == 200) {
        QCOMPARE(body, QByteArray("EXITO\n"));
        QCOMPARE(stored.size(), 1);
        QCOMPARE(readFile(stored[0]), readFile(archive));
    } else {
        QVERIFY(!body.contains("EXITO"));
        QCOMPARE(stored.size(), 0);
    }
    // Nothing half-written is left next to the stored archives.
    QCOMPARE(QDir(service.dataDirectory() + "/uploads/" + kUser).entryList(QDir::Files | QDir::Hidden).size(),
             stored.size());
}

void TestScoringService::certificateAuthorityIsMadeOnce()
{
    ScoringServiceProcess service;
    QVERIFY(service.start());
    const QByteArray authority = readFile(service.caCertificate());
    QVERIFY(authority.startsWith("-----BEGIN CERTIFICATE-----"));
    QVERIFY(service.start()); // a second start of the same data directory
    QCOMPARE(readFile(service.caCertificate()), authority);
    QCOMPARE(request(service, "/rumbolo/connection/x/y", nullptr), 403);
    QCOMPARE(request(service, "/rumbolo/elsewhere", nullptr), 404);
}

QTEST_GUILESS_MAIN(TestScoringService)
#include "tst_scoringservice.moc"
