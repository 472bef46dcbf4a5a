#include "abortdialog.h"
#include "appfixture.h"
#include "gamewindow.h"
#include "mainwindow.h"
#include "soundplayer.h"
#include "voicerecorder.h"

#include <QFile>
#include <QtEndian>
#include <QtTest>

// The main window's hand-over between the tests and the audio: recordings end
// with the test that started them, and a recording that cannot be made ends the
// evaluation with its message.
class TestMainWindowAudio : public QObject
{
    Q_OBJECT

private:
    static quint32 le32(const QByteArray &bytes, int offset)
    {
        return qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(bytes.constData()) + offset);
    }

private slots:
    void unopenableRecordingEndsTheEvaluation();
    void testChangeCompletesTheRecording_data();
    void testChangeCompletesTheRecording();
};

void TestMainWindowAudio::unopenableRecordingEndsTheEvaluation()
{
    AppFixture app;
    MainWindow *w = app.window();
    QVERIFY(app.startEvaluation(1) >= 1);
    // The recordings directory has been replaced by a file: nothing can be recorded.
    QVERIFY(QDir(app.workspace().filePath("grabaciones")).removeRecursively());
    QFile blocker(app.workspace().filePath("grabaciones"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QString name;
    emit w->game(w->currentTestCode())->requestStartRecordingSound(&name);
    QCOMPARE(app.catcher().messages(),
             QStringList{QString::fromUtf8("No se puede continuar, problemas al abrir archivos de grabación.")});
    QVERIFY(!w->voiceRecorder()->isRecording());
    QCOMPARE(w->currentEvaluationId(), 0);
    QVERIFY(!w->isFullScreen());
}

void TestMainWindowAudio::testChangeCompletesTheRecording_data()
{
    QTest::addColumn<bool>("abandon");
    QTest::newRow("next test") << false;
    QTest::newRow("evaluation abandoned") << true;
}

void TestMainWindowAudio::testChangeCompletesTheRecording()
{
    QFETCH(bool, abandon);
    AppFixture app;
    MainWindow *w = app.window();
    QVERIFY(app.startEvaluation(1) >= 1);
    GameWindow *game = w->game(w->currentTestCode());

    QString name;
    emit game->requestStartRecordingSound(&name);
    if (!w->voiceRecorder()->isRecording())
        QSKIP("no audio input device here (scripts/test.sh starts one)");
    QCOMPARE(name.size(), 14);
    QTest::qWait(300);

    if (abandon)
        emit w->abortDialogWindow()->abortAll();
    else
        QVERIFY(QMetaObject::invokeMethod(game, "runFinishGame"));
    QVERIFY(!w->voiceRecorder()->isRecording());

    QFile file(app.workspace().filePath("grabaciones/" + name + ".wav"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.size() > 44);
    QCOMPARE(le32(bytes, 4), quint32(bytes.size() - 8));
    QCOMPARE(le32(bytes, 40), quint32(bytes.size() - 44));

    // A late stop from the test that is no longer running changes nothing, and
    // no second recording is made by it.
    emit game->requestStopRecordingSound();
    QString late;
    emit game->requestStartRecordingSound(&late);
    QVERIFY(late.isEmpty());
    QVERIFY(!w->voiceRecorder()->isRecording());
}

QTEST_MAIN(TestMainWindowAudio)
#include "tst_mainwindowaudio.moc"
