#include "databasemanager.h"
#include "formsync.h"
#include "messageboxcatcher.h"
#include "scoringserviceprocess.h"
#include "testworkspace.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
const QString kUser = "ana.perez+test@example.com";
const QString kPassword = "s3cret";
const QString kSent = "Los datos fueron enviados correctamente.";
const QString kNoConnection
    = "No se puede establecer conexión con el servidor. Revise su usuario y contraseña o intente más tarde.";

// Debug output of the code under test, to check what it reveals.
QStringList debugLines;
void captureDebug(QtMsgType, const QMessageLogContext &, const QString &message)
{
    debugLines << message;
}

using LogRows = QList<QStringList>; // test, key, value
}

class TestFormSync : public QObject
{
    Q_OBJECT

private:
    // A working directory like the application's, with its database open.
    struct Setup
    {
        TestWorkspace workspace{false};
        DatabaseManager database;
        MessageBoxCatcher catcher;
        FormSync form;
        Setup()
        {
            QDir().mkpath("grabaciones");
            QDir().mkpath("envios");
            database.openDatabase();
            form.setDatabaseManager(&database);
        }
    };

    static int addEvaluation(DatabaseManager &database, const LogRows &log)
    {
        int id = 0;
        database.insertRecord("evaluation",
                              {{"name", "Ana"}, {"lastName", "Pérez"}, {"level", "3"}, {"codeGroup", ""},
                               {"fullEvaluation", "0"}, {"endOfYear", "1"}, {"evaluationDate", "2019-04-04"}},
                              &id);
        for (const QStringList &row : log)
            database.insertRecord("log",
                                  {{"date", "2019-04-04 10:00:00"}, {"evaluationId", QString::number(id)},
                                   {"test", row[0]}, {"key", row[1]}, {"value", row[2]}},
                                  nullptr);
        return id;
    }

    // A recording as the tests leave it, with a known modification time.
    static QByteArray writeRecording(const QString &path)
    {
        QByteArray bytes = "RIFF";
        for (int i = 0; i < 20000; ++i)
            bytes += char(0x80 + (i * 7 + path.size()) % 40);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        file.setFileTime(QDateTime(QDate(2019, 4, 4), QTime(10, 20, 30)), QFileDevice::FileModificationTime);
        return bytes;
    }

    static QStringList send(Setup &s, const QString &user, const QString &password, int messages = 1)
    {
        s.form.findChild<QLineEdit *>("lineEditUsername")->setText(user);
        s.form.findChild<QLineEdit *>("lineEditPassword")->setText(password);
        s.form.findChild<QPushButton *>("buttonSync")->click();
        s.catcher.waitForMessages(messages, 15000);
        return s.catcher.messages();
    }

    static QStringList filesIn(const QString &directory)
    {
        return QDir(directory).entryList(QDir::Files, QDir::Name);
    }

    // The archive as Python's zipfile reads it, with each entry's raw data
    // compared against zlib's deflate at level 6.
    static QJsonObject readArchive(const QString &path)
    {
        static const char script[] = R"(
import base64, json, struct, sys, zlib, zipfile
z = zipfile.ZipFile(sys.argv[1])
raw = open(sys.argv[1], "rb").read()
out = {"bad": z.testzip(), "comment": z.comment.decode("latin-1"), "entries": []}
for i in z.infolist():
    data = z.read(i)
    n, m = struct.unpack("<HH", raw[i.header_offset + 26:i.header_offset + 30])
    start = i.header_offset + 30 + n + m
    c = zlib.compressobj(6, zlib.DEFLATED, -15, 8)
    level6 = raw[start:start + i.compress_size] == c.compress(data) + c.flush()
    out["entries"].append({"name": i.filename, "method": i.compress_type, "utf8": bool(i.flag_bits & 0x800),
        "time": list(i.date_time), "extra": len(i.extra), "external": i.external_attr, "internal": i.internal_attr,
        "level6": level6, "data": base64.b64encode(data).decode()})
print(json.dumps(out))
)";
        QProcess python;
        python.start("python3", {"-c", script, path});
        python.waitForFinished(10000);
        return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    }

private slots:
    void init() { debugLines.clear(); }

    void packagesReadBackExactly_data();
    void packagesReadBackExactly();
    void threeEvaluations_data();
    void threeEvaluations();
    void credentialsRefused_data();
    void credentialsRefused();
    void passwordsNeedingEscapes_data();
    void passwordsNeedingEscapes();
    void secondPressDuringUpload();
    void emptyCredentialsSendNothing_data();
    void emptyCredentialsSendNothing();
};

void TestFormSync::packagesReadBackExactly_data()
{
    QTest::addColumn<LogRows>("log");
    QTest::addColumn<QStringList>("present");     // recordings that exist in "grabaciones"
    QTest::addColumn<QByteArray>("exportTail");   // the export after its eight general lines
    QTest::addColumn<QStringList>("packed");      // entries after the export, in order

    QTest::newRow("no log rows") << LogRows{} << QStringList{} << QByteArray() << QStringList{};
    QTest::newRow("missing recording")
        << LogRows{{"VD1A", "TIME", "1500"}, {"VD1A", "FILE", "20190404102030"}, {"FP1A", "FILE", "20190404102100"}}
        << QStringList{"20190404102100"}
        << QByteArray("VD1A;TIME;1500\nVD1A;FILE;20190404102030\nFP1A;FILE;20190404102100\n")
        << QStringList{"20190404102100.wav"};
    QTest::newRow("lower-case file key")
        << LogRows{{"VD1A", "file", "20190404102030"}} << QStringList{"20190404102030"}
        << QByteArray("VD1A;file;20190404102030\n") << QStringList{};
    QTest::newRow("value with semicolon")
        << LogRows{{"TT1A", "RESP", "a;b"}, {"CO1A", "FILE", "20190404102030"}} << QStringList{"20190404102030"}
        << QByteArray("TT1A;RESP;a;b\nCO1A;FILE;20190404102030\n") << QStringList{"20190404102030.wav"};
    QTest::newRow("same recording twice")
        << LogRows{{"FP1A", "FILE", "20190404102030"}, {"FP1A", "FILE", "20190404102030"}}
        << QStringList{"20190404102030"} << QByteArray("FP1A;FILE;20190404102030\nFP1A;FILE;20190404102030\n")
        << QStringList{"20190404102030.wav", "20190404102030.wav"};
    QTest::newRow("file values reaching outside")
        << LogRows{{"VD1A", "FILE", "../data"}, {"VD1A", "FILE", "sub/20190404102030"}, {"VD1A", "FILE", "20190404102030"}}
        << QStringList{"20190404102030", "sub/20190404102030"}
        << QByteArray("VD1A;FILE;../data\nVD1A;FILE;sub/20190404102030\nVD1A;FILE;20190404102030\n")
        << QStringList{"20190404102030.wav"};
}

void TestFormSync::packagesReadBackExactly()
{
    QFETCH(LogRows, log);
    QFETCH(QStringList, present);
    QFETCH(QByteArray, exportTail);
    QFETCH(QStringList, packed);

    Setup s;
    ScoringServiceProcess service;
    QVERIFY(service.addAccount(kUser, kPassword));
    QVERIFY(service.start());
    s.form.setServerAddress(service.baseUrl());

    const int id = addEvaluation(s.database, log);
    QCOMPARE(id, 1);
    QDir().mkpath("grabaciones/sub");
    QHash<QString, QByteArray> recordings;
    for (const QString &name : present)
        recordings[name + ".wav"] = writeRecording("grabaciones/" + name + ".wav");
    // What "../data" would name if it were followed out of "grabaciones".
    writeRecording("data.wav");

    const QDateTime packedAt = QDateTime::currentDateTime();
    QCOMPARE(send(s, kUser, kPassword), QStringList{kSent});

    const QStringList stored = service.storedArchives(kUser);
    QCOMPARE(stored.size(), 1);
    QVERIFY(stored[0].endsWith("-evaluation_1.zip"));
    const QJsonObject archive = readArchive(stored[0]);
    QVERIFY2(archive.contains("entries"), "python3 could not read the archive");
    QVERIFY(archive["bad"].isNull());
    QCOMPARE(archive["comment"].toString(), QString());

    const QByteArray expectedExport = QByteArray("GENERAL;evaluationId;1\nGENERAL;evaluationDate;2019-04-04\n"
                                                 "GENERAL;name;Ana\nGENERAL;lastName;P\xc3\xa9rez\nGENERAL;level;3\n"
                                                 "GENERAL;codeGroup;\nGENERAL;fullEvaluation;0\nGENERAL;endOfYear;1\n")
        + exportTail;
    const QJsonArray entries = archive["entries"].toArray();
    QCOMPARE(entries.size(), 1 + packed.size());
    for (int i = 0; i < entries.size(); ++i) {
        const QJsonObject entry = entries[i].toObject();
        const QString name = i == 0 ? QString("evaluation_1.log") : packed[i - 1];
        QCOMPARE(entry["name"].toString(), name);
        QCOMPARE(entry["method"].toInt(), 8);
        QVERIFY(entry["level6"].toBool());
        QCOMPARE(entry["utf8"].toBool(), false);
        QCOMPARE(entry["extra"].toInt(), 0);
        QCOMPARE(entry["external"].toInt(), 0);
        QCOMPARE(entry["internal"].toInt() & ~1, 0); // minizip itself marks text entries with bit 0
        const QByteArray data = QByteArray::fromBase64(entry["data"].toString().toLatin1());
        const QJsonArray time = entry["time"].toArray();
        const QDateTime stamp(QDate(time[0].toInt(), time[1].toInt(), time[2].toInt()),
                              QTime(time[3].toInt(), time[4].toInt(), time[5].toInt()));
        if (i == 0) {
            QCOMPARE(data, expectedExport);
            QVERIFY(qAbs(stamp.secsTo(packedAt)) <= 5);
        } else {
            QCOMPARE(data, recordings.value(name));
            QCOMPARE(stamp, QDateTime(QDate(2019, 4, 4), QTime(10, 20, 30)));
        }
    }

    // Retired: the rows, the packed recordings and the package are gone;
    // anything that was no recording reference stays.
    QCOMPARE(s.workspace.rows("evaluation", {"name"}).size(), 0);
    QCOMPARE(s.workspace.logRows().size(), 0);
    QCOMPARE(filesIn("envios"), QStringList());
    for (const QString &name : present) {
        const bool wasPacked = packed.contains(name + ".wav");
        QCOMPARE(QFile::exists("grabaciones/" + name + ".wav"), !wasPacked);
    }
    QVERIFY(QFile::exists("data.wav"));
}

void TestFormSync::threeEvaluations_data()
{
    QTest::addColumn<QStringList>("serviceOptions");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QList<int>>("kept");

    QTest::newRow("all confirmed") << QStringList{} << kSent << QList<int>{};
    QTest::newRow("second rejected") << QStringList{"--reject-upload", "2"}
                                     << "El envío del archivo comprimido fue interrumpido." << QList<int>{2, 3};
    QTest::newRow("connection dropped during second upload")
        << QStringList{"--drop-upload", "2"} << "No se envío el archivo comprimido." << QList<int>{2, 3};
}

void TestFormSync::threeEvaluations()
{
    QFETCH(QStringList, serviceOptions);
    QFETCH(QString, message);
    QFETCH(QList<int>, kept);

    Setup s;
    ScoringServiceProcess service;
    QVERIFY(service.addAccount(kUser, kPassword));
    QVERIFY(service.start(serviceOptions));
    s.form.setServerAddress(service.baseUrl());

    for (int i = 1; i <= 3; ++i) {
        const QString recording = QString("2019040410203%1").arg(i);
        writeRecording("grabaciones/" + recording + ".wav");
        QCOMPARE(addEvaluation(s.database, {{"VD1A", "TIME", "1500"}, {"VD1A", "FILE", recording}}), i);
    }

    QCOMPARE(send(s, kUser, kPassword), QStringList{message});
    QTest::qWait(100); // nothing else may follow
    QCOMPARE(s.catcher.messages(), QStringList{message});

    QStringList keptIds, keptRecordings;
    for (int id : kept) {
        keptIds << QString::number(id);
        keptRecordings << QString("2019040410203%1.wav").arg(id);
    }
    QStringList evaluationIds, logIds;
    for (const QStringList &row : s.workspace.rows("evaluation", {"ROWID"}))
        evaluationIds << row[0];
    for (const QStringList &row : s.workspace.logRows())
        logIds << row[0];
    logIds.removeDuplicates();
    QCOMPARE(evaluationIds, keptIds);
    QCOMPARE(logIds, keptIds);
    QCOMPARE(filesIn("grabaciones"), keptRecordings);
    QCOMPARE(filesIn("envios"), QStringList());

    const QStringList stored = service.storedArchives(kUser);
    QCOMPARE(stored.size(), 3 - kept.size());
    for (int i = 0; i < stored.size(); ++i)
        QVERIFY(stored[i].endsWith(QString("-evaluation_%1.zip").arg(i + 1)));
}

void TestFormSync::credentialsRefused_data()
{
    QTest::addColumn<QStringList>("serviceOptions");
    QTest::addColumn<QString>("password");

    QTest::newRow("wrong password") << QStringList{} << "wrong-one";
    QTest::newRow("service refuses the account") << QStringList{"--refuse-credentials"} << kPassword;
}

void TestFormSync::credentialsRefused()
{
    QFETCH(QStringList, serviceOptions);
    QFETCH(QString, password);

    Setup s; // an empty database: the credential check still comes first
    ScoringServiceProcess service;
    QVERIFY(service.addAccount(kUser, kPassword));
    QVERIFY(service.start(serviceOptions));
    s.form.setServerAddress(service.baseUrl());

    qInstallMessageHandler(captureDebug);
    const QStringList messages = send(s, kUser, password);
    QTest::qWait(100);
    qInstallMessageHandler(nullptr);

    QCOMPARE(messages, QStringList{kNoConnection});
    QVERIFY(!debugLines.isEmpty());
    for (const QString &line : qAsConst(debugLines))
        QVERIFY2(!line.contains(password), qPrintable(line));
}

void TestFormSync::passwordsNeedingEscapes_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("slash") << "pa/ss";
    QTest::newRow("question mark") << "pa?ss";
    QTest::newRow("hash") << "pa#ss";
    QTest::newRow("percent") << "100%ab";
    QTest::newRow("space") << "pa ss";
    QTest::newRow("looks encoded") << "a%2Fb%20c";
    QTest::newRow("accented") << "contraseña";
}

void TestFormSync::passwordsNeedingEscapes()
{
    QFETCH(QString, password);

    Setup s;
    ScoringServiceProcess service;
    QVERIFY(service.addAccount(kUser, password));
    QVERIFY(service.start());
    s.form.setServerAddress(service.baseUrl());
    addEvaluation(s.database, {});

    qInstallMessageHandler(captureDebug);
    const QStringList messages = send(s, "  " + kUser + " ", " " + password + "  ");
    qInstallMessageHandler(nullptr);

    QCOMPARE(messages, QStringList{kSent});
    QCOMPARE(service.storedArchives(kUser).size(), 1);
    // The e-mail address travels unchanged; the password never shows.
    QVERIFY(debugLines.contains("[buttonSync]urlWithUserInfo: " + service.baseUrl() + "/rumbolo/connection/" + kUser
                                + "/********"));
    QVERIFY(debugLines.contains("[uploadEvaluation]urlWithUserInfo: " + service.baseUrl() + "/rumbolo/upload/" + kUser
                                + "/********"));
    for (const QString &line : qAsConst(debugLines))
        QVERIFY2(!line.contains(password), qPrintable(line));
}

void TestFormSync::secondPressDuringUpload()
{
    Setup s;
    ScoringServiceProcess service;
    QVERIFY(service.addAccount(kUser, kPassword));
    QVERIFY(service.start({"--delay-ms", "700"}));
    s.form.setServerAddress(service.baseUrl());
    for (int i = 1; i <= 2; ++i) {
        writeRecording(QString("grabaciones/2019040410203%1.wav").arg(i));
        addEvaluation(s.database, {{"VD1A", "FILE", QString("2019040410203%1").arg(i)}});
    }
    s.form.show();

    s.form.findChild<QLineEdit *>("lineEditUsername")->setText(kUser);
    s.form.findChild<QLineEdit *>("lineEditPassword")->setText(kPassword);
    auto *button = s.form.findChild<QPushButton *>("buttonSync");
    auto *progress = s.form.findChild<QLabel *>("labelProgress");
    button->click();
    QTRY_VERIFY_WITH_TIMEOUT(progress->isVisible(), 10000); // the first upload is on its way
    QCOMPARE(progress->text(), QString("0 / 2"));
    QTest::qWait(50);
    button->click(); // starts over; the upload in flight is abandoned

    QVERIFY(s.catcher.waitForMessages(1, 15000));
    QTest::qWait(200); // nothing else may follow
    QCOMPARE(s.catcher.messages(), QStringList{kSent});
    QCOMPARE(s.workspace.rows("evaluation", {"name"}).size(), 0);
    QCOMPARE(s.workspace.logRows().size(), 0);
    QCOMPARE(filesIn("grabaciones"), QStringList());
    QCOMPARE(filesIn("envios"), QStringList());
    // The interrupted evaluation was sent again, then the second one.
    const QStringList stored = service.storedArchives(kUser);
    QVERIFY(stored.size() >= 2);
    QVERIFY(stored[stored.size() - 2].endsWith("-evaluation_1.zip"));
    QVERIFY(stored.last().endsWith("-evaluation_2.zip"));
}

void TestFormSync::emptyCredentialsSendNothing_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");

    QTest::newRow("no user") << "" << kPassword << "Debe escribir el usuario.";
    QTest::newRow("user of spaces") << "   " << kPassword << "Debe escribir el usuario.";
    QTest::newRow("password of spaces") << kUser << "  " << "Debe escribir la contraseña.";
}

void TestFormSync::emptyCredentialsSendNothing()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, message);

    Setup s;
    addEvaluation(s.database, {});
    // Nothing listens there: a request would end in the connection message.
    s.form.setServerAddress("https://127.0.0.1:1");
    QCOMPARE(send(s, user, password), QStringList{message});
    QTest::qWait(200);
    QCOMPARE(s.catcher.messages(), QStringList{message});
}

QTEST_MAIN(TestFormSync)
#include "tst_formsync.moc"
