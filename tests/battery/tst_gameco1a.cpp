#include "audiofixture.h"
#include "batterydriver.h"
#include "gameco1a.h"
#include "paragraph.h"
#include "voicerecorder.h"

// Oral comprehension with the real player and recorder: the questions follow
// the end of the instructions (also when they cannot be played), each answer
// is recorded on its own and logged once.
class TestGameCO1A : public QObject
{
    Q_OBJECT

    // Runs CO1A in a workspace whose instructions last the given time (short
    // keeps the test quick; negative: no instructions), up to its test button.
    static GameCO1A *startWithInstructions(AppFixture &app, int milliseconds)
    {
        const QString sounds = app.workspace().filePath("sounds");
        // The kit's folder is only linked: remove the link, never the kit's files.
        if (QFileInfo(sounds).isSymLink() && !QFile::remove(sounds))
            return nullptr;
        const QString path = app.workspace().filePath(GameCO1A::instructionSoundPath());
        if (!QDir().mkpath(sounds + "/CO1A") || (milliseconds >= 0 && !AudioFixture::writePrompt(path, milliseconds)))
            return nullptr;
        return enterTest<GameCO1A>(app, "CO1A");
    }

    // The one question on screen (-1: none, -2: several).
    static int visibleQuestion(GameCO1A *game)
    {
        int shown = -1;
        for (int i = 0; i < 4; ++i)
            if (game->question(i)->isVisible())
                shown = shown == -1 ? i : -2;
        return shown;
    }

private slots:
    void completeRun_data()
    {
        QTest::addColumn<int>("instructionsMs");
        QTest::newRow("instructions played") << 1500;
        QTest::newRow("instructions missing") << -1;
        QTest::newRow("instructions without sound") << 0;
    }

    void completeRun()
    {
        QFETCH(int, instructionsMs);
        AUDIO_SERVER_REQUIRED();
        AppFixture app;
        KIT_REQUIRED(app);
        GameCO1A *game = startWithInstructions(app, instructionsMs);
        QVERIFY(game);
        // The run starts from the instructions, with no question on screen.
        QElapsedTimer sinceStart;
        sinceStart.start();
        VoiceRecorder *recorder = app.window()->voiceRecorder();
        QVERIFY(game->getReadersImage()->isVisible() && game->getSoundingIcon()->isVisible());
        QVERIFY(showsPicture(game->getReadersImage(), "images/CO1A/lectores.png"));
        QVERIFY(visibleQuestion(game) == -1 && !recorder->isRecording());
        QVERIFY(!game->getTestButton()->isActive() && !game->getNextButton()->isActive());
        if (instructionsMs > 1000) {
            // Half-way through the instructions: no question, and the next button moves nothing on.
            QTest::qWait(instructionsMs / 2);
            QVERIFY(visibleQuestion(game) == -1 && !recorder->isRecording());
            AppFixture::click(game->getNextButton());
        }
        QTRY_VERIFY_WITH_TIMEOUT(visibleQuestion(game) == 0, qMax(instructionsMs, 0) + 5000);
        QVERIFY(sinceStart.elapsed() >= instructionsMs - 100);
        QVERIFY(!game->getReadersImage()->isVisible() && !game->getSoundingIcon()->isVisible());
        const QStringList questions = {
            "¿Cómo se hace la mermelada de moscas?", "¿Por qué es necesario que la mermelada|lleve cola fría?",
            "¿Por qué hay que empezar con caquitas de perro|y huevito podrido?",
            "¿Prepararías la mermelada de moscas?|¿Sí o no? ¿Por qué?"};
        for (int q = 0; q < 4; ++q) {
            QVERIFY(visibleQuestion(game) == q && recorder->isRecording() && game->getNextButton()->isActive());
            QCOMPARE(paragraphText(game->question(q)), questions.at(q));
            QTest::qWait(150);
            game->soundHasFinished(); // a second end-of-sound report moves nothing on
            QCOMPARE(visibleQuestion(game), q);
            AppFixture::click(game->getNextButton());
        }
        QVERIFY(visibleQuestion(game) == -1 && game->isFinished() && !recorder->isRecording());
        AppFixture::click(game->getNextButton());
        const Rows rows = keyValues(app, "CO1A");
        Rows expected;
        QStringList files;
        for (int q = 0; q < 4; ++q) {
            files << rows.value(2 * q + 1).value(1);
            expected << QStringList{"ANSWER", QString::number(q)} << QStringList{"FILE", files.last()};
        }
        QCOMPARE(rows, expected);
        QCOMPARE(recordingProblems(app, files), QString());
        QCOMPARE(QDir(app.workspace().filePath("grabaciones")).entryList(QDir::Files).size(), 4);
    }
};

QTEST_MAIN(TestGameCO1A)
#include "tst_gameco1a.moc"
