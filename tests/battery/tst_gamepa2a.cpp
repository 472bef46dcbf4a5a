#include "abortdialog.h"
#include "batterydriver.h"
#include "gamepa1a.h"
#include "gamepa2a.h"
#include "mainwindow.h"
#include "movielabel.h"

#include <QSignalSpy>
#include <QtTest>

using namespace BatteryDriver;

// The letter name test driven by key events: its prompts, answers and replays.
class TestGamePA2A : public QObject
{
    Q_OBJECT

private slots:
    void answerKeys_data();
    void answerKeys();
    void completeRun();
    void secondRunStartsAgainAtE();
};

void TestGamePA2A::answerKeys_data()
{
    QTest::addColumn<int>("position"); // of the letter answered, from 0
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");

    QTest::newRow("o as digit 0") << 1 << int(Qt::Key_0) << "0" << "1";
    QTest::newRow("b as v") << 3 << int(Qt::Key_V) << "v" << "1";
    QTest::newRow("b as capital V") << 3 << int(Qt::Key_V) << "V" << "1";
    QTest::newRow("p as v") << 4 << int(Qt::Key_V) << "v" << "0";
    QTest::newRow("l as digit 1") << 7 << int(Qt::Key_1) << "1" << "1";
    QTest::newRow("d as b") << 8 << int(Qt::Key_B) << "b" << "0";
}

void TestGamePA2A::answerKeys()
{
    QFETCH(int, position);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, value);

    AppFixture app;
    const QStringList letters = GamePA1A::testLetters();
    const QList<QStringList> rows = answerAt(app, "PA2A", letters, position, key, text);
    QCOMPARE(rows.size(), position + 1);
    QCOMPARE(rows.last(), (QStringList{letters.at(position), value}));
}

void TestGamePA2A::completeRun()
{
    AppFixture app;
    auto *game = qobject_cast<GamePA2A *>(app.startAt("PA2A"));
    QVERIFY(game);
    QSignalSpy prompts(game, &GameWindow::requestPlaySound);
    auto lastPrompt = [&] { return prompts.isEmpty() ? QString() : prompts.last().at(0).toString(); };

    typeLetter(game, "e");
    AppFixture::click(game->getTransitionLabel());
    // Before the example the animation says the example letter.
    AppFixture::click(game->getFriends());
    QCOMPARE(lastPrompt(), QString("sounds/PA2A/a.wav"));
    AppFixture::click(game->getExampleButton());
    QCOMPARE(prompts.size(), 2);
    typeLetter(game, "a");
    AppFixture::click(game->getTestButton());

    QList<QStringList> expected;
    for (const QString &letter : GamePA1A::testLetters()) {
        QCOMPARE(lastPrompt(), "sounds/PA2A/" + letter + ".wav");
        if (letter == "m") {
            // A replay says "m" again; stray keys and the repeats of a held key change nothing.
            AppFixture::click(game->getFriends());
            typeKey(game, Qt::Key_Period, ".");
            typeKey(game, Qt::Key_Return, "\r");
            typeKey(game, Qt::Key_O, "o", Qt::NoModifier, true);
            QCOMPARE(prompts.size(), 2 + 3 + 1);
            QCOMPARE(lastPrompt(), QString("sounds/PA2A/m.wav"));
            QCOMPARE(keyValues(app, "PA2A"), expected);
        }
        typeLetter(game, letter);
        expected << QStringList{letter, "1"};
    }
    // After the last answer: no prompt, no row.
    const int prompted = prompts.size();
    AppFixture::click(game->getFriends());
    typeLetter(game, "v");
    QCOMPARE(prompts.size(), prompted);
    QCOMPARE(keyValues(app, "PA2A"), expected);
    QTRY_COMPARE_WITH_TIMEOUT(app.window()->currentTestCode(), QString("CF1A"), 3000);
    QCOMPARE(keyValues(app, "PA2A"), expected);
}

void TestGamePA2A::secondRunStartsAgainAtE()
{
    AppFixture app;
    GameWindow *game = enterTest(app, "PA2A");
    QVERIFY(game);
    typeLetter(game, "e");
    emit app.window()->abortDialogWindow()->abortAll();
    QVERIFY(app.catcher().waitForMessages(1));

    QSignalSpy prompts(game, &GameWindow::requestPlaySound);
    QCOMPARE(enterTest(app, "PA2A"), game);
    QCOMPARE(prompts.last().at(0).toString(), QString("sounds/PA2A/e.wav"));
    typeLetter(game, "e");
    QCOMPARE(keyValues(app, "PA2A", app.window()->currentEvaluationId()), (QList<QStringList>{{"e", "1"}}));
}

QTEST_MAIN(TestGamePA2A)
#include "tst_gamepa2a.moc"
