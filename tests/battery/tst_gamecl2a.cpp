#include "appfixture.h"
#include "batterydriver.h"
#include "clickableimage.h"
#include "gamecl2a.h"
#include "imagelabel.h"
#include "invisibletoucharea.h"
#include "mainwindow.h"
#include "transitionlabel.h"

#include <QtTest>

// Reading comprehension in the real main window: four questions laid over the
// story, answered on invisible areas over their answer lines.
class TestGameCL2A : public QObject
{
    Q_OBJECT

private slots:
    void completeRun_data();
    void completeRun();
};

void TestGameCL2A::completeRun_data()
{
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("every answer right") << "bcbc" << QStringList{"1", "1", "1", "1"};
    QTest::newRow("always the middle") << "bbbb" << QStringList{"1", "0", "1", "0"};
    QTest::newRow("always the top") << "aaaa" << QStringList{"0", "0", "0", "0"};
}

void TestGameCL2A::completeRun()
{
    QFETCH(QString, answers);
    QFETCH(QStringList, values);
    AppFixture app;
    auto *game = qobject_cast<GameCL2A *>(app.startAt("CL2A"));
    QVERIFY(game);
    if (!app.workspace().hasKit())
        QSKIP("the stimulus kit has not been generated");
    QSignalSpy sounds(game, &GameWindow::requestPlaySound);
    auto area = [&](QChar value) { return game->answerArea(QString("abc").indexOf(value)); };

    AppFixture::click(game->getTransitionLabel());
    QVERIFY(game->getStoryImage()->isVisible());
    QVERIFY(!game->getExampleButton()->isVisible() && !game->getNextButton()->isVisible());
    QVERIFY(!game->questionPage(0)->isVisible() && !area('b')->isVisible());
    // An area reached before the test has begun scores nothing.
    AppFixture::click(area('b'));

    AppFixture::click(game->getTestButton());
    for (int q = 0; q < 4; ++q) {
        if (q == 2) {
            // Going from full screen to a window of another size moves everything together.
            app.window()->restoreSize();
            app.window()->resize(1280, 900);
            QTRY_COMPARE(game->window()->size(), QSize(1280, 900));
        }
        const QPoint story = game->getStoryImage()->pos();
        QCOMPARE(story, QPoint(game->centeredX(game->getStoryImage()->width()),
                               game->centeredY(game->getStoryImage()->height())));
        QCOMPARE(game->questionPage(q)->pos(), story);
        QCOMPARE(area('a')->geometry(), QRect(story + QPoint(130, 493), QSize(320, 35)));
        QCOMPARE(area('b')->pos(), story + QPoint(130, 528));
        QCOMPARE(area('c')->pos(), story + QPoint(130, 565));
        QVERIFY(game->questionPage(q)->isVisible() && area('a')->isVisible() && area('c')->isVisible());
        AppFixture::click(area(answers.at(q)));
        QCOMPARE(app.rowsOf("CL2A").size(), q + 1);
        QVERIFY(!game->questionPage(q)->isVisible());
    }
    QVERIFY(game->isFinished());
    QVERIFY(game->getStoryImage()->isVisible());
    for (QChar value : QString("abc")) {
        QVERIFY(!area(value)->isVisible());
        AppFixture::click(area(value));
    }

    QList<QStringList> expected;
    for (int q = 0; q < 4; ++q)
        expected << QStringList{QString::number(q), values.at(q)};
    QCOMPARE(BatteryDriver::keyValues(app, "CL2A"), expected);
    QCOMPARE(sounds.count(), 4);
    for (const QList<QVariant> &sound : qAsConst(sounds))
        QCOMPARE(sound.value(0).toString(), QString("sounds/touch.wav"));
}

QTEST_MAIN(TestGameCL2A)
#include "tst_gamecl2a.moc"
