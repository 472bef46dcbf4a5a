#include "abortdialog.h"
#include "appfixture.h"
#include "audiofixture.h"
#include "batterydriver.h"
#include "clickableimage.h"
#include "gameco1a.h"
#include "imagelabel.h"
#include "mainwindow.h"
#include "paragraph.h"
#include "recordingfiles.h"
#include "transitionlabel.h"
#include "voicerecorder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QtTest>

// Oral comprehension in the real main window with the real player and
// recorder: the questions follow the end of the instructions (also when they
// cannot be played), each answer is recorded on its own and logged once.
class TestGameCO1A : public QObject
{
    Q_OBJECT

private:
    // Starts CO1A in a workspace whose instructions last the given time (short
    // keeps the test quick); a negative time leaves them out.
    static GameCO1A *startWithInstructions(AppFixture &app, int milliseconds);
    // The one question on screen (-1: none, -2: several).
    static int visibleQuestion(GameCO1A *game);

private slots:
    void completeRun_data();
    void completeRun();
    void abandonedQuestionDoesNotReturn();
};

GameCO1A *TestGameCO1A::startWithInstructions(AppFixture &app, int milliseconds)
{
    const QString sounds = app.workspace().filePath("sounds");
    // The kit's folder is only linked: remove the link, never the kit's files.
    if (QFileInfo(sounds).isSymLink() && !QFile::remove(sounds))
        return nullptr;
    const QString path = app.workspace().filePath(GameCO1A::instructionSoundPath());
    if (!QDir().mkpath(sounds + "/CO1A") || (milliseconds >= 0 && !AudioFixture::writePrompt(path, milliseconds)))
        return nullptr;
    return qobject_cast<GameCO1A *>(app.startAt("CO1A"));
}

int TestGameCO1A::visibleQuestion(GameCO1A *game)
{
    int shown = -1;
    for (int i = 0; i < 4; ++i)
        if (game->question(i)->isVisible())
            shown = shown == -1 ? i : -2;
    return shown;
}

void TestGameCO1A::completeRun_data()
{
    QTest::addColumn<int>("instructionsMs");
    QTest::newRow("instructions played") << 1500;
    QTest::newRow("instructions missing") << -1;
    QTest::newRow("instructions without sound") << 0;
}

void TestGameCO1A::completeRun()
{
    QFETCH(int, instructionsMs);
    AUDIO_SERVER_REQUIRED();
    AppFixture app;
    if (!app.workspace().hasKit())
        QSKIP("the stimulus kit has not been generated");
    GameCO1A *game = startWithInstructions(app, instructionsMs);
    QVERIFY(game);
    VoiceRecorder *recorder = app.window()->voiceRecorder();

    AppFixture::click(game->getTransitionLabel());
    QVERIFY(!game->getNextButton()->isActive());
    AppFixture::click(game->getTestButton());
    QElapsedTimer sinceStart;
    sinceStart.start();
    QVERIFY(game->getReadersImage()->isVisible() && game->getSoundingIcon()->isVisible());
    QVERIFY(!game->getTestButton()->isActive() && !game->getNextButton()->isActive());
    QCOMPARE(visibleQuestion(game), -1);
    QVERIFY(!recorder->isRecording());
    if (instructionsMs > 1000) {
        QTest::qWait(instructionsMs / 2);
        QCOMPARE(visibleQuestion(game), -1);
        QVERIFY(!recorder->isRecording());
        AppFixture::click(game->getNextButton());
    }

    QTRY_VERIFY_WITH_TIMEOUT(visibleQuestion(game) == 0, qMax(instructionsMs, 0) + 5000);
    QVERIFY(sinceStart.elapsed() >= instructionsMs - 100);
    QVERIFY(!game->getReadersImage()->isVisible() && !game->getSoundingIcon()->isVisible());
    QVERIFY(game->getNextButton()->isActive());
    for (int q = 0; q < 4; ++q) {
        QCOMPARE(visibleQuestion(game), q);
        QVERIFY(recorder->isRecording());
        QTest::qWait(150);
        // A second end-of-sound report moves nothing on.
        game->soundHasFinished();
        QCOMPARE(visibleQuestion(game), q);
        AppFixture::click(game->getNextButton());
    }
    QCOMPARE(visibleQuestion(game), -1);
    QVERIFY(game->isFinished() && !recorder->isRecording());
    AppFixture::click(game->getNextButton());

    const QList<QStringList> rows = app.rowsOf("CO1A");
    QCOMPARE(rows.size(), 8);
    QStringList files;
    for (int q = 0; q < 4; ++q) {
        QCOMPARE(rows.at(2 * q).mid(2), (QStringList{"ANSWER", QString::number(q)}));
        QCOMPARE(rows.at(2 * q + 1).value(2), QString("FILE"));
        files << rows.at(2 * q + 1).value(3);
    }
    QCOMPARE(RecordingFiles::problemsWith(app.workspace().path(), files), QString());
    QCOMPARE(QDir(app.workspace().filePath("grabaciones")).entryList(QDir::Files).size(), 4);
}

void TestGameCO1A::abandonedQuestionDoesNotReturn()
{
    AUDIO_SERVER_REQUIRED();
    AppFixture app;
    if (!app.workspace().hasKit())
        QSKIP("the stimulus kit has not been generated");
    GameCO1A *game = startWithInstructions(app, -1);
    QVERIFY(game);
    AppFixture::click(game->getTransitionLabel());
    AppFixture::click(game->getTestButton());
    QTRY_COMPARE(visibleQuestion(game), 0);
    AppFixture::click(game->getNextButton());
    QCOMPARE(visibleQuestion(game), 1);
    emit app.window()->abortDialogWindow()->abortAll();
    QVERIFY(app.catcher().waitForMessages(1));

    // The next child's run starts from the instructions, with no question on screen.
    QCOMPARE(app.startAt("CO1A"), game);
    AppFixture::click(game->getTransitionLabel());
    AppFixture::click(game->getTestButton());
    QCOMPARE(visibleQuestion(game), -1);
    QTRY_COMPARE(visibleQuestion(game), 0);
}

QTEST_MAIN(TestGameCO1A)
#include "tst_gameco1a.moc"
