#include "batterydriver.h"
#include "gamepa1a.h"

// The grapheme test: which keys are answers, what they score, and that only the
// twelve test letters are logged.
class TestGamePA1A : public QObject
{
    Q_OBJECT

    // The letter pictures on show.
    static QStringList shown(GamePA1A *game)
    {
        QStringList result;
        for (const QString &letter : QStringList{"a"} + letterSequence)
            if (game->letterPicture(letter)->isVisible())
                result << letter;
        return result;
    }

private slots:
    void answerKeys_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value");
        QTest::newRow("e as 3") << 0 << "3" << "0";
        QTest::newRow("o as digit 0") << 1 << "0" << "1";
        QTest::newRow("b as v") << 3 << "v" << "0";
        QTest::newRow("l as digit 1") << 7 << "1" << "1";
        QTest::newRow("d as digit 1") << 8 << "1" << "0";
        QTest::newRow("g as capital G") << 11 << "G" << "1";
    }

    void answerKeys() { checkAnswerKey("PA1A"); }

    void completeRunAfterAnAbandonedOne()
    {
        ENTER_TEST(GamePA1A, "PA1A", 3);
        for (const char *letter : {"e", "o", "m"})
            typeKey(game, letter);
        QVERIFY(abandon(app)); // with "b" on show; then another evaluation
        QCOMPARE(enterTest(app, "PA1A", 0), game);
        typeKey(game, "a");
        AppFixture::click(game->getTransitionLabel());
        QVERIFY(shown(game).isEmpty());
        AppFixture::click(game->getExampleButton());
        QCOMPARE(shown(game), QStringList{"a"});
        typeKey(game, "a");
        AppFixture::click(game->getTestButton());
        const int evaluation = app.window()->currentEvaluationId();
        Rows expected;
        for (const QString &letter : letterSequence) {
            QCOMPARE(shown(game), QStringList{letter});
            typeKey(game, letter);
            expected << QStringList{letter, "1"};
            if (letter == "o") {
                // Neither answers nor advances: other keys, and the repeats of a key held down.
                typeKey(game, ",");
                typeKey(game, "ñ");
                typeKey(game, "o", 0, true);
                typeKey(game, QString(), Qt::Key_Escape);
                QVERIFY(app.window()->abortDialogWindow()->isVisible());
                app.window()->abortDialogWindow()->hide();
                QCOMPARE(keyValues(app, "PA1A", evaluation), expected);
            }
        }
        QVERIFY(shown(game).isEmpty() && game->getCheckIcon()->isVisible());
        typeKey(game, "g"); // keys in the second before the next test are not answers
        QCOMPARE(keyValues(app, "PA1A", evaluation), expected);
    }
};

QTEST_MAIN(TestGamePA1A)
#include "tst_gamepa1a.moc"
