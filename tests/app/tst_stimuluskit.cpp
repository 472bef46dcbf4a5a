#include "abortdialog.h"
#include "appfixture.h"
#include "clickableimage.h"
#include "gamecf1a.h"
#include "gamecf2a.h"
#include "gamecf2b.h"
#include "gamecf3a.h"
#include "gamecf3b.h"
#include "gamecl1a.h"
#include "gamecl2a.h"
#include "gameco1a.h"
#include "gamefp1a.h"
#include "gamefp2a.h"
#include "gamepa1a.h"
#include "gamepa2a.h"
#include "gamerv1a.h"
#include "gamett1a.h"
#include "gamevd.h"
#include "imagelabel.h"
#include "mainwindow.h"
#include "movielabel.h"

#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QtEndian>
#include <QtTest>

// Everything the program can ask for exists in the generated kit: the paths
// come from the tests' own tables, and every picture widget the program builds
// has found its picture.
class TestStimulusKit : public QObject
{
    Q_OBJECT

private:
    static quint32 le32(const QByteArray &b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
    static quint16 le16(const QByteArray &b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }

    // Empty when the prompt has exactly the format the player expects.
    static QString promptProblem(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return "missing";
        const QByteArray b = f.readAll();
        if (b.size() <= 44 || !b.startsWith("RIFF") || b.mid(8, 8) != "WAVEfmt " || b.mid(36, 4) != "data")
            return "not a 44-byte-header WAV";
        if (le16(b, 20) != 1 || le16(b, 22) != 1 || le32(b, 24) != 44100 || le16(b, 34) != 16)
            return "not 44100 Hz mono 16-bit PCM";
        if (le32(b, 40) != quint32(b.size() - 44) || le32(b, 4) != quint32(b.size() - 8))
            return "sizes in the header do not match the file";
        return QString();
    }

private slots:
    void initTestCase()
    {
        TestWorkspace probe;
        if (!probe.hasKit())
            QSKIP("the stimulus kit has not been generated in this build");
    }

    void everyPathOfEveryTest_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::newRow("VD1A") << GameVD::resourcePaths();
        QTest::newRow("PA1A") << GamePA1A::resourcePaths();
        QTest::newRow("PA2A") << GamePA2A::resourcePaths();
        QTest::newRow("CF1A") << GameCF1A::resourcePaths();
        QTest::newRow("CF2A") << GameCF2A::resourcePaths();
        QTest::newRow("CF2B") << GameCF2B::resourcePaths();
        QTest::newRow("CF3A") << GameCF3A::resourcePaths();
        QTest::newRow("CF3B") << GameCF3B::resourcePaths();
        QTest::newRow("TT1A") << GameTT1A::resourcePaths();
        QTest::newRow("CO1A") << GameCO1A::resourcePaths();
        QTest::newRow("FP1A") << GameFP1A::resourcePaths();
        QTest::newRow("CL1A") << GameCL1A::resourcePaths();
        QTest::newRow("FP2A") << GameFP2A::resourcePaths();
        QTest::newRow("CL2A") << GameCL2A::resourcePaths();
    }

    void everyPathOfEveryTest()
    {
        QFETCH(QStringList, paths);
        TestWorkspace ws;
        QVERIFY(!paths.isEmpty());
        for (const QString &path : paths) {
            if (path.endsWith(".wav")) {
                const QString problem = promptProblem(ws.filePath(path));
                QVERIFY2(problem.isEmpty(), qPrintable(path + ": " + problem));
            } else {
                QImageReader reader(ws.filePath(path));
                QVERIFY2(reader.canRead(), qPrintable(path + ": no readable picture"));
                // A size in the name ("...230x230.png") is the size the layout relies on.
                static const QRegularExpression stated("(\\d+)x(\\d+)\\.png$");
                const QRegularExpressionMatch m = stated.match(path);
                if (m.hasMatch())
                    QCOMPARE(reader.size(), QSize(m.captured(1).toInt(), m.captured(2).toInt()));
            }
        }
    }

    void everyPictureWidgetFoundItsPicture()
    {
        AppFixture app;
        QList<QWidget *> roots = {app.window()->abortDialogWindow()};
        for (const QString &code : MainWindow::batteryFor(true, 1))
            roots << app.window()->game(code);
        int seen = 0;
        for (QWidget *root : roots) {
            const QList<QLabel *> labels = root->findChildren<QLabel *>();
            for (QLabel *label : labels) {
                const bool picture = qobject_cast<ImageLabel *>(label) || qobject_cast<ClickableImage *>(label)
                    || qobject_cast<MovieLabel *>(label);
                if (!picture)
                    continue;
                ++seen;
                QVERIFY2(label->width() > 0 && label->height() > 0,
                         qPrintable(QString("%1 in %2 has no picture").arg(label->metaObject()->className(),
                                                                             root->metaObject()->className())));
            }
        }
        QVERIFY(seen > 100);
    }
};

QTEST_MAIN(TestStimulusKit)
#include "tst_stimuluskit.moc"
