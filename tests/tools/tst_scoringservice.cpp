#include "scoringserviceprocess.h"

#include <QtTest>

namespace {
const QString kUser = "ana@example.com";
// What the service may hold resident at its peak (VmHWM), whatever it is sent;
// it stays near 10 MiB, 45 MiB for 70 000 entries (the sanitizers' shadow
// memory and quarantine bring that to about 105 and 205 MiB).
#ifdef RUMBOLO_SANITIZED
const qint64 kPeakResidentKiB = 320 << 10;
#else
const qint64 kPeakResidentKiB = 64 << 10;
#endif
using Entries = QList<QPair<QString, QByteArray>>;

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes an archive that no application would send, record by record, so
// that its headers can declare what they like.
bool craftArchive(const QString &path, const QString &kind)
{
    static const char script[] = R"(
import struct, sys, zlib
path, kind = sys.argv[1], sys.argv[2]
if kind == "oversized body":  # over the request limit by itself (sparse: nothing written)
    with open(path, "wb") as f:
        f.truncate((128 << 20) + 1)
    sys.exit(0)

def deflated(data, declared=None):
    c = zlib.compressobj(6, zlib.DEFLATED, -15)
    return c.compress(data) + c.flush(), zlib.crc32(data), len(data) if declared is None else declared

export = deflated(b"GENERAL;evaluationId;3\n")
recording = deflated(bytes(3000))
entries = [("evaluation_3.log", export)]
if kind == "declares 4 GiB":  # both headers of the recording, consistent with each other
    entries.append(("20190404102030.wav", deflated(bytes(3000), 0xFFFFFFFE)))
elif kind == "zip bomb":  # 65 MiB of silence in 65 KiB
    entries.append(("20190404102030.wav", deflated(bytes(65 << 20))))
elif kind == "archive bomb":  # each entry under the entry limit, together over the archive's
    silence = deflated(bytes(60 << 20))
    entries += [("2019040410203%d.wav" % i, silence) for i in range(9)]
elif kind == "70000 entries":
    entries += [("%05d.wav" % i, recording) for i in range(70000)]
elif kind == "parent folder":
    entries.append(("../20190404102030.wav", recording))
else:
    entries.append(("20190404102030.wav", recording))

data, directory = bytearray(), bytearray()
for name, (compressed, crc, size) in entries:
    name = name.encode()
    directory += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, 0, 8, 0, 0, crc, len(compressed), size,
                             len(name), 0, 0, 0, 0, 0, len(data)) + name
    data += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, 8, 0, 0, crc, len(compressed), size, len(name), 0)
    data += name + compressed
count, start = len(entries), len(data)
data += directory
if count > 0xFFFF:  # the zip64 end records carry the count
    data += struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, count, count, len(directory), start)
    data += struct.pack("<IIQI", 0x07064B50, 0, start + len(directory), 1)
    count, start = 0xFFFF, 0xFFFFFFFF
data += struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, count, count, len(directory), start, 0)
if kind == "truncated":
    data = data[:len(data) * 2 // 3]
open(path, "wb").write(data)
)";
    QProcess python;
    python.start("python3", {"-c", script, path, kind});
    return python.waitForFinished(60000) && python.exitStatus() == QProcess::NormalExit && python.exitCode() == 0;
}

// One request through curl, an HTTPS client that shares nothing with the
// application; returns the status code (0 when the answer broke off) and fills body.
int request(const ScoringServiceProcess &service, const QString &path, QByteArray *body = nullptr,
            const QStringList &extra = {})
{
    QProcess curl;
    curl.start("curl", QStringList{"-sS", "--cacert", service.caCertificate(), "-o", "-", "-w", "\n%{http_code}"}
                           + extra + QStringList{service.baseUrl() + path});
    curl.waitForFinished(60000);
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

        // An unknown account costs the service as much work as a wrong
        // password, so the answer does not tell which accounts exist.
        auto work = [&service](const QString &path) {
            const qint64 before = service.processorTimeMs();
            for (int i = 0; i < 6; ++i)
                request(service, path);
            return service.processorTimeMs() - before;
        };
        const qint64 wrongPassword = work("/rumbolo/connection/luis@example.com/wrong");
        const qint64 unknownAccount = work("/rumbolo/connection/nobody@example.com/wrong");
        qInfo("processor time of 6 answers: wrong password %lld ms, unknown account %lld ms", wrongPassword,
              unknownAccount);
        QVERIFY2(wrongPassword >= 60 && unknownAccount * 2 >= wrongPassword,
                 qPrintable(QString("%1 ms vs %2 ms").arg(unknownAccount).arg(wrongPassword)));
    }

    // An upload is stored, whole and verified, only when it is an evaluation
    // package from a known account, unless a test mode says otherwise; nothing
    // half-written is ever left next to the stored archives. Whatever came, the
    // service has stayed small and goes on accepting packages.
    void upload_data()
    {
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<QString>("craft"); // an archive made by craftArchive instead
        QTest::addColumn<int>("corruptAt"); // flip a byte there (-1: none)
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        const QByteArray exportFile = "GENERAL;evaluationId;3\nGENERAL;name;Ana\n";
        const Entries package{{"evaluation_3.log", exportFile}, {"20190404102030.wav", QByteArray(3000, 'x')}};
        QTest::newRow("package") << package << "" << -1 << QStringList() << 200;
        QTest::newRow("recording first") << Entries{package[1], package[0]} << "" << -1 << QStringList() << 422;
        QTest::newRow("export of another evaluation") << Entries{{"evaluation_4.log", exportFile}} << "" << -1
                                                      << QStringList() << 422;
        QTest::newRow("export without its first line") << Entries{{"evaluation_3.log", "GENERAL;name;Ana\n"}}
                                                       << "" << -1 << QStringList() << 422;
        QTest::newRow("damaged data") << package << "" << 52 << QStringList() << 422;
        QTest::newRow("not a zip") << Entries{} << "" << -1 << QStringList() << 422;
        QTest::newRow("accounts refused") << package << "" << -1 << QStringList{"--refuse-credentials"} << 403;
        QTest::newRow("first upload rejected") << package << "" << -1 << QStringList{"--reject-upload", "1"} << 200;
        QTest::newRow("first upload dropped") << package << "" << -1 << QStringList{"--drop-upload", "1"} << 0;
        QTest::newRow("slow answer") << package << "" << -1 << QStringList{"--delay-ms", "700"} << 200;
        QTest::newRow("recording packed twice") << Entries{package[0], package[1], package[1]} << "" << -1
                                                << QStringList() << 200;
        // Hostile uploads: refused with a 4xx, by what is actually inflated, never by what is declared.
        for (const char *craft : {"declares 4 GiB", "truncated", "parent folder"})
            QTest::newRow(craft) << Entries{} << craft << -1 << QStringList() << 422;
        for (const char *craft : {"zip bomb", "archive bomb", "70000 entries", "oversized body"})
            QTest::newRow(craft) << Entries{} << craft << -1 << QStringList() << 413;
    }

    void upload()
    {
        QFETCH(Entries, entries);
        QFETCH(QString, craft);
        QFETCH(int, corruptAt);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        ScoringServiceProcess service;
        QVERIFY(service.addAccount(kUser, "s3cret"));
        QVERIFY(service.start(options));
        QTemporaryDir dir;
        const QString archive = dir.filePath("evaluation_3.zip");
        QFile file(archive);
        QByteArray bytes;
        if (!craft.isEmpty()) {
            QVERIFY(craftArchive(archive, craft));
        } else {
            if (!entries.isEmpty())
                QVERIFY(ScoringServiceProcess::makeArchive(archive, entries));
            bytes = entries.isEmpty() ? "GENERAL;evaluationId;3\n" : readFile(archive);
            if (corruptAt >= 0)
                bytes[corruptAt] = char(bytes[corruptAt] ^ 0x55);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush());
        }

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

        const qint64 peak = service.peakResidentKiB();
        qInfo("peak resident size of the service: %lld KiB", peak);
        QVERIFY2(peak > 0 && peak < kPeakResidentKiB, qPrintable(QString::number(peak) + " KiB"));
        if (options.contains("--refuse-credentials"))
            return;
        // A terminal escape in the file name reaches the log only escaped.
        const QString normal = dir.filePath("evaluation_4.zip");
        QVERIFY(ScoringServiceProcess::makeArchive(normal, {{"evaluation_4.log", "GENERAL;evaluationId;4\n"}}));
        QCOMPARE(request(service, "/rumbolo/upload/ana@example.com/s3cret", &body,
                         {"-F", "myFile=@" + normal + ";type=application/zip;filename=evaluation_4\x1b[2J.zip"}), 200);
        QCOMPARE(body, QByteArray("EXITO\n"));
        QCOMPARE(service.storedArchives(kUser).size(), stored.size() + 1);
        QTRY_VERIFY(service.log().contains("(file name \"evaluation_4\\x1B[2J.zip\", type application/zip,"));
        QVERIFY(!service.log().contains('\x1b'));
    }
};

QTEST_GUILESS_MAIN(TestScoringService)
#include "tst_scoringservice.moc"
