#include "abortdialog.h"
#include "appfixture.h"
#include "audiofixture.h"
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

#include <QImageReader>
#include <QRegularExpression>
#include <QtTest>

// Everything the program can ask for exists in the generated kit: the paths
// come from the tests' own tables, and every picture widget the program builds
// has found its picture.
class TestStimulusKit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestWorkspace probe;
        REQUIRE_ENVIRONMENT(probe.hasKit(), "the stimulus kit (not generated in this build)");
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
                // A 44-byte header of 44100 Hz mono 16-bit PCM, with both sizes right.
                const auto le = &AudioFixture::le;
                const QByteArray format = "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(44100, 4) + le(88200, 4)
                    + le(2, 2) + le(16, 2) + "data";
                const QByteArray wav = AudioFixture::contents(ws.filePath(path));
                QVERIFY2(wav.size() > 44 && wav.startsWith("RIFF") && wav.mid(8, 32) == format
                             && AudioFixture::isComplete(ws.filePath(path)),
                         qPrintable(path));
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
