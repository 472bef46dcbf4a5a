#include "appfixture.h"
#include "batterydriver.h"
#include "clickableimage.h"
#include "gamecl1a.h"
#include "imagelabel.h"
#include "transitionlabel.h"
#include "widgetcl1stimuli.h"

#include <QtTest>

// Sentence reading in the real main window: six items, one touch each, logged
// by item number.
class TestGameCL1A : public QObject
{
    Q_OBJECT

private slots:
    void completeRun_data();
    void completeRun();
};

void TestGameCL1A::completeRun_data()
{
    // The option touched in each item: 0 left, 1 centre, 2 right.
    QTest::addColumn<QList<int>>("touches");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("every answer right") << QList<int>{0, 2, 1, 1, 1, 0} << QStringList{"1", "1", "1", "1", "1", "1"};
    QTest::newRow("always the left") << QList<int>{0, 0, 0, 0, 0, 0} << QStringList{"1", "0", "0", "0", "0", "1"};
    QTest::newRow("always the right") << QList<int>{2, 2, 2, 2, 2, 2} << QStringList{"0", "1", "0", "0", "0", "0"};
}

void TestGameCL1A::completeRun()
{
    QFETCH(QList<int>, touches);
    QFETCH(QStringList, values);
    AppFixture app;
    auto *game = qobject_cast<GameCL1A *>(app.startAt("CL1A"));
    QVERIFY(game);
    if (!app.workspace().hasKit())
        QSKIP("the stimulus kit has not been generated");

    AppFixture::click(game->getTransitionLabel());
    QVERIFY(!game->getExampleButton()->isVisible());
    QVERIFY(!game->getNextButton()->isVisible());
    QVERIFY(!game->statementImage(0)->isVisible() && !game->optionWidget(0)->isVisible());

    AppFixture::click(game->getTestButton());
    for (int i = 0; i < 6; ++i) {
        WidgetCL1Stimuli *options = game->optionWidget(i);
        QVERIFY(game->statementImage(i)->isVisible() && options->isVisible());
        ClickableImage *pictures[] = {options->getLeftImage(), options->getCenterImage(), options->getRightImage()};
        // The row shows its three pictures whole, side by side.
        for (int p = 0; p < 3; ++p) {
            QVERIFY(options->rect().contains(pictures[p]->geometry()));
            QVERIFY(p == 0 || pictures[p - 1]->geometry().right() < pictures[p]->x());
        }
        ClickableImage *touched = pictures[touches.at(i)];
        AppFixture::click(touched);
        // Further touches on this item's pictures belong to no item.
        AppFixture::click(touched);
        AppFixture::click(pictures[(touches.at(i) + 1) % 3]);
        QCOMPARE(app.rowsOf("CL1A").size(), i + 1);
        QVERIFY(!options->isVisible() && !game->statementImage(i)->isVisible());
    }
    QVERIFY(game->isFinished());

    QList<QStringList> expected;
    for (int i = 0; i < 6; ++i)
        expected << QStringList{QString::number(i + 1), values.at(i)};
    QCOMPARE(BatteryDriver::keyValues(app, "CL1A"), expected);
}

QTEST_MAIN(TestGameCL1A)
#include "tst_gamecl1a.moc"
