#include "batterydriver.h"
#include "gamecf2generic.h"
#include "widgetcf2stimuli.h"

// The four syllable and sound recognition tests: the items of each table in
// order, what is logged for right and wrong touches, the example, the spoken
// words and the naming of the options with Space.
class TestGameCF2Generic : public QObject
{
    Q_OBJECT

    static QList<ClickableImage *> pictures(WidgetCF2Stimuli *w)
    {
        return {w->getTopImage(), w->getMiddleImage(), w->getBottomImage()};
    }

    // The items on screen, each as "target word, top, middle, bottom picture, key".
    static QStringList shownItems(GameCF2Generic *game)
    {
        QStringList shown;
        for (WidgetCF2Stimuli *w : game->getGameHolder()->findChildren<WidgetCF2Stimuli *>())
            if (w->isVisible())
                shown << QStringList{w->getTargetWord(), w->getTopName(), w->getMiddleName(), w->getBottomName(),
                                     w->getItemKey()}.join(' ');
        return shown;
    }

private slots:
    void completeRun_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("table"); // example and items 1 to 6: target word, top, middle, bottom, key
        QTest::addColumn<QList<int>>("touches"); // the picture touched in each item: 0 top, 1 middle, 2 bottom
        QTest::newRow("CF2A") << "CF2A"
                              << "mano mago mesa gato mago|gorro goma gato loro goma|conejo corona boleta cadena "
                                 "corona|tesoro tomate tetera repollo tetera|lapiz luna lana rana lana|"
                                 "remo rata perro regla regla|galleta gusano maleta gallina gallina"
                              << QList<int>{1, 0, 1, 0, 2, 2};
        QTest::newRow("CF2B") << "CF2B"
                              << "pasa hueso mesa cama mesa|rosa casa queso roca casa|taco saco cerca sapo saco|"
                                 "pelota galleta tomate cebolla galleta|noche ocho postre leche leche|"
                                 "valle calle silla llave calle|botella cabello cebolla polera cebolla"
                              << QList<int>{0, 2, 0, 2, 1, 1};
        QTest::newRow("CF3A") << "CF3A"
                              << "ojo oso ajo pollo oso|una olla uva pulga uva|mapa mono casa pala mono|"
                                 "seda saco rata pera saco|toro loro taza loco taza|"
                                 "paloma poroto madera carroza poroto|camino payaso amigo cocina cocina"
                              << QList<int>{1, 1, 0, 0, 0, 0};
        QTest::newRow("CF3B") << "CF3B"
                              << "roca copa remo peste remo|tope bote tapa rata bote|jarabe chupete jirafa raqueta "
                                 "chupete|sarten volcan sofa papel volcan|corazon cazador colador tulipan tulipan|"
                                 "farol feliz papel jarron papel|carcel trebol copa balde trebol"
                              << QList<int>{2, 0, 0, 2, 1, 2};
    }

    void completeRun()
    {
        QFETCH(QString, code);
        QFETCH(QString, table);
        QFETCH(QList<int>, touches);
        const QStringList items = table.split('|');
        // The sound of a word of an item: 0 its target word, 1 to 3 its pictures from the top.
        auto sound = [&](int item, int word) {
            return "sounds/" + code + "/" + items.at(item).section(' ', word, word) + ".wav";
        };
        ENTER_TEST(GameCF2Generic, code, 0);
        QCOMPARE(game->getGameHolder()->findChildren<WidgetCF2Stimuli *>().size(), items.size());
        QSignalSpy sounds(game, &GameWindow::requestPlaySound);
        // Nothing on show yet: nothing to replay or to name with Space.
        QTest::keyClick(game, Qt::Key_Space);
        AppFixture::click(game->getTransitionLabel());
        AppFixture::click(game->getFriends());
        QTest::keyClick(game, Qt::Key_Space);
        QVERIFY(shownItems(game).isEmpty() && sounds.isEmpty());
        // The example, with its word, which the friends replay; Space names its
        // pictures in turn, framing the one named; touching them does nothing.
        AppFixture::click(game->getExampleButton());
        AppFixture::click(game->getFriends());
        QCOMPARE(shownItems(game), QStringList{items.at(0)});
        QCOMPARE(firstArguments(sounds), QStringList({sound(0, 0), sound(0, 0)}));
        for (int press = 0; press < 4; ++press) {
            QTest::keyClick(game, Qt::Key_Space);
            QCOMPARE(firstArguments(sounds).mid(2 + press), QStringList{sound(0, 1 + press % 3)});
            for (int i = 0; i < 3; ++i)
                QCOMPARE(pictures(game->currentStimulus()).at(i)->frameShape() != QFrame::NoFrame, i == press % 3);
        }
        for (ClickableImage *picture : pictures(game->currentStimulus()))
            AppFixture::click(picture);
        QCOMPARE(shownItems(game), QStringList{items.at(0)});
        QCOMPARE(sounds.count(), 6);
        sounds.clear();
        AppFixture::click(game->getTestButton());
        QStringList keys, values;
        for (int i = 1; i <= 6; ++i) {
            QCOMPARE(shownItems(game), QStringList{items.at(i)});
            QVERIFY(game->getSoundingIcon()->isVisible());
            QStringList said{sound(i, 0)};
            if (i == 1) { // the naming starts again at the top
                QTest::keyClick(game, Qt::Key_Space);
                said << sound(1, 1);
            }
            QCOMPARE(firstArguments(sounds), said);
            sounds.clear();
            WidgetCF2Stimuli *w = game->currentStimulus();
            if (app.workspace().hasKit()) { // the three 230 x 230 pictures fit whole, one under the other
                QCOMPARE(w->size(), QSize(242, 710));
                QVERIFY(w->getTopImage()->geometry().bottom() < w->getMiddleImage()->y());
                QVERIFY(w->getMiddleImage()->geometry().bottom() < w->getBottomImage()->y());
                QVERIFY(w->rect().contains(w->getBottomImage()->geometry()));
            }
            const QStringList item = items.at(i).split(' ');
            AppFixture::click(pictures(w).at(touches.at(i - 1)));
            keys << item.at(4);
            values << (item.at(1 + touches.at(i - 1)) == item.at(4) ? "1" : "0");
            QCOMPARE(keyValues(app, code, app.window()->currentEvaluationId()), pairs(keys, values));
        }
        // The end: nothing on screen, and nothing reacts any more.
        QVERIFY(game->isFinished() && shownItems(game).isEmpty());
        AppFixture::click(game->currentStimulus()->getTopImage());
        QTest::keyClick(game, Qt::Key_Space);
        AppFixture::click(game->getFriends());
        QVERIFY(sounds.isEmpty());
        QCOMPARE(app.rowsOf(code).size(), 6);
    }
};

QTEST_MAIN(TestGameCF2Generic)
#include "tst_gamecf2generic.moc"
