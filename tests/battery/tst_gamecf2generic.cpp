#include "appfixture.h"
#include "clickableimage.h"
#include "gamecf2a.h"
#include "gamecf2b.h"
#include "gamecf3a.h"
#include "gamecf3b.h"
#include "imagelabel.h"
#include "mainwindow.h"
#include "movielabel.h"
#include "transitionlabel.h"
#include "widgetcf2stimuli.h"

#include <QSignalSpy>
#include <QtTest>

// The four syllable and sound recognition tests, run as the examiner and the
// child run them inside the real main window: the items of each table in
// order, what is logged for right and wrong touches, the example, the spoken
// words and the naming of the options with Space.
class TestGameCF2Generic : public QObject
{
    Q_OBJECT

private:
    static ClickableImage *picture(WidgetCF2Stimuli *w, int index)
    {
        return index == 0 ? w->getTopImage() : index == 1 ? w->getMiddleImage() : w->getBottomImage();
    }

    static QString sound(const QString &code, const QString &word) { return "sounds/" + code + "/" + word + ".wav"; }

    static int visibleItems(GameCF2Generic *g)
    {
        int n = 0;
        for (WidgetCF2Stimuli *w : g->getGameHolder()->findChildren<WidgetCF2Stimuli *>())
            n += w->isVisible() ? 1 : 0;
        return n;
    }

    // The item on screen shows the given row (target word, top, middle, bottom,
    // key) and its target word was asked for, once for each request expected.
    static void verifyItem(GameCF2Generic *g, const QString &code, const QStringList &item, QSignalSpy &sounds,
                           int requests = 1)
    {
        WidgetCF2Stimuli *w = g->currentStimulus();
        QVERIFY(w && w->isVisible());
        QCOMPARE(QStringList({w->getTargetWord(), w->getTopName(), w->getMiddleName(), w->getBottomName(),
                              w->getItemKey()}),
                 item);
        QCOMPARE(sounds.count(), requests);
        for (const QList<QVariant> &args : sounds)
            QCOMPARE(args.first().toString(), sound(code, item.at(0)));
        QVERIFY(g->getSoundingIcon()->isVisible());
        sounds.clear();
    }

private slots:
    void completeRun_data();
    void completeRun();
    void spaceNamesTheOptionsInTurn();
    void laterEvaluationAfterAnAbandonedRun();
};

void TestGameCF2Generic::completeRun_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("title");
    // Example and items 1 to 6: target word, top, middle, bottom picture, key.
    QTest::addColumn<QString>("table");
    // Which picture the child touches in each test item: 0 top, 1 middle, 2 bottom.
    QTest::addColumn<QList<int>>("touches");

    QTest::newRow("CF2A") << "CF2A" << QString::fromUtf8("Reconocimiento de sílaba inicial")
                          << "mano mago mesa gato mago|gorro goma gato loro goma|conejo corona boleta cadena corona|"
                             "tesoro tomate tetera repollo tetera|lapiz luna lana rana lana|"
                             "remo rata perro regla regla|galleta gusano maleta gallina gallina"
                          << QList<int>{1, 0, 1, 0, 2, 2};
    QTest::newRow("CF2B") << "CF2B" << QString::fromUtf8("Reconocimiento de sílaba final")
                          << "pasa hueso mesa cama mesa|rosa casa queso roca casa|taco saco cerca sapo saco|"
                             "pelota galleta tomate cebolla galleta|noche ocho postre leche leche|"
                             "valle calle silla llave calle|botella cabello cebolla polera cebolla"
                          << QList<int>{0, 2, 0, 2, 1, 1};
    QTest::newRow("CF3A") << "CF3A" << QString::fromUtf8("Reconocimiento de sonido inicial")
                          << "ojo oso ajo pollo oso|una olla uva pulga uva|mapa mono casa pala mono|"
                             "seda saco rata pera saco|toro loro taza loco taza|"
                             "paloma poroto madera carroza poroto|camino payaso amigo cocina cocina"
                          << QList<int>{1, 1, 0, 0, 0, 0};
    QTest::newRow("CF3B") << "CF3B" << QString::fromUtf8("Reconocimiento de sonido final")
                          << "roca copa remo peste remo|tope bote tapa rata bote|jarabe chupete jirafa raqueta chupete|"
                             "sarten volcan sofa papel volcan|corazon cazador colador tulipan tulipan|"
                             "farol feliz papel jarron papel|carcel trebol copa balde trebol"
                          << QList<int>{2, 0, 0, 2, 1, 2};
}

void TestGameCF2Generic::completeRun()
{
    QFETCH(QString, code);
    QFETCH(QString, title);
    QFETCH(QString, table);
    QFETCH(QList<int>, touches);
    QList<QStringList> items;
    for (const QString &row : table.split('|'))
        items << row.split(' ');

    AppFixture app;
    auto *g = qobject_cast<GameCF2Generic *>(app.startAt(code));
    QVERIFY(g);
    QCOMPARE(g->getTitle(), title);
    QSignalSpy sounds(g, &GameWindow::requestPlaySound);

    AppFixture::click(g->getTransitionLabel());
    QVERIFY(g->getExampleButton()->isActive());
    QVERIFY(!g->getTestButton()->isActive());
    QVERIFY(g->getNextButton()->isHidden());
    QCOMPARE(visibleItems(g), 0);
    // Nothing to replay yet.
    AppFixture::click(g->getFriends());
    QCOMPARE(sounds.count(), 0);

    // The example: shown with its word, which the friends replay; touching
    // its pictures does nothing.
    AppFixture::click(g->getExampleButton());
    AppFixture::click(g->getFriends());
    verifyItem(g, code, items.at(0), sounds, 2);
    QVERIFY(g->getTestButton()->isActive());
    WidgetCF2Stimuli *example = g->currentStimulus();
    for (int i = 0; i < 3; ++i)
        AppFixture::click(picture(example, i));
    QCOMPARE(g->currentStimulus(), example);
    QCOMPARE(sounds.count(), 0);

    AppFixture::click(g->getTestButton());
    QVERIFY(!g->getTestButton()->isActive());
    QVERIFY(!example->isVisible());
    QList<QStringList> expected;
    for (int i = 1; i <= 6; ++i) {
        verifyItem(g, code, items.at(i), sounds);
        QCOMPARE(visibleItems(g), 1);
        WidgetCF2Stimuli *w = g->currentStimulus();
        if (app.workspace().hasKit()) {
            // The three 230 x 230 pictures fit one under the other.
            QCOMPARE(w->size(), QSize(242, 710));
            QVERIFY(w->getTopImage()->geometry().bottom() < w->getMiddleImage()->y());
            QVERIFY(w->getMiddleImage()->geometry().bottom() < w->getBottomImage()->y());
            QVERIFY(w->rect().contains(w->getBottomImage()->geometry()));
        }
        const int touched = touches.at(i - 1);
        AppFixture::click(picture(w, touched));
        const bool right = items.at(i).at(1 + touched) == items.at(i).at(4);
        expected << QStringList({QString::number(app.window()->currentEvaluationId()), code, items.at(i).at(4),
                                 right ? "1" : "0"});
        QCOMPARE(app.rowsOf(code), expected);
    }

    // The end: nothing on screen, and nothing reacts any more.
    QVERIFY(g->isFinished());
    QCOMPARE(visibleItems(g), 0);
    sounds.clear();
    AppFixture::click(picture(g->currentStimulus(), 0));
    QTest::keyClick(g, Qt::Key_Space);
    AppFixture::click(g->getFriends());
    QCOMPARE(sounds.count(), 0);
    QCOMPARE(app.rowsOf(code).size(), 6);
}

void TestGameCF2Generic::spaceNamesTheOptionsInTurn()
{
    AppFixture app;
    auto *g = qobject_cast<GameCF2Generic *>(app.startAt("CF3B"));
    QVERIFY(g);
    QSignalSpy sounds(g, &GameWindow::requestPlaySound);

    // Nothing to name on the transition screen or before the example.
    QTest::keyClick(g, Qt::Key_Space);
    AppFixture::click(g->getTransitionLabel());
    QTest::keyClick(g, Qt::Key_Space);
    QCOMPARE(sounds.count(), 0);

    AppFixture::click(g->getExampleButton());
    WidgetCF2Stimuli *example = g->currentStimulus();
    sounds.clear();
    const QStringList names = {"copa", "remo", "peste"};
    for (int press = 0; press < 5; ++press) {
        QTest::keyClick(g, Qt::Key_Space);
        QCOMPARE(sounds.count(), press + 1);
        QCOMPARE(sounds.last().first().toString(), sound("CF3B", names.at(press % 3)));
        // Only the picture being named is framed.
        for (int i = 0; i < 3; ++i)
            QCOMPARE(picture(example, i)->frameShape() != QFrame::NoFrame, i == press % 3);
    }

    // The first item starts again at the top.
    AppFixture::click(g->getTestButton());
    sounds.clear();
    QTest::keyClick(g, Qt::Key_Space);
    QCOMPARE(sounds.count(), 1);
    QCOMPARE(sounds.first().first().toString(), sound("CF3B", "bote"));
    QCOMPARE(app.rowsOf("CF3B").size(), 0);
}

void TestGameCF2Generic::laterEvaluationAfterAnAbandonedRun()
{
    AppFixture app;
    auto *g = qobject_cast<GameCF2Generic *>(app.startAt("CF2A"));
    QVERIFY(g);
    const int widgets = g->getGameHolder()->findChildren<WidgetCF2Stimuli *>().size();
    AppFixture::click(g->getTransitionLabel());
    AppFixture::click(g->getExampleButton());
    AppFixture::click(g->getTestButton());
    AppFixture::click(g->currentStimulus()->getTopImage());
    QTest::keyClick(g, Qt::Key_Space);
    WidgetCF2Stimuli *left = g->currentStimulus();
    QCOMPARE(left->getItemKey(), QString("corona"));
    // The examiner abandons the evaluation with the second item on screen.
    QMetaObject::invokeMethod(app.window(), "abortGame");
    QVERIFY(app.catcher().waitForMessages(1));

    QCOMPARE(app.startAt("CF2A"), g);
    QCOMPARE(g->getGameHolder()->findChildren<WidgetCF2Stimuli *>().size(), widgets);
    AppFixture::click(g->getTransitionLabel());
    QCOMPARE(visibleItems(g), 0);
    QCOMPARE(left->getTopImage()->frameShape(), QFrame::NoFrame);
    AppFixture::click(left->getMiddleImage());
    AppFixture::click(g->getExampleButton());
    AppFixture::click(g->getTestButton());
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(visibleItems(g), 1);
        AppFixture::click(g->currentStimulus()->getTopImage());
    }
    const QString id = QString::number(app.window()->currentEvaluationId());
    const QList<QStringList> rows = app.rowsOf("CF2A");
    QCOMPARE(rows.size(), 7);
    QCOMPARE(rows.mid(1), QList<QStringList>({{id, "CF2A", "goma", "1"},
                                              {id, "CF2A", "corona", "1"},
                                              {id, "CF2A", "tetera", "0"},
                                              {id, "CF2A", "lana", "0"},
                                              {id, "CF2A", "regla", "0"},
                                              {id, "CF2A", "gallina", "0"}}));
}

QTEST_MAIN(TestGameCF2Generic)
#include "tst_gamecf2generic.moc"
