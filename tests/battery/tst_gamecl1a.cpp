#include "appfixture.h"
#include "clickableimage.h"
#include "gamecl1a.h"
#include "imagelabel.h"
#include "transitionlabel.h"
#include "widgetcl1stimuli.h"

#include <QImageReader>
#include <QtTest>

// Sentence reading, run in the real main window: six items, one touch each,
// logged by item number.
class TestGameCL1A : public QObject
{
    Q_OBJECT

private slots:
    void picturesExist();
    void completeRun_data();
    void completeRun();
};

void TestGameCL1A::picturesExist()
{
    TestWorkspace space;
    if (!space.hasKit())
        QSKIP("the stimulus kit has not been generated");
    const QStringList paths = GameCL1A::resourcePaths();
    QCOMPARE(paths.size(), 24);
    for (const QString &path : paths)
        QVERIFY2(QImageReader(path).canRead(), qPrintable(path));
}

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
    QVERIFY(game->getTestButton()->isActive());
    for (int i = 0; i < 6; ++i) {
        QVERIFY(!game->statementImage(i)->isVisible());
        QVERIFY(!game->optionWidget(i)->isVisible());
    }

    AppFixture::click(game->getTestButton());
    for (int i = 0; i < 6; ++i) {
        WidgetCL1Stimuli *options = game->optionWidget(i);
        QVERIFY(game->statementImage(i)->isVisible());
        QVERIFY(options->isVisible());
        QCOMPARE(game->statementImage(i)->y(), 20);
        ClickableImage *pictures[] = {options->getLeftImage(), options->getCenterImage(), options->getRightImage()};
        ClickableImage *touched = pictures[touches.at(i)];
        AppFixture::click(touched);
        // A second touch, on the same picture or another, belongs to no item.
        AppFixture::click(touched);
        AppFixture::click(pictures[(touches.at(i) + 1) % 3]);
        QCOMPARE(app.rowsOf("CL1A").size(), i + 1);
        QVERIFY(!options->isVisible());
        QVERIFY(!game->statementImage(i)->isVisible());
    }
    QVERIFY(game->isFinished());
    for (int i = 0; i < 6; ++i)
        QVERIFY(!game->optionWidget(i)->isVisible());
    AppFixture::click(game->getTestButton());

    const QList<QStringList> rows = app.rowsOf("CL1A");
    QCOMPARE(rows.size(), 6);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(rows.at(i).mid(2), (QStringList{QString::number(i + 1), values.at(i)}));
}

QTEST_MAIN(TestGameCL1A)
#include "tst_gamecl1a.moc"
