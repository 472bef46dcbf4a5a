#include "scoringserviceprocess.h"

#include <QtTest>

#include <sys/stat.h>

namespace {
// Runs openssl to its end; true when it succeeded. What it printed goes to output.
bool openssl(const QStringList &arguments, QString *output = nullptr, const QByteArray &input = QByteArray())
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("openssl", arguments);
    p.write(input);
    p.closeWriteChannel();
    const bool finished = p.waitForFinished(20000);
    if (output)
        *output = QString::fromLocal8Bit(p.readAll());
    return finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
}

// The local scoring service's development certificate authority: it vouches
// for this machine's own names only, whoever gets hold of its key, and its keys
// are readable by their owner only.
class TestDevCertificates : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable("openssl").isEmpty(), "openssl is missing");
        QVERIFY(service.addAccount("ana@example.com", "s3cret"));
        // As its system unit starts it (UMask=0077).
        const mode_t umask = ::umask(077);
        const bool started = service.start();
        ::umask(umask);
        QVERIFY2(started, qPrintable(service.log()));
    }

    // The keys are the owner's only; the authority's certificate and its
    // folder can be read by everybody, so that an examiner's Rumbolo on the
    // service's machine can trust it.
    void permissions_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("mode");
        QTest::newRow("authority key") << "tls/ca.key" << 0600;
        QTest::newRow("server key") << "tls/server.key" << 0600;
        QTest::newRow("authority certificate") << "tls/ca.crt" << 0644;
        QTest::newRow("folder") << "tls" << 0755;
    }

    void permissions()
    {
        QFETCH(QString, path);
        QFETCH(int, mode);
        struct stat info;
        QVERIFY(::stat(QFile::encodeName(service.dataDirectory() + "/" + path).constData(), &info) == 0);
        QCOMPARE(QString::number(info.st_mode & 0777, 8), QString::number(mode, 8));
    }

    // What the service sends verifies, chained to the authority, for the names it serves.
    void servedChainVerifies_data()
    {
        QTest::addColumn<QStringList>("check");
        QTest::newRow("localhost") << QStringList{"-verify_hostname", "localhost"};
        QTest::newRow("127.0.0.1") << QStringList{"-verify_ip", "127.0.0.1"};
    }

    void servedChainVerifies()
    {
        QFETCH(QStringList, check);
        const QUrl url(service.baseUrl());
        QString output;
        QVERIFY2(openssl(QStringList{"s_client", "-connect", "127.0.0.1:" + QString::number(url.port()), "-servername",
                                     "localhost", "-CAfile", service.caCertificate(), "-verify_return_error"}
                             + check,
                         &output),
                 qPrintable(output));
        QVERIFY2(output.contains("Verify return code: 0 (ok)"), qPrintable(output));
    }

    // A certificate that the authority's key signs for another name is refused
    // because of the authority's name constraints (a certificate for its own
    // name, made the same way, is accepted).
    void otherNamesAreRefused_data()
    {
        QTest::addColumn<QString>("names");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("localhost") << "DNS:localhost" << true;
        QTest::newRow("loopback addresses") << "IP:127.0.0.1,IP:::1" << true;
        QTest::newRow("a web site") << "DNS:www.example.org" << false;
        QTest::newRow("localhost as a prefix") << "DNS:localhost.example.org" << false;
        QTest::newRow("another address") << "IP:192.0.2.10" << false;
        QTest::newRow("another IPv6 address") << "IP:2001:db8::1" << false;
        QTest::newRow("localhost and a web site") << "DNS:localhost,DNS:bank.example" << false;
    }

    void otherNamesAreRefused()
    {
        QFETCH(QString, names);
        QFETCH(bool, accepted);
        QTemporaryDir work;
        const QString tls = service.dataDirectory() + "/tls/";
        const QString key = work.filePath("leaf.key"), request = work.filePath("leaf.csr");
        const QString extensions = work.filePath("leaf.ext"), leaf = work.filePath("leaf.crt");
        QFile ext(extensions);
        QVERIFY(ext.open(QIODevice::WriteOnly));
        ext.write("basicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\nsubjectAltName=" + names.toLatin1() + "\n");
        ext.close();
        QString output;
        QVERIFY2(openssl({"req", "-new", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                          "-subj", "/CN=test leaf", "-keyout", key, "-out", request},
                         &output),
                 qPrintable(output));
        QVERIFY2(openssl({"x509", "-req", "-in", request, "-CA", tls + "ca.crt", "-CAkey", tls + "ca.key",
                          "-CAcreateserial", "-CAserial", work.filePath("ca.srl"), "-days", "1", "-extfile",
                          extensions, "-out", leaf},
                         &output),
                 qPrintable(output));

        const bool verified = openssl({"verify", "-CAfile", tls + "ca.crt", "-purpose", "sslserver", leaf}, &output);
        QVERIFY2(verified == accepted, qPrintable(output));
        if (!accepted)
            QVERIFY2(output.contains("permitted subtree violation"), qPrintable(output));
    }

    // An authority made by an earlier version, without name constraints, is
    // replaced by a constrained one when the service starts.
    void unconstrainedAuthorityIsReplaced()
    {
        ScoringServiceProcess earlier;
        const QString tls = earlier.dataDirectory() + "/tls/";
        QVERIFY(QDir().mkpath(tls));
        QString output;
        QVERIFY2(openssl({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                          "-subj", "/CN=old authority", "-addext", "basicConstraints=critical,CA:TRUE", "-days", "1",
                          "-keyout", tls + "ca.key", "-out", tls + "ca.crt"},
                         &output),
                 qPrintable(output));
        QVERIFY(QFile::copy(tls + "ca.crt", tls + "server.crt") && QFile::copy(tls + "ca.key", tls + "server.key"));
        QVERIFY(earlier.addAccount("ana@example.com", "s3cret"));
        QVERIFY2(earlier.start(), qPrintable(earlier.log()));
        QVERIFY2(openssl({"x509", "-in", tls + "ca.crt", "-noout", "-text"}, &output), qPrintable(output));
        QVERIFY2(output.contains("Name Constraints") && !output.contains("old authority"), qPrintable(output));
        QVERIFY2(earlier.log().contains("no name constraints"), qPrintable(earlier.log()));
    }

private:
    ScoringServiceProcess service;
};

QTEST_GUILESS_MAIN(TestDevCertificates)
#include "tst_devcertificates.moc"
