#include "batterydriver.h"
#include "gamecf1a.h"
#include "imagelabel.h"
#include "mainwindow.h"
#include "movielabel.h"

#include <QSignalSpy>
#include <QtTest>

using namespace BatteryDriver;

// The syllable segmentation test driven by Space strikes and the examiner's
// clicks: strikes count per word, and a run writes exactly eight rows.
class TestGameCF1A : public QObject
{
    Q_OBJECT

private slots:
    void strikesScoreTheWord_data();
    void strikesScoreTheWord();
    void completeRun();
    void drumsticksTakeTurns();

private:
    static void strike(QWidget *game, int times)
    {
        for (int i = 0; i < times; ++i)
            typeKey(game, Qt::Key_Space, " ");
    }
};

void TestGameCF1A::strikesScoreTheWord_data()
{
    QTest::addColumn<int>("exampleStrikes");
    QTest::addColumn<int>("strikes");
    QTest::addColumn<int>("afterReplay"); // -1: no replay
    QTest::addColumn<QString>("value");

    QTest::newRow("two") << 0 << 2 << -1 << "1";
    QTest::newRow("three") << 0 << 3 << -1 << "0";
    QTest::newRow("none") << 0 << 0 << -1 << "0";
    QTest::newRow("example strikes do not count") << 4 << 2 << -1 << "1";
    QTest::newRow("replay keeps the count") << 0 << 1 << 1 << "1";
    QTest::newRow("replay, then too many") << 0 << 2 << 1 << "0";
}

void TestGameCF1A::strikesScoreTheWord()
{
    QFETCH(int, exampleStrikes);
    QFETCH(int, strikes);
    QFETCH(int, afterReplay);
    QFETCH(QString, value);

    AppFixture app;
    auto *game = qobject_cast<GameCF1A *>(enterTest(app, "CF1A", false));
    QVERIFY(game);
    QSignalSpy prompts(game, &GameWindow::requestPlaySound);
    strike(game, exampleStrikes);
    AppFixture::click(game->getTestButton());
    QCOMPARE(prompts.size(), exampleStrikes + 1);
    QCOMPARE(prompts.last().at(0).toString(), QString("sounds/CF1A/gato.wav"));
    strike(game, strikes);
    if (afterReplay >= 0) {
        AppFixture::click(game->getFriends());
        QCOMPARE(prompts.last().at(0).toString(), QString("sounds/CF1A/gato.wav"));
        strike(game, afterReplay);
    }
    QVERIFY(app.rowsOf("CF1A").isEmpty());
    AppFixture::click(game->getNextButton());
    QCOMPARE(keyValues(app, "CF1A"), (QList<QStringList>{{"gato", value}}));
    QCOMPARE(prompts.last().at(0).toString(), QString("sounds/CF1A/gallina.wav"));
}

void TestGameCF1A::completeRun()
{
    AppFixture app;
    auto *game = qobject_cast<GameCF1A *>(enterTest(app, "CF1A"));
    QVERIFY(game);
    const QList<QPair<QString, int>> words = {{"gato", 2},  {"gallina", 3},   {"arbol", 2},   {"orquesta", 3},
                                              {"campo", 2}, {"companero", 4}, {"florero", 3}, {"lluvia", 2}};
    QList<QStringList> expected;
    for (const auto &word : words) {
        QCOMPARE(game->getCurrentWord(), word.first);
        const int strikes = word.first == "arbol" ? 1 : word.second;
        strike(game, strikes);
        AppFixture::click(game->getNextButton());
        expected << QStringList{word.first, strikes == word.second ? "1" : "0"};
    }
    // After the eighth word further strikes and clicks change nothing.
    QSignalSpy prompts(game, &GameWindow::requestPlaySound);
    strike(game, 2);
    AppFixture::click(game->getNextButton());
    AppFixture::click(game->getFriends());
    QCOMPARE(prompts.size(), 0);
    QCOMPARE(keyValues(app, "CF1A"), expected);
    QTRY_COMPARE_WITH_TIMEOUT(app.window()->currentTestCode(), QString("CF2A"), 3000);
    QCOMPARE(keyValues(app, "CF1A"), expected);
}

void TestGameCF1A::drumsticksTakeTurns()
{
    AppFixture app;
    auto *game = qobject_cast<GameCF1A *>(app.startAt("CF1A"));
    QVERIFY(game);
    QSignalSpy prompts(game, &GameWindow::requestPlaySound);
    strike(game, 1);
    QCOMPARE(prompts.size(), 0);

    // Once the play area is shown a strike sounds and moves a stick, even before the example.
    AppFixture::click(game->getTransitionLabel());
    strike(game, 1);
    QCOMPARE(prompts.size(), 1);
    QCOMPARE(prompts.last().at(0).toString(), QString("sounds/CF1A/tamborazo.wav"));
    QVERIFY(!game->getSoundingIcon()->isVisible());
    QVERIFY(game->getLeftStickDown()->isVisible() && !game->getLeftStickUp()->isVisible());
    QVERIFY(game->getRightStickUp()->isVisible() && !game->getRightStickDown()->isVisible());
    strike(game, 1);
    QVERIFY(game->getRightStickDown()->isVisible() && !game->getRightStickUp()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(game->getLeftStickUp()->isVisible() && game->getRightStickUp()->isVisible()
                                 && !game->getLeftStickDown()->isVisible() && !game->getRightStickDown()->isVisible(),
                             1000);

    // Each pair of sticks hangs over one edge of the drum, 20 pixels into it.
    const QRect drum = game->getDrum()->geometry();
    QVERIFY(drum.left() > game->getFriends()->geometry().right());
    for (ImageLabel *stick : {game->getLeftStickUp(), game->getLeftStickDown(), game->getRightStickUp(),
                              game->getRightStickDown()}) {
        const int edge = stick->x() < drum.center().x() ? drum.left() : drum.left() + drum.width();
        QVERIFY(qAbs(stick->geometry().center().x() - edge) <= 1);
        QCOMPARE(stick->y() + stick->height(), drum.top() + 20);
    }
}

QTEST_MAIN(TestGameCF1A)
#include "tst_gamecf1a.moc"
