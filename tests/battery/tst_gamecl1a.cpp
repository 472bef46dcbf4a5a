#include "batterydriver.h"
#include "gamecl1a.h"
#include "widgetcl1stimuli.h"

// Sentence reading: six items, one touch each, logged by item number.
class TestGameCL1A : public QObject
{
    Q_OBJECT

private slots:
    void completeRun_data()
    {
        QTest::addColumn<QList<int>>("touches"); // the option touched in each item: 0 left, 1 centre, 2 right
        QTest::addColumn<QStringList>("values");
        QTest::newRow("all right") << QList<int>{0, 2, 1, 1, 1, 0} << QStringList{"1", "1", "1", "1", "1", "1"};
        QTest::newRow("always the right") << QList<int>{2, 2, 2, 2, 2, 2} << QStringList{"0", "1", "0", "0", "0", "0"};
    }

    void completeRun()
    {
        QFETCH(QList<int>, touches);
        QFETCH(QStringList, values);
        ENTER_TEST(GameCL1A, "CL1A", 1);
        KIT_REQUIRED(app);
        QVERIFY(!game->statementImage(0)->isVisible() && !game->optionWidget(0)->isVisible());
        AppFixture::click(game->getTestButton());
        for (int i = 0; i < 6; ++i) {
            WidgetCL1Stimuli *options = game->optionWidget(i);
            QVERIFY(game->statementImage(i)->isVisible() && options->isVisible());
            const QList<ClickableImage *> pictures{options->getLeftImage(), options->getCenterImage(),
                                                   options->getRightImage()};
            // The statement at the top, the row centred; it shows its three pictures whole, side by side.
            QCOMPARE(game->statementImage(i)->pos(), QPoint(game->centeredX(game->statementImage(i)->width()), 20));
            QCOMPARE(options->pos(), QPoint(game->centeredX(options->width()), game->centeredY(options->height())));
            for (int p = 0; p < 3; ++p) {
                QVERIFY(options->rect().contains(pictures.at(p)->geometry()));
                QVERIFY(p == 0 || pictures.at(p - 1)->geometry().right() < pictures.at(p)->x());
            }
            // One answer per item: further touches on its pictures belong to no item.
            AppFixture::click(pictures.at(touches.at(i)));
            AppFixture::click(pictures.at(touches.at(i)));
            AppFixture::click(pictures.at((touches.at(i) + 1) % 3));
            QCOMPARE(app.rowsOf("CL1A").size(), i + 1);
            QVERIFY(!options->isVisible() && !game->statementImage(i)->isVisible());
        }
        QVERIFY(game->isFinished());
        QCOMPARE(keyValues(app, "CL1A"), pairs({"1", "2", "3", "4", "5", "6"}, values));
    }
};

QTEST_MAIN(TestGameCL1A)
#include "tst_gamecl1a.moc"
