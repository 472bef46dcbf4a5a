#include "abortdialog.h"
#include "appfixture.h"
#include "audiofixture.h"
#include "gamewindow.h"
#include "mainwindow.h"
#include "voicerecorder.h"

#include <QtTest>

// The main window's hand-over between the tests and the audio: recordings end
// with the test that started them, and a recording that cannot be made ends the
// evaluation with its message.
class TestMainWindowAudio : public QObject
{
    Q_OBJECT

private slots:
    void unopenableRecordingEndsTheEvaluation()
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
        QCOMPARE(app.catcher().messages(), QStringList{"No se puede continuar, problemas al abrir archivos de grabación."});
        QVERIFY(!w->voiceRecorder()->isRecording());
        QCOMPARE(w->currentEvaluationId(), 0);
        QVERIFY(!w->isFullScreen());
    }

    void testChangeCompletesTheRecording_data()
    {
        QTest::addColumn<bool>("abandon");
        QTest::newRow("next test") << false;
        QTest::newRow("evaluation abandoned") << true;
    }

    void testChangeCompletesTheRecording()
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
        QTest::qWait(300);

        if (abandon)
            emit w->abortDialogWindow()->abortAll();
        else
            QVERIFY(QMetaObject::invokeMethod(game, "runFinishGame"));
        QVERIFY(!w->voiceRecorder()->isRecording());
        const QString path = app.workspace().filePath("grabaciones/" + name + ".wav");
        QVERIFY(QFileInfo(path).size() > 44 && AudioFixture::isComplete(path));

        // A late stop from the test that is no longer running changes nothing, and
        // no second recording is made by it.
        emit game->requestStopRecordingSound();
        QString late;
        emit game->requestStartRecordingSound(&late);
        QVERIFY(late.isEmpty());
        QVERIFY(!w->voiceRecorder()->isRecording());
    }
};

QTEST_MAIN(TestMainWindowAudio)
#include "tst_mainwindowaudio.moc"
