#include "abortdialog.h"
#include "appfixture.h"
#include "audiofixture.h"
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
#include <QImageReader>
#include <QtTest>

// Oral comprehension, run in the real main window with the real player and
// recorder: the questions follow the end of the instructions (also when they
// cannot be played), each answer is recorded on its own and logged once.
class TestGameCO1A : public QObject
{
    Q_OBJECT

private:
    // Gives the workspace its own sounds folder whose instructions last the
    // given time (a short prompt keeps the test quick); a negative time leaves
    // them out, so they cannot be played.
    static bool setInstructions(AppFixture &app, int milliseconds);
    // Clicks through the transition screen and the test button.
    static void startInstructions(GameWindow *game);
    static int visibleQuestion(GameCO1A *game);

private slots:
    void resourcesExist();
    void completeRun_data();
    void completeRun();
    void abandonedQuestionDoesNotReturn();
};

bool TestGameCO1A::setInstructions(AppFixture &app, int milliseconds)
{
    const QString sounds = app.workspace().filePath("sounds");
    // The kit's folder is only linked: remove the link, never the kit's files.
    if (QFileInfo(sounds).isSymLink() && !QFile::remove(sounds))
        return false;
    if (!QDir().mkpath(sounds + "/CO1A"))
        return false;
    return milliseconds < 0 || AudioFixture::writePrompt(app.workspace().filePath(GameCO1A::instructionSoundPath()),
                                                          milliseconds);
}

void TestGameCO1A::startInstructions(GameWindow *game)
{
    AppFixture::click(game->getTransitionLabel());
    QVERIFY(game->getTestButton()->isActive());
    QVERIFY(!game->getNextButton()->isActive());
    AppFixture::click(game->getTestButton());
}

int TestGameCO1A::visibleQuestion(GameCO1A *game)
{
    int shown = -1;
    for (int i = 0; i < 4; ++i)
        if (game->question(i)->isVisible())
            shown = shown == -1 ? i : -2;
    return shown;
}

void TestGameCO1A::resourcesExist()
{
    TestWorkspace space;
    if (!space.hasKit())
        QSKIP("the stimulus kit has not been generated");
    QVERIFY(QImageReader(GameCO1A::readersPath()).canRead());
    QVERIFY(QFileInfo(GameCO1A::instructionSoundPath()).size() > 44);
    QCOMPARE(GameCO1A::resourcePaths().size(), 2);
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
    QVERIFY(setInstructions(app, instructionsMs));
    auto *game = qobject_cast<GameCO1A *>(app.startAt("CO1A"));
    QVERIFY(game);
    VoiceRecorder *recorder = app.window()->voiceRecorder();

    QElapsedTimer sinceStart;
    startInstructions(game);
    sinceStart.start();
    QVERIFY(game->getReadersImage()->isVisible());
    QVERIFY(game->getSoundingIcon()->isVisible());
    QVERIFY(!game->getTestButton()->isActive());
    QVERIFY(!game->getNextButton()->isActive());
    QCOMPARE(visibleQuestion(game), -1);
    QVERIFY(!recorder->isRecording());
    if (instructionsMs > 1000) {
        QTest::qWait(instructionsMs / 2);
        QCOMPARE(visibleQuestion(game), -1);
        QVERIFY(!recorder->isRecording());
        AppFixture::click(game->getNextButton());
        QVERIFY(app.rowsOf("CO1A").isEmpty());
    }

    QTRY_VERIFY_WITH_TIMEOUT(visibleQuestion(game) == 0, qMax(instructionsMs, 0) + 5000);
    QVERIFY(sinceStart.elapsed() >= instructionsMs - 100);
    QVERIFY(!game->getReadersImage()->isVisible());
    QVERIFY(!game->getSoundingIcon()->isVisible());
    QVERIFY(game->getNextButton()->isActive());
    QVERIFY(recorder->isRecording());

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
    QVERIFY(game->isFinished());
    QVERIFY(!recorder->isRecording());
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
    QVERIFY(setInstructions(app, -1));
    auto *game = qobject_cast<GameCO1A *>(app.startAt("CO1A"));
    QVERIFY(game);
    startInstructions(game);
    QTRY_COMPARE(visibleQuestion(game), 0);
    AppFixture::click(game->getNextButton());
    QCOMPARE(visibleQuestion(game), 1);
    emit app.window()->abortDialogWindow()->abortAll();
    QVERIFY(app.catcher().waitForMessages(1));

    // The next child's run starts from the instructions, with no question on screen.
    QCOMPARE(app.startAt("CO1A"), game);
    AppFixture::click(game->getTransitionLabel());
    QCOMPARE(visibleQuestion(game), -1);
    AppFixture::click(game->getTestButton());
    QCOMPARE(visibleQuestion(game), -1);
    QVERIFY(game->getReadersImage()->isVisible());
    QTRY_COMPARE(visibleQuestion(game), 0);
}

QTEST_MAIN(TestGameCO1A)
#include "tst_gameco1a.moc"
