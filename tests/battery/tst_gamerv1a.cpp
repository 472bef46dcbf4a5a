#include "batterydriver.h"
#include "gamerv1a.h"
#include "lineinparagraph.h"
#include "paragraph.h"
#include "wordinparagraph.h"

// The visual word recognition test: the story, which greets the child by name; every
// touched word is scored for the word sought at that moment, and a complete
// run stores six rows.
class TestGameRV1A : public QObject
{
    Q_OBJECT

    // The word at (line, position) of the story, both counted from 1.
    static WordInParagraph *word(GameRV1A *game, int line, int position)
    {
        return game->getParagraph()->lines().at(line - 1)->words().at(position - 1);
    }

    // A full evaluation for a child of that name, moved on to this test and its story.
    static GameRV1A *startTest(AppFixture &app, const QString &name)
    {
        MainWindow *w = app.window();
        if (app.startEvaluation(1, true, name) < 1)
            return nullptr;
        while (w->currentTestCode() != "RV1A")
            if (!QMetaObject::invokeMethod(w->game(w->currentTestCode()), "runFinishGame"))
                return nullptr;
        return qobject_cast<GameRV1A *>(w->game("RV1A"));
    }

private slots:
    void childNameOpensTheStory()
    {
        AppFixture app;
        // One evaluation after the other, each abandoned once the name is found. Periods
        // are left out on both sides when words are compared, so "M.josé" is found.
        const QList<QStringList> names{{"ana maría", "Ana"}, {"maría josé", "María"}, {"JUAN", "Juan"},
                                       {"ÁNGELA", "Ángela"}, {"m.josé", "M.josé"}};
        for (const QStringList &name : names) {
            GameRV1A *game = startTest(app, name.at(0));
            QVERIFY(game);
            QCOMPARE(paragraphText(game->getParagraph()),
                     "Hola, soy " + name.at(1) + ". Ayer me mandaron a|comprar el pan para tomar once con mi papá|"
                     "y mi mamá. Fui con mi perro Sultán al almacén|de la esquina de mi casa. En el pasaje había|"
                     "unos niños jugando a la pelota y mi perro|se fue corriendo detrás de ella. Los niños estaban|"
                     "muy enojados porque no se la podían quitar.|Sólo cuando apareció un gato detrás de un|"
                     "auto, Sultán se olvidó de la pelota.");
            QVERIFY(!word(game, 1, 3)->isUnderlined());
            // Only the test button leads on; the story appears with it.
            AppFixture::click(game->getTransitionLabel());
            QVERIFY(!game->getParagraph()->isVisible() && game->getTestButton()->isActive());
            AppFixture::click(game->getTestButton());
            QVERIFY(game->getParagraph()->isVisible() && !game->getTestButton()->isActive());
            AppFixture::click(word(game, 1, 3));
            QCOMPARE(keyValues(app, "RV1A", app.window()->currentEvaluationId()), (Rows{{name.at(1), "1"}}));
            QVERIFY(abandon(app));
        }
    }

    void completeRun_data()
    {
        // Touches as (line, position); the values follow the sought words
        // name, "pan", "mamá", "casa", "perro", "pelota".
        QTest::addColumn<QList<QPoint>>("touches");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("all right") << QList<QPoint>{{1, 3}, {2, 3}, {3, 3}, {4, 6}, {3, 7}, {9, 7}}
                                   << QStringList({"1", "1", "1", "1", "1", "1"});
        // "Sultán" for "pan", "papá" for "mamá"; the other "perro" and "pelota" (line 5) count as well.
        QTest::newRow("some wrong") << QList<QPoint>{{1, 1}, {3, 8}, {2, 9}, {4, 3}, {5, 9}, {5, 6}}
                                    << QStringList({"0", "0", "0", "0", "1", "1"});
    }

    void completeRun()
    {
        QFETCH(QList<QPoint>, touches);
        QFETCH(QStringList, values);
        AppFixture app;
        GameRV1A *game = startTest(app, "ana maría");
        QVERIFY(game);
        AppFixture::click(game->getTransitionLabel());
        AppFixture::click(game->getTestButton());
        const QStringList keys = {"Ana", "pan", "mamá", "casa", "perro", "pelota"};
        for (int i = 0; i < 6; ++i) {
            WordInParagraph *w = word(game, touches.at(i).x(), touches.at(i).y());
            AppFixture::click(w);
            QVERIFY(w->isUnderlined());
            AppFixture::click(w); // a word already touched does not count again
            QCOMPARE(keyValues(app, "RV1A"), pairs(keys.mid(0, i + 1), values));
        }
        QVERIFY(game->isFinished() && game->getCheckIcon()->isVisible());
        AppFixture::click(word(game, 7, 1)); // after the sixth answer no word reacts
        QVERIFY(!word(game, 7, 1)->isUnderlined());
        QCOMPARE(keyValues(app, "RV1A"), pairs(keys, values));
    }
};

QTEST_MAIN(TestGameRV1A)
#include "tst_gamerv1a.moc"
