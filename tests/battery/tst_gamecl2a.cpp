#include "batterydriver.h"
#include "gamecl2a.h"
#include "invisibletoucharea.h"

// Reading comprehension: four questions laid over the story, answered on
// invisible areas over their answer lines.
class TestGameCL2A : public QObject
{
    Q_OBJECT

private slots:
    void completeRun_data()
    {
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("every answer right") << "bcbc" << QStringList{"1", "1", "1", "1"};
        QTest::newRow("always the middle") << "bbbb" << QStringList{"1", "0", "1", "0"};
    }

    void completeRun()
    {
        QFETCH(QString, answers);
        QFETCH(QStringList, values);
        ENTER_TEST(GameCL2A, "CL2A", 1);
        KIT_REQUIRED(app);
        QSignalSpy sounds(game, &GameWindow::requestPlaySound);
        auto area = [&](QChar value) { return game->answerArea(QString("abc").indexOf(value)); };
        QVERIFY(game->getStoryImage()->isVisible() && !game->questionPage(0)->isVisible() && !area('b')->isVisible());
        AppFixture::click(area('b')); // an area reached before the test has begun scores nothing
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
        QVERIFY(game->isFinished() && game->getStoryImage()->isVisible());
        for (QChar value : QString("abc")) {
            QVERIFY(!area(value)->isVisible());
            AppFixture::click(area(value));
        }
        QCOMPARE(keyValues(app, "CL2A"), pairs({"0", "1", "2", "3"}, values));
        QCOMPARE(sounds.count(), 4);
        QCOMPARE(firstArguments(sounds).count("sounds/touch.wav"), 4);
    }
};

QTEST_MAIN(TestGameCL2A)
#include "tst_gamecl2a.moc"
