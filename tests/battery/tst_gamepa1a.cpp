#include "abortdialog.h"
#include "batterydriver.h"
#include "gamepa1a.h"
#include "imagelabel.h"
#include "mainwindow.h"

#include <QtTest>

using namespace BatteryDriver;

// The grapheme test driven by real key events: which keys are answers, what
// they score, and that nothing is logged outside the twelve test letters.
class TestGamePA1A : public QObject
{
    Q_OBJECT

private slots:
    void answerKeys_data();
    void answerKeys();
    void completeRun();
    void secondRunStartsAgainAtE();
    void picturesInKit();

private:
    static QList<ImageLabel *> visibleLetters(GamePA1A *game);
};

QList<ImageLabel *> TestGamePA1A::visibleLetters(GamePA1A *game)
{
    QList<ImageLabel *> shown;
    for (const QString &letter : QStringList{"a"} + GamePA1A::testLetters())
        if (game->letterPicture(letter)->isVisible())
            shown << game->letterPicture(letter);
    return shown;
}

void TestGamePA1A::answerKeys_data()
{
    QTest::addColumn<int>("position"); // of the letter answered, from 0
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("value");

    QTest::newRow("e as e") << 0 << int(Qt::Key_E) << "e" << 0 << "1";
    QTest::newRow("e as capital E") << 0 << int(Qt::Key_E) << "E" << int(Qt::ShiftModifier) << "1";
    QTest::newRow("e as 3") << 0 << int(Qt::Key_3) << "3" << 0 << "0";
    QTest::newRow("o as digit 0") << 1 << int(Qt::Key_0) << "0" << 0 << "1";
    QTest::newRow("m as n") << 2 << int(Qt::Key_N) << "n" << 0 << "0";
    QTest::newRow("b as v") << 3 << int(Qt::Key_V) << "v" << 0 << "0";
    QTest::newRow("l as digit 1") << 7 << int(Qt::Key_1) << "1" << 0 << "1";
    QTest::newRow("d as digit 1") << 8 << int(Qt::Key_1) << "1" << 0 << "0";
    QTest::newRow("g as capital G") << 11 << int(Qt::Key_G) << "G" << int(Qt::ShiftModifier) << "1";
}

void TestGamePA1A::answerKeys()
{
    QFETCH(int, position);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, modifiers);
    QFETCH(QString, value);

    AppFixture app;
    auto *game = qobject_cast<GamePA1A *>(enterTest(app, "PA1A"));
    QVERIFY(game);
    const QStringList letters = GamePA1A::testLetters();
    for (int i = 0; i < position; ++i)
        typeLetter(game, letters.at(i));
    QCOMPARE(game->getCurrentLetter(), letters.at(position));

    typeKey(game, key, text, Qt::KeyboardModifiers(modifiers));
    const QList<QStringList> rows = keyValues(app, "PA1A");
    QCOMPARE(rows.size(), position + 1);
    QCOMPARE(rows.last(), (QStringList{letters.at(position), value}));
}

void TestGamePA1A::completeRun()
{
    AppFixture app;
    auto *game = qobject_cast<GamePA1A *>(app.startAt("PA1A"));
    QVERIFY(game);
    QVERIFY(!game->getNextButton()->isVisibleTo(game));
    typeLetter(game, "a");
    AppFixture::click(game->getTransitionLabel());
    QVERIFY(visibleLetters(game).isEmpty());
    AppFixture::click(game->getExampleButton());
    QCOMPARE(visibleLetters(game), QList<ImageLabel *>{game->letterPicture("a")});
    typeLetter(game, "a");
    QCOMPARE(game->getCurrentLetter(), QString("a"));
    AppFixture::click(game->getTestButton());

    const QStringList letters = GamePA1A::testLetters();
    for (int i = 0; i < letters.size(); ++i) {
        QCOMPARE(visibleLetters(game), QList<ImageLabel *>{game->letterPicture(letters.at(i))});
        typeLetter(game, letters.at(i));
        if (i == 1) {
            // Neither count nor advance: other keys, and the repeats of a key held down.
            typeKey(game, Qt::Key_Space, " ");
            typeKey(game, Qt::Key_Comma, ",");
            typeKey(game, Qt::Key_F1, QString());
            typeKey(game, Qt::Key_Ntilde, QString::fromUtf8("ñ"));
            typeKey(game, Qt::Key_Shift, QString(), Qt::ShiftModifier);
            typeKey(game, Qt::Key_O, "o", Qt::NoModifier, true);
            QCOMPARE(game->getCurrentLetter(), letters.at(2));
            QCOMPARE(app.rowsOf("PA1A").size(), 2);
            typeKey(game, Qt::Key_Escape, QString());
            QVERIFY(app.window()->abortDialogWindow()->isVisible());
            app.window()->abortDialogWindow()->hide();
        }
    }
    QVERIFY(visibleLetters(game).isEmpty());
    QVERIFY(game->getCheckIcon()->isVisible());
    // Keys before the next test comes are not answers.
    typeLetter(game, "g");
    typeLetter(game, "x");

    QList<QStringList> expected;
    for (const QString &letter : letters)
        expected << QStringList{letter, "1"};
    QCOMPARE(keyValues(app, "PA1A"), expected);
    QTRY_COMPARE_WITH_TIMEOUT(app.window()->currentTestCode(), QString("PA2A"), 3000);
    QCOMPARE(keyValues(app, "PA1A"), expected);
}

void TestGamePA1A::secondRunStartsAgainAtE()
{
    AppFixture app;
    auto *game = qobject_cast<GamePA1A *>(enterTest(app, "PA1A"));
    QVERIFY(game);
    for (const char *letter : {"e", "o", "m"})
        typeLetter(game, letter);
    QCOMPARE(game->getCurrentLetter(), QString("b"));
    // The examiner abandons the evaluation half-way and starts another one.
    emit app.window()->abortDialogWindow()->abortAll();
    QVERIFY(app.catcher().waitForMessages(1));

    QCOMPARE(app.startAt("PA1A"), game);
    const int second = app.window()->currentEvaluationId();
    AppFixture::click(game->getTransitionLabel());
    QVERIFY(visibleLetters(game).isEmpty());
    AppFixture::click(game->getExampleButton());
    AppFixture::click(game->getTestButton());
    QCOMPARE(visibleLetters(game), QList<ImageLabel *>{game->letterPicture("e")});
    typeLetter(game, "e");
    QCOMPARE(keyValues(app, "PA1A", second), (QList<QStringList>{{"e", "1"}}));
}

void TestGamePA1A::picturesInKit()
{
    TestWorkspace space;
    if (!space.hasKit())
        QSKIP("the stimulus kit has not been built");
    QCOMPARE(GamePA1A::resourcePaths().size(), 13);
    const QString problem = checkKit(GamePA1A::resourcePaths());
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

QTEST_MAIN(TestGamePA1A)
#include "tst_gamepa1a.moc"
