#include "databasemanager.h"
#include "formsync.h"
#include "messageboxcatcher.h"
#include "scoringserviceprocess.h"
#include "testworkspace.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
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
const QString kInterrupted = "El envío del archivo comprimido fue interrumpido.";
const QString kNothingToSend = "No hay evaluaciones que enviar.";
const QDateTime kRecorded(QDate(2019, 4, 4), QTime(10, 20, 30));

// Debug output of the code under test, to check what it reveals.
QStringList debugLines;
void captureDebug(QtMsgType, const QMessageLogContext &, const QString &message) { debugLines << message; }

// A recording as the tests leave it, with a known modification time.
QByteArray writeRecording(const QString &path)
{
    const QByteArray bytes = "RIFF" + path.toUtf8().repeated(1000);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.setFileTime(kRecorded, QFileDevice::FileModificationTime);
    return bytes;
}

// An archive's entries as Python's zipfile reads them (none if damaged or commented), raw data vs zlib level 6.
QJsonArray readArchive(const QString &path)
{
    static const char script[] = R"(
import base64, json, struct, sys, zlib, zipfile
z = zipfile.ZipFile(sys.argv[1])
raw = open(sys.argv[1], "rb").read()
out = []
for i in z.infolist():
    data = z.read(i)
    start = i.header_offset + 30 + sum(struct.unpack("<HH", raw[i.header_offset + 26:i.header_offset + 30]))
    c = zlib.compressobj(6, zlib.DEFLATED, -15, 8)
    level6 = raw[start:start + i.compress_size] == c.compress(data) + c.flush()
    out.append([i.filename, "method %d utf8 %d extra %d external %d internal %d level6 %d" % (i.compress_type,
        i.flag_bits & 0x800, len(i.extra), i.external_attr, i.internal_attr & ~1, level6),
        base64.b64encode(data).decode(), "%04d-%02d-%02dT%02d:%02d:%02d" % i.date_time])
print(json.dumps(out if z.testzip() is None and not z.comment else []))
)";
    QProcess python;
    python.start("python3", {"-c", script, path});
    python.waitForFinished(10000);
    return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
}

// The application's working directory with its database open, and a scoring service knowing the account.
struct Setup
{
    TestWorkspace workspace{false};
    DatabaseManager database;
    MessageBoxCatcher catcher;
    ScoringServiceProcess service;
    FormSync form;
    bool started = false;

    explicit Setup(const QStringList &options = {}, const QString &password = kPassword)
    {
        QDir().mkpath("grabaciones/sub");
        QDir().mkpath("envios");
        database.openDatabase();
        form.setDatabaseManager(&database);
        started = service.addAccount(kUser, password) && service.start(options);
        form.setServerAddress(service.baseUrl());
    }

    int addEvaluation(const QList<QStringList> &log) // rows of test, key, value
    {
        int id = 0;
        database.insertRecord("evaluation",
                              {{"name", "Ana"}, {"lastName", "Pérez"}, {"level", "3"}, {"codeGroup", ""},
                               {"fullEvaluation", "0"}, {"endOfYear", "1"}, {"evaluationDate", "2019-04-04"}},
                              &id);
        for (const QStringList &row : log)
            database.insertRecord("log", {{"date", "2019-04-04 10:00:00"}, {"evaluationId", QString::number(id)},
                                          {"test", row[0]}, {"key", row[1]}, {"value", row[2]}}, nullptr);
        return id;
    }

    QPushButton *enter(const QString &user, const QString &password)
    {
        form.findChild<QLineEdit *>("lineEditUsername")->setText(user);
        form.findChild<QLineEdit *>("lineEditPassword")->setText(password);
        return form.findChild<QPushButton *>("buttonSync");
    }
};
}

class TestFormSync : public QObject
{
    Q_OBJECT

private slots:
    void init() { debugLines.clear(); }

    // Rows, recordings and archives are deleted only for what the server has confirmed.
    void threeEvaluations_data()
    {
        QTest::addColumn<QStringList>("serviceOptions");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("kept");

        QTest::newRow("all confirmed") << QStringList{} << "" << kSent << QStringList{};
        QTest::newRow("second rejected") << QStringList{"--reject-upload", "2"} << "" << kInterrupted
                                         << QStringList{"2", "3"};
        QTest::newRow("connection dropped during second upload") << QStringList{"--drop-upload", "2"} << ""
            << "No se envío el archivo comprimido." << QStringList{"2", "3"};
        QTest::newRow("second export cannot be written") << QStringList{} << "disk full"
            << "No se puede crear el archivo comprimido." << QStringList{"2", "3"};
        QTest::newRow("log cannot be read") << QStringList{} << "no log table"
            << "No se puede crear el archivo comprimido." << QStringList{"1", "2", "3"};
        // The second evaluation's row cannot be deleted after its log rows: both stay, and so do its
        // recordings, for it to be sent again.
        QTest::newRow("second evaluation row cannot be deleted") << QStringList{} << "delete refused" << kSent
                                                                 << QStringList{"2"};
        QTest::newRow("second press during the first upload") << QStringList{"--delay-ms", "700"} << "second press"
                                                              << kSent << QStringList{};
    }

    void threeEvaluations()
    {
        QFETCH(QStringList, serviceOptions);
        QFETCH(QString, fault);
        QFETCH(QString, message);
        QFETCH(QStringList, kept);

        Setup s(serviceOptions);
        QVERIFY(s.started);
        QHash<QString, QByteArray> contents;
        for (const QString name : {"20190404102031", "20190404102032", "20190404102033", "sub/20190404102031",
                                   "x\\20190404102031"})
            contents[name + ".wav"] = writeRecording("grabaciones/" + name + ".wav");
        writeRecording("data.wav"); // what "../data" would name if it were followed out of "grabaciones"
        // A missing recording is left out, "file" is no recording key, values go unescaped, a
        // recording named twice is packed twice, and names reaching outside "grabaciones" are
        // neither packed nor deleted.
        QCOMPARE(s.addEvaluation({{"VD1A", "TIME", "1500"}, {"VD1A", "FILE", "20190404102031"},
                                  {"VD1A", "file", "20190404102032"}, {"TT1A", "RESP", "a;b"},
                                  {"FP1A", "FILE", "20190404102031"}, {"CO1A", "FILE", "../data"},
                                  {"CO1A", "FILE", "sub/20190404102031"}, {"CO1A", "FILE", "x\\20190404102031"},
                                  {"CO1A", "FILE", "20190404102000"}}), 1);
        contents["evaluation_1.log"] = "GENERAL;evaluationId;1\nGENERAL;evaluationDate;2019-04-04\nGENERAL;name;Ana\n"
                                       "GENERAL;lastName;P\xc3\xa9rez\nGENERAL;level;3\nGENERAL;codeGroup;\n"
                                       "GENERAL;fullEvaluation;0\nGENERAL;endOfYear;1\nVD1A;TIME;1500\n"
                                       "VD1A;FILE;20190404102031\nVD1A;file;20190404102032\nTT1A;RESP;a;b\n"
                                       "FP1A;FILE;20190404102031\nCO1A;FILE;../data\nCO1A;FILE;sub/20190404102031\n"
                                       "CO1A;FILE;x\\20190404102031\nCO1A;FILE;20190404102000\n";
        for (int i = 2; i <= 3; ++i)
            QCOMPARE(s.addEvaluation({{"VD1A", "TIME", "1500"}, {"VD1A", "FILE", QString("2019040410203%1").arg(i)}}), i);
        if (fault == "disk full")
            QVERIFY(QFile::link("/dev/full", "envios/evaluation_2.log"));
        if (fault == "no log table")
            QVERIFY(s.workspace.execute({"ALTER TABLE log RENAME TO gone"}));
        if (fault == "delete refused")
            QVERIFY(s.workspace.execute({"CREATE TRIGGER refuse BEFORE DELETE ON evaluation WHEN OLD.ROWID = 2 "
                                         "BEGIN SELECT RAISE(ABORT, 'injected failure'); END"}));

        const QDateTime packedAt = QDateTime::currentDateTime();
        QPushButton *button = s.enter(kUser, kPassword);
        if (fault == "second press") { // starts over; the upload in flight is abandoned
            s.form.show();
            button->click();
            auto *progress = s.form.findChild<QLabel *>("labelProgress");
            QTRY_VERIFY_WITH_TIMEOUT(progress->isVisible(), 10000);
            QCOMPARE(progress->text(), QString("0 / 3"));
            QTest::qWait(50);
        }
        button->click();
        QVERIFY(s.catcher.waitForMessages(1, 15000));
        QTest::qWait(200); // nothing else may follow
        QCOMPARE(s.catcher.messages(), QStringList{message});
        if (fault == "no log table")
            QVERIFY(s.workspace.execute({"ALTER TABLE gone RENAME TO log"}));

        QStringList keptRecordings, sent, confirmed;
        QList<QStringList> keptRows;
        for (const QString id : {"1", "2", "3"}) {
            if (kept.contains(id)) {
                keptRows << QStringList{id};
                keptRecordings << "2019040410203" + id + ".wav";
            }
            if (!kept.contains(id) || fault == "delete refused")
                confirmed << "evaluation_" + id + ".zip";
        }
        QCOMPARE(s.workspace.rows("evaluation", {"ROWID"}), keptRows);
        QCOMPARE(s.workspace.rows("log GROUP BY evaluationId", {"evaluationId"}), keptRows);
        QCOMPARE(QDir("grabaciones").entryList(QDir::Files, QDir::Name), keptRecordings << "x\\20190404102031.wav");
        QVERIFY(QFile::exists("grabaciones/sub/20190404102031.wav") && QFile::exists("data.wav"));
        QCOMPARE(QDir("envios").entryList({"*.zip"}, QDir::Files), QStringList());
        const QStringList stored = s.service.storedArchives(kUser);
        for (const QString &path : stored)
            sent << path.section('-', -1);
        if (fault == "second press")
            sent.removeDuplicates(); // the abandoned upload may have arrived as well
        QCOMPARE(sent, confirmed);
        if (stored.isEmpty())
            return;

        // The first package as the server received it.
        QVERIFY(s.service.log().contains("(file name \"evaluation_1.zip\", type application/zip,"));
        const QJsonArray entries = readArchive(stored[0]);
        const QStringList packed{"evaluation_1.log", "20190404102031.wav", "20190404102031.wav"};
        QCOMPARE(entries.size(), packed.size());
        for (int i = 0; i < entries.size(); ++i) {
            const QJsonArray entry = entries[i].toArray();
            // Deflated at level 6, plain attributes (minizip itself marks text entries with bit 0 of internal).
            QCOMPARE(entry[0].toString() + ": " + entry[1].toString(),
                     packed[i] + ": method 8 utf8 0 extra 0 external 0 internal 0 level6 1");
            QCOMPARE(QByteArray::fromBase64(entry[2].toString().toLatin1()), contents.value(packed[i]));
            const QDateTime stamp = QDateTime::fromString(entry[3].toString(), Qt::ISODate);
            QVERIFY(i == 0 ? qAbs(stamp.secsTo(packedAt)) <= 5 : stamp == kRecorded);
        }
    }

    void credentials_data()
    {
        QTest::addColumn<QStringList>("serviceOptions");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");

        // Typed with spaces around; each password travels as one path segment, whatever it holds.
        for (const char *password : {"pa/ss", "pa?ss", "pa#ss", "100%ab", "pa ss", "a%2Fb%20c", "contraseña"})
            QTest::newRow(password) << QStringList{} << "  " + kUser + " " << " " + QString(password) + "  " << kSent;
        QTest::newRow("wrong password") << QStringList{} << kUser << "wrong-one" << kNoConnection;
        QTest::newRow("service refuses the account") << QStringList{"--refuse-credentials"} << kUser << kPassword
                                                     << kNoConnection;
        // How the replies are read: the phrase or "EXITO" anywhere in them, as written.
        const auto reply = [](const char *endpoint, const char *body) {
            return QStringList{QString("--%1-reply").arg(endpoint), QString::fromUtf8(body)};
        };
        QTest::newRow("credential reply holding the phrase")
            << reply("connection", "ok: rumbolo upload available (v2)") << kUser << kPassword << kSent;
        QTest::newRow("credential reply without the phrase") << reply("connection", "upload available") << kUser
                                                             << kPassword << kNoConnection;
        QTest::newRow("credential reply with a capital") << reply("connection", "Rumbolo upload available") << kUser
                                                         << kPassword << kNoConnection;
        QTest::newRow("upload reply holding EXITO") << reply("upload", "archivo recibido: EXITO (1 de 1)") << kUser
                                                    << kPassword << kSent;
        QTest::newRow("upload reply without EXITO") << reply("upload", "archivo recibido") << kUser << kPassword
                                                    << kInterrupted;
        QTest::newRow("nothing to send") << QStringList{} << kUser << kPassword << kNothingToSend;
        QTest::newRow("user of spaces") << QStringList{} << "   " << kPassword << "Debe escribir el usuario.";
        QTest::newRow("password of spaces") << QStringList{} << kUser << "  " << "Debe escribir la contraseña.";
    }

    void credentials()
    {
        QFETCH(QStringList, serviceOptions);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, message);

        Setup s(serviceOptions, message == kSent ? password.trimmed() : kPassword); // the account's password
        QVERIFY(s.started);
        if (message != kNothingToSend)
            s.addEvaluation({});
        qInstallMessageHandler(captureDebug);
        s.enter(user, password)->click();
        QVERIFY(s.catcher.waitForMessages(1, 15000));
        QTest::qWait(200); // nothing else may follow
        qInstallMessageHandler(nullptr);
        QCOMPARE(s.catcher.messages(), QStringList{message});

        // Without credentials nothing is asked at all; the e-mail address travels
        // unchanged and the password never shows in the debug output.
        const bool sent = message == kSent || message == kInterrupted; // an upload was made
        const bool asked = s.service.log().contains("GET ");
        QCOMPARE(asked, sent || message == kNoConnection || message == kNothingToSend);
        QCOMPARE(s.service.storedArchives(kUser).size(), sent ? 1 : 0);
        QCOMPARE(s.workspace.rows("evaluation", {"ROWID"}).size(), message == kSent || message == kNothingToSend ? 0 : 1);
        const QString masked = "[%1]urlWithUserInfo: " + s.service.baseUrl() + "/rumbolo/%2/" + kUser + "/********";
        QCOMPARE(debugLines.contains(masked.arg("buttonSync", "connection")), asked);
        QCOMPARE(debugLines.contains(masked.arg("uploadEvaluation", "upload")), sent);
        for (const QString &line : qAsConst(debugLines))
            QVERIFY2(password.trimmed().isEmpty() || !line.contains(password.trimmed()), qPrintable(line));
    }
};

QTEST_MAIN(TestFormSync)
#include "tst_formsync.moc"
