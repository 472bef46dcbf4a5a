#include "abortdialog.h"
#include "batterydriver.h"
#include "gamepa1a.h"
#include "imagelabel.h"
#include "mainwindow.h"

#include <QtTest>

using namespace BatteryDriver;

// The grapheme test driven by key events: which keys are answers, what they
// score, and that only the twelve test letters are logged.
class TestGamePA1A : public QObject
{
    Q_OBJECT

private slots:
    void answerKeys_data();
    void answerKeys();
    void completeRun();
    void secondRunStartsAgainAtE();

private:
    // The letter pictures on show.
    static QStringList shown(GamePA1A *game)
    {
        QStringList letters;
        for (const QString &letter : QStringList{"a"} + GamePA1A::testLetters())
            if (game->letterPicture(letter)->isVisible())
                letters << letter;
        return letters;
    }
};

void TestGamePA1A::answerKeys_data()
{
    QTest::addColumn<int>("position"); // of the letter answered, from 0
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");

    QTest::newRow("e as e") << 0 << int(Qt::Key_E) << "e" << "1";
    QTest::newRow("e as capital E") << 0 << int(Qt::Key_E) << "E" << "1";
    QTest::newRow("e as 3") << 0 << int(Qt::Key_3) << "3" << "0";
    QTest::newRow("o as digit 0") << 1 << int(Qt::Key_0) << "0" << "1";
    QTest::newRow("m as n") << 2 << int(Qt::Key_N) << "n" << "0";
    QTest::newRow("b as v") << 3 << int(Qt::Key_V) << "v" << "0";
    QTest::newRow("l as digit 1") << 7 << int(Qt::Key_1) << "1" << "1";
    QTest::newRow("d as digit 1") << 8 << int(Qt::Key_1) << "1" << "0";
    QTest::newRow("g as capital G") << 11 << int(Qt::Key_G) << "G" << "1";
}

void TestGamePA1A::answerKeys()
{
    QFETCH(int, position);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, value);

    AppFixture app;
    const QStringList letters = GamePA1A::testLetters();
    const QList<QStringList> rows = answerAt(app, "PA1A", letters, position, key, text);
    QCOMPARE(rows.size(), position + 1);
    QCOMPARE(rows.last(), (QStringList{letters.at(position), value}));
}

void TestGamePA1A::completeRun()
{
    AppFixture app;
    auto *game = qobject_cast<GamePA1A *>(app.startAt("PA1A"));
    QVERIFY(game);
    typeLetter(game, "a");
    AppFixture::click(game->getTransitionLabel());
    QVERIFY(shown(game).isEmpty() && !game->getNextButton()->isVisible());
    AppFixture::click(game->getExampleButton());
    QCOMPARE(shown(game), QStringList{"a"});
    typeLetter(game, "a");
    AppFixture::click(game->getTestButton());

    const QStringList letters = GamePA1A::testLetters();
    QList<QStringList> expected;
    for (const QString &letter : letters) {
        QCOMPARE(shown(game), QStringList{letter});
        typeLetter(game, letter);
        expected << QStringList{letter, "1"};
        if (letter == "o") {
            // Neither answers nor advances: other keys, and the repeats of a key held down.
            typeKey(game, Qt::Key_Space, " ");
            typeKey(game, Qt::Key_Comma, ",");
            typeKey(game, Qt::Key_F1, QString());
            typeKey(game, Qt::Key_Ntilde, QString::fromUtf8("ñ"));
            typeKey(game, Qt::Key_O, "o", Qt::NoModifier, true);
            typeKey(game, Qt::Key_Escape, QString());
            QVERIFY(app.window()->abortDialogWindow()->isVisible());
            app.window()->abortDialogWindow()->hide();
            QCOMPARE(keyValues(app, "PA1A"), expected);
        }
    }
    QVERIFY(shown(game).isEmpty() && game->getCheckIcon()->isVisible());
    // Keys in the second before the next test are not answers.
    typeLetter(game, "g");
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
    // Abandoned with "b" on show; then another evaluation.
    emit app.window()->abortDialogWindow()->abortAll();
    QVERIFY(app.catcher().waitForMessages(1));
    QCOMPARE(app.startAt("PA1A"), game);
    AppFixture::click(game->getTransitionLabel());
    QVERIFY(shown(game).isEmpty());
    AppFixture::click(game->getExampleButton());
    AppFixture::click(game->getTestButton());
    QCOMPARE(shown(game), QStringList{"e"});
    typeLetter(game, "e");
    QCOMPARE(keyValues(app, "PA1A", app.window()->currentEvaluationId()), (QList<QStringList>{{"e", "1"}}));
}

QTEST_MAIN(TestGamePA1A)
#include "tst_gamepa1a.moc"
