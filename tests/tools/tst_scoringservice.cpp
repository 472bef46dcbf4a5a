#include "scoringserviceprocess.h"

#include <QtTest>

namespace {
const QString kUser = "ana@example.com";
using Entries = QList<QPair<QString, QByteArray>>;

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One request through curl, an HTTPS client that shares nothing with the
// application; returns the status code (0 when the answer broke off) and fills body.
int request(const ScoringServiceProcess &service, const QString &path, QByteArray *body = nullptr,
            const QStringList &extra = {})
{
    QProcess curl;
    curl.start("curl", QStringList{"-sS", "--cacert", service.caCertificate(), "-o", "-", "-w", "\n%{http_code}"}
                           + extra + QStringList{service.baseUrl() + path});
    curl.waitForFinished(10000);
    const QByteArray output = curl.readAllStandardOutput();
    const int cut = output.lastIndexOf('\n');
    if (body)
        *body = output.left(cut);
    return curl.exitCode() == 0 ? output.mid(cut + 1).toInt() : 0;
}
}

class TestScoringService : public QObject
{
    Q_OBJECT

private slots:
    void accountsAndCertificateAuthority()
    {
        ScoringServiceProcess service;
        QVERIFY(service.addAccount(kUser, "same secret"));
        QVERIFY(service.addAccount("luis@example.com", "same secret"));
        QVERIFY(service.start());

        // Only salted hashes are kept: the same password gives two hashes.
        const QByteArray accounts = readFile(service.dataDirectory() + "/accounts");
        QVERIFY(!accounts.contains("same secret"));
        QStringList hashes;
        for (const QByteArray &line : accounts.split('\n'))
            if (line.startsWith("pbkdf2-sha256 "))
                hashes << QString(line).section(' ', 2, 3);
        QCOMPARE(hashes.size(), 2);
        QVERIFY(hashes[0] != hashes[1]);

        QByteArray body;
        QCOMPARE(request(service, "/rumbolo/connection/ana@example.com/same%20secret", &body), 200);
        QCOMPARE(body, QByteArray("rumbolo upload available\n"));
        QCOMPARE(request(service, "/rumbolo/connection/ana@example.com/same"), 403);
        QCOMPARE(request(service, "/rumbolo/connection/nobody@example.com/same%20secret"), 403);
        // A new password replaces the old one, without a restart.
        QVERIFY(service.addAccount(kUser, "new/secret"));
        QCOMPARE(request(service, "/rumbolo/connection/ana@example.com/same%20secret"), 403);
        QCOMPARE(request(service, "/rumbolo/connection/ana@example.com/new%2Fsecret"), 200);
        QCOMPARE(request(service, "/rumbolo/connection/luis@example.com/same%20secret"), 200);
        QVERIFY(!service.log().contains("secret"));

        // The certificate authority is made once: a restart keeps it, so a
        // client that trusts it goes on trusting the service.
        const QByteArray authority = readFile(service.caCertificate());
        QVERIFY(authority.startsWith("-----BEGIN CERTIFICATE-----"));
        QVERIFY(service.start());
        QCOMPARE(readFile(service.caCertificate()), authority);
        QCOMPARE(request(service, "/rumbolo/connection/luis@example.com/same%20secret"), 200);
        QCOMPARE(request(service, "/rumbolo/elsewhere"), 404);
    }

    // An upload is stored, whole and verified, only when it is an evaluation
    // package from a known account, unless a test mode says otherwise; nothing
    // half-written is ever left next to the stored archives.
    void upload_data()
    {
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<int>("corruptAt"); // flip a byte there (-1: none)
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        const QByteArray exportFile = "GENERAL;evaluationId;3\nGENERAL;name;Ana\n";
        const Entries package{{"evaluation_3.log", exportFile}, {"20190404102030.wav", QByteArray(3000, 'x')}};
        QTest::newRow("package") << package << -1 << QStringList() << 200;
        QTest::newRow("recording first") << Entries{package[1], package[0]} << -1 << QStringList() << 422;
        QTest::newRow("export of another evaluation") << Entries{{"evaluation_4.log", exportFile}} << -1
                                                      << QStringList() << 422;
        QTest::newRow("export without its first line") << Entries{{"evaluation_3.log", "GENERAL;name;Ana\n"}} << -1
                                                       << QStringList() << 422;
        QTest::newRow("damaged data") << package << 52 << QStringList() << 422;
        QTest::newRow("not a zip") << Entries{} << -1 << QStringList() << 422;
        QTest::newRow("accounts refused") << package << -1 << QStringList{"--refuse-credentials"} << 403;
        QTest::newRow("first upload rejected") << package << -1 << QStringList{"--reject-upload", "1"} << 200;
        QTest::newRow("first upload dropped") << package << -1 << QStringList{"--drop-upload", "1"} << 0;
        QTest::newRow("slow answer") << package << -1 << QStringList{"--delay-ms", "700"} << 200;
    }

    void upload()
    {
        QFETCH(Entries, entries);
        QFETCH(int, corruptAt);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        ScoringServiceProcess service;
        QVERIFY(service.addAccount(kUser, "s3cret"));
        QVERIFY(service.start(options));
        QTemporaryDir dir;
        const QString archive = dir.filePath("evaluation_3.zip");
        QFile file(archive);
        if (!entries.isEmpty())
            QVERIFY(ScoringServiceProcess::makeArchive(archive, entries));
        QByteArray bytes = entries.isEmpty() ? "GENERAL;evaluationId;3\n" : readFile(archive);
        if (corruptAt >= 0)
            bytes[corruptAt] = char(bytes[corruptAt] ^ 0x55);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush());

        QByteArray body;
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(request(service, "/rumbolo/upload/ana@example.com/s3cret", &body,
                         {"-F", "myFile=@" + archive + ";type=application/zip"}), status);
        if (options.contains("--delay-ms"))
            QVERIFY(clock.elapsed() >= 700);
        const QStringList stored = service.storedArchives(kUser);
        const bool accepted = status == 200 && options.value(0) != "--reject-upload";
        QVERIFY2(accepted ? body == "EXITO\n" : !body.contains("EXITO"), body.constData());
        QCOMPARE(stored.size(), accepted ? 1 : 0);
        if (accepted)
            QCOMPARE(readFile(stored[0]), bytes);
        QCOMPARE(QDir(service.dataDirectory() + "/uploads/" + kUser).entryList(QDir::Files | QDir::Hidden).size(),
                 stored.size());
    }
};

QTEST_GUILESS_MAIN(TestScoringService)
#include "tst_scoringservice.moc"
