#include "batterydriver.h"
#include "gamepa2a.h"

// The letter name test: its prompts, answers and replays.
class TestGamePA2A : public QObject
{
    Q_OBJECT

private slots:
    void answerKeys_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value");
        QTest::newRow("b as capital V") << 3 << "V" << "1";
        QTest::newRow("p as v") << 4 << "v" << "0";
        QTest::newRow("l as digit 1") << 7 << "1" << "1";
        QTest::newRow("d as b") << 8 << "b" << "0";
    }

    void answerKeys() { checkAnswerKey("PA2A"); }

    void completeRunAfterAnAbandonedOne()
    {
        ENTER_TEST(GamePA2A, "PA2A", 3);
        typeKey(game, "e");
        QVERIFY(abandon(app)); // with "o" asked; then another evaluation
        QCOMPARE(enterTest(app, "PA2A", 0), game);
        QSignalSpy prompts(game, &GameWindow::requestPlaySound);
        auto lastPrompt = [&] { return firstArguments(prompts).value(prompts.size() - 1); };
        typeKey(game, "e");
        AppFixture::click(game->getTransitionLabel());
        AppFixture::click(game->getFriends()); // before the example the animation says the example letter
        QCOMPARE(lastPrompt(), QString("sounds/PA2A/a.wav"));
        AppFixture::click(game->getExampleButton());
        QCOMPARE(prompts.size(), 2);
        typeKey(game, "a");
        AppFixture::click(game->getTestButton());
        const int evaluation = app.window()->currentEvaluationId();
        Rows expected;
        for (const QString &letter : letterSequence) {
            QCOMPARE(lastPrompt(), "sounds/PA2A/" + letter + ".wav");
            if (letter == "m") {
                // A replay says "m" again; stray keys and the repeats of a held key change nothing.
                AppFixture::click(game->getFriends());
                typeKey(game, ".");
                typeKey(game, "o", 0, true);
                QCOMPARE(prompts.size(), 2 + 3 + 1);
                QCOMPARE(lastPrompt(), QString("sounds/PA2A/m.wav"));
                QCOMPARE(keyValues(app, "PA2A", evaluation), expected);
            }
            typeKey(game, letter);
            expected << QStringList{letter, "1"};
        }
        // After the last answer: no prompt, no row.
        const int prompted = prompts.size();
        AppFixture::click(game->getFriends());
        typeKey(game, "v");
        QCOMPARE(prompts.size(), prompted);
        QCOMPARE(keyValues(app, "PA2A", evaluation), expected);
    }
};

QTEST_MAIN(TestGamePA2A)
#include "tst_gamepa2a.moc"
