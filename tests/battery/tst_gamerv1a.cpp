#include "appfixture.h"
#include "clickableimage.h"
#include "imagelabel.h"
#include "gamerv1a.h"
#include "lineinparagraph.h"
#include "mainwindow.h"
#include "paragraph.h"
#include "transitionlabel.h"
#include "wordinparagraph.h"

#include <QtTest>

// The visual word recognition test inside the real main window: the story
// greets the child by name, every touched word is scored for the word sought
// at that moment, and a complete run stores six rows.
class TestGameRV1A : public QObject
{
    Q_OBJECT

private:
    // The word at (line, position) of the story, both counted from 1.
    static WordInParagraph *word(GameRV1A *g, int line, int position)
    {
        return g->getParagraph()->lines().at(line - 1)->words().at(position - 1);
    }

    static QString lineText(GameRV1A *g, int line)
    {
        QStringList texts;
        for (const WordInParagraph *w : g->getParagraph()->lines().at(line - 1)->words())
            texts << w->text();
        return texts.join(' ');
    }

    static GameRV1A *startTest(AppFixture &app, const QString &name)
    {
        if (app.startEvaluation(1, true, name) < 1)
            return nullptr;
        while (app.window()->currentTestCode() != "RV1A")
            QMetaObject::invokeMethod(app.window()->game(app.window()->currentTestCode()), "runFinishGame");
        return qobject_cast<GameRV1A *>(app.window()->game("RV1A"));
    }

private slots:
    void childNameOpensTheStory_data();
    void childNameOpensTheStory();
    void completeRun_data();
    void completeRun();
    void laterEvaluationTellsTheNewName();
};

void TestGameRV1A::childNameOpensTheStory_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("childName");

    QTest::newRow("two names") << QString::fromUtf8("ana maría") << "Ana";
    QTest::newRow("accented, two names") << QString::fromUtf8("maría josé") << QString::fromUtf8("María");
    QTest::newRow("capitals") << "JUAN" << "Juan";
    QTest::newRow("accented capital") << QString::fromUtf8("ÁNGELA") << QString::fromUtf8("Ángela");
    // A name with a period can still be found: periods are left out on both sides.
    QTest::newRow("with a period") << QString::fromUtf8("m.josé") << QString::fromUtf8("M.josé");
}

void TestGameRV1A::childNameOpensTheStory()
{
    QFETCH(QString, name);
    QFETCH(QString, childName);

    AppFixture app;
    GameRV1A *g = startTest(app, name);
    QVERIFY(g);
    QCOMPARE(g->getTitle(), QString::fromUtf8("Reconocimiento visual de palabras"));
    QCOMPARE(lineText(g, 1), "Hola, soy " + childName + ". Ayer me mandaron a");
    QCOMPARE(lineText(g, 9), QString::fromUtf8("auto, Sultán se olvidó de la pelota."));
    QCOMPARE(g->getParagraph()->lines().size(), 9);
    QCOMPARE(g->getCurrentTarget(), childName);

    // Only the test button leads on; the story appears with it.
    AppFixture::click(g->getTransitionLabel());
    QVERIFY(!g->getParagraph()->isVisible());
    QVERIFY(!g->getExampleButton()->isActive());
    QVERIFY(g->getTestButton()->isActive());
    QVERIFY(g->getNextButton()->isHidden());
    AppFixture::click(g->getTestButton());
    QVERIFY(g->getParagraph()->isVisible());
    QVERIFY(!g->getTestButton()->isActive());

    AppFixture::click(word(g, 1, 3));
    QCOMPARE(app.rowsOf("RV1A"),
             QList<QStringList>({{QString::number(app.window()->currentEvaluationId()), "RV1A", childName, "1"}}));
}

void TestGameRV1A::completeRun_data()
{
    // Touches as (line, position); the expected values follow the sought words
    // name, "pan", "mamá", "casa", "perro", "pelota".
    QTest::addColumn<QList<QPoint>>("touches");
    QTest::addColumn<QStringList>("values");

    QTest::newRow("all right") << QList<QPoint>{{1, 3}, {2, 3}, {3, 3}, {4, 6}, {3, 7}, {9, 7}}
                               << QStringList({"1", "1", "1", "1", "1", "1"});
    // "papá" for "mamá"; the other "pelota" (line 5) and "perro" (line 5) count as well.
    QTest::newRow("some wrong") << QList<QPoint>{{1, 1}, {2, 3}, {2, 9}, {4, 3}, {5, 9}, {5, 6}}
                                << QStringList({"0", "1", "0", "0", "1", "1"});
    // "Sultán" for "pan"; wrong touches do not hold the test up.
    QTest::newRow("all wrong") << QList<QPoint>{{1, 4}, {3, 8}, {2, 1}, {4, 1}, {9, 1}, {8, 1}}
                               << QStringList({"0", "0", "0", "0", "0", "0"});
}

void TestGameRV1A::completeRun()
{
    QFETCH(QList<QPoint>, touches);
    QFETCH(QStringList, values);

    AppFixture app;
    GameRV1A *g = startTest(app, QString::fromUtf8("ana maría"));
    QVERIFY(g);
    AppFixture::click(g->getTransitionLabel());
    AppFixture::click(g->getTestButton());

    const QStringList keys = {"Ana", "pan", QString::fromUtf8("mamá"), "casa", "perro", "pelota"};
    QList<QStringList> expected;
    const QString id = QString::number(app.window()->currentEvaluationId());
    for (int i = 0; i < 6; ++i) {
        WordInParagraph *w = word(g, touches.at(i).x(), touches.at(i).y());
        AppFixture::click(w);
        QVERIFY(w->isUnderlined());
        expected << QStringList({id, "RV1A", keys.at(i), values.at(i)});
        QCOMPARE(app.rowsOf("RV1A"), expected);
        // A word already touched does not count again.
        AppFixture::click(w);
        QCOMPARE(app.rowsOf("RV1A"), expected);
    }
    QVERIFY(g->isFinished());
    QVERIFY(g->getCheckIcon()->isVisible());

    // After the sixth answer no word reacts.
    WordInParagraph *untouched = word(g, 7, 1);
    AppFixture::click(untouched);
    QVERIFY(!untouched->isUnderlined());
    QCOMPARE(app.rowsOf("RV1A"), expected);
}

void TestGameRV1A::laterEvaluationTellsTheNewName()
{
    AppFixture app;
    GameRV1A *g = startTest(app, "pedro");
    QVERIFY(g);
    AppFixture::click(g->getTransitionLabel());
    AppFixture::click(g->getTestButton());
    AppFixture::click(word(g, 1, 3));
    QMetaObject::invokeMethod(app.window(), "abortGame");
    QVERIFY(app.catcher().waitForMessages(1));

    QCOMPARE(startTest(app, QString::fromUtf8("sofía")), g);
    QCOMPARE(lineText(g, 1), QString::fromUtf8("Hola, soy Sofía. Ayer me mandaron a"));
    QVERIFY(!word(g, 1, 3)->isUnderlined());
    AppFixture::click(g->getTransitionLabel());
    AppFixture::click(g->getTestButton());
    AppFixture::click(word(g, 1, 3));
    const QList<QStringList> rows = app.rowsOf("RV1A");
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).mid(2), QStringList({"Pedro", "1"}));
    QCOMPARE(rows.at(1).mid(2), QStringList({QString::fromUtf8("Sofía"), "1"}));
}

QTEST_MAIN(TestGameRV1A)
#include "tst_gamerv1a.moc"
