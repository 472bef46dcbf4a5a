#include "batterydriver.h"
#include "gamecf1a.h"

// The syllable segmentation test: Space strikes count per word, the examiner's
// next button scores it, and a run writes exactly eight rows.
class TestGameCF1A : public QObject
{
    Q_OBJECT

private slots:
    void strikesScoreTheWord_data()
    {
        QTest::addColumn<QString>("steps"); // from the example on: s a strike, T the test button, r a replay
        QTest::addColumn<QString>("value");
        QTest::newRow("three for two syllables") << "Tsss" << "0";
        QTest::newRow("example strikes do not count") << "ssssTss" << "1";
        QTest::newRow("replay keeps the count") << "Tsrs" << "1";
    }

    void strikesScoreTheWord()
    {
        QFETCH(QString, steps);
        QFETCH(QString, value);
        ENTER_TEST(GameCF1A, "CF1A", 1);
        QSignalSpy prompts(game, &GameWindow::requestPlaySound);
        AppFixture::click(game->getExampleButton());
        QVERIFY(game->getSoundingIcon()->isVisible());
        // The example word, a drum sound per strike, the word at the test button and at a replay.
        QStringList said{"sounds/CF1A/lobo.wav"};
        for (QChar step : steps) {
            if (step == 's')
                typeKey(game, " ");
            else
                AppFixture::click(step == 'T' ? static_cast<QWidget *>(game->getTestButton()) : game->getFriends());
            said << QString("sounds/CF1A/%1.wav").arg(step == 's' ? "tamborazo" : "gato");
        }
        QVERIFY(app.rowsOf("CF1A").isEmpty());
        AppFixture::click(game->getNextButton());
        QCOMPARE(keyValues(app, "CF1A"), (Rows{{"gato", value}}));
        QCOMPARE(firstArguments(prompts), said << "sounds/CF1A/gallina.wav");
    }

    void completeRun()
    {
        ENTER_TEST(GameCF1A, "CF1A", 0);
        QSignalSpy prompts(game, &GameWindow::requestPlaySound);
        typeKey(game, " ");
        QVERIFY(prompts.isEmpty());
        // Once the play area is shown a strike sounds (with no sounding
        // indicator) and lowers a stick for a moment, left and right in turn.
        AppFixture::click(game->getTransitionLabel());
        const QList<ImageLabel *> sticks{game->getLeftStickUp(), game->getLeftStickDown(), game->getRightStickUp(),
                                         game->getRightStickDown()};
        auto shown = [&] {
            return QString("%1%2%3%4").arg(sticks[0]->isVisible()).arg(sticks[1]->isVisible())
                .arg(sticks[2]->isVisible()).arg(sticks[3]->isVisible());
        };
        typeKey(game, " ");
        QCOMPARE(firstArguments(prompts), QStringList{"sounds/CF1A/tamborazo.wav"});
        QVERIFY(!game->getSoundingIcon()->isVisible());
        QCOMPARE(shown(), QString("0110")); // left up, left down, right up, right down
        typeKey(game, " ");
        QCOMPARE(shown(), QString("0101"));
        QTRY_COMPARE_WITH_TIMEOUT(shown(), QString("1010"), 1000);
        // Each pair of sticks hangs over one edge of the drum, 20 pixels into it.
        const QRect drum = game->getDrum()->geometry();
        QVERIFY(drum.left() > game->getFriends()->geometry().right());
        for (ImageLabel *stick : sticks) {
            const int edge = stick->x() < drum.center().x() ? drum.left() : drum.left() + drum.width();
            QVERIFY(qAbs(stick->geometry().center().x() - edge) <= 1);
            QCOMPARE(stick->y() + stick->height(), drum.top() + 20);
        }
        AppFixture::click(game->getExampleButton());
        AppFixture::click(game->getTestButton());
        for (int strikes : {2, 3, 1, 3, 2, 4, 3, 2}) { // "arbol" struck once
            for (int i = 0; i < strikes; ++i)
                typeKey(game, " ");
            AppFixture::click(game->getNextButton());
        }
        // After the eighth word further strikes and clicks change nothing.
        prompts.clear();
        typeKey(game, " ");
        AppFixture::click(game->getNextButton());
        AppFixture::click(game->getFriends());
        QVERIFY(prompts.isEmpty());
        const QStringList words{"gato", "gallina", "arbol", "orquesta", "campo", "companero", "florero", "lluvia"};
        QCOMPARE(keyValues(app, "CF1A"), pairs(words, {"1", "1", "0", "1", "1", "1", "1", "1"}));
    }
};

QTEST_MAIN(TestGameCF1A)
#include "tst_gamecf1a.moc"
