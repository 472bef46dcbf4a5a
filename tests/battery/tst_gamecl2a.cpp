#include "appfixture.h"
#include "clickableimage.h"
#include "gamecl2a.h"
#include "imagelabel.h"
#include "invisibletoucharea.h"
#include "mainwindow.h"
#include "transitionlabel.h"

#include <QFileInfo>
#include <QImageReader>
#include <QtTest>

// Reading comprehension, run in the real main window: four questions laid
// over the story, answered on invisible areas over their answer lines.
class TestGameCL2A : public QObject
{
    Q_OBJECT

private:
    // The story centred in the test, each question page on it and the three
    // areas on the page's answer lines.
    static void verifyPlaces(GameCL2A *game);

private slots:
    void resourcesExist();
    void completeRun_data();
    void completeRun();
    void areasFollowTheStoryOnResize_data();
    void areasFollowTheStoryOnResize();
};

void TestGameCL2A::verifyPlaces(GameCL2A *game)
{
    const QPoint story = game->getStoryImage()->pos();
    QCOMPARE(story, QPoint(game->centeredX(game->getStoryImage()->width()),
                           game->centeredY(game->getStoryImage()->height())));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(game->questionPage(i)->pos(), story);
    const QList<int> tops = {493, 528, 565};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(game->answerArea(i)->pos(), story + QPoint(130, tops.at(i)));
        QCOMPARE(game->answerArea(i)->size(), QSize(320, 35));
    }
}

void TestGameCL2A::resourcesExist()
{
    TestWorkspace space;
    if (!space.hasKit())
        QSKIP("the stimulus kit has not been generated");
    for (const QString &path : GameCL2A::resourcePaths()) {
        if (path.endsWith(".wav")) {
            QVERIFY2(QFileInfo(path).size() > 44, qPrintable(path));
            continue;
        }
        // The answer areas lie 130 to 450 pixels right of and 493 to 600
        // pixels below the pictures' top-left corner.
        const QSize size = QImageReader(path).size();
        QVERIFY2(size.width() >= 450 && size.height() >= 600,
                 qPrintable(QString("%1 is %2x%3").arg(path).arg(size.width()).arg(size.height())));
    }
}

void TestGameCL2A::completeRun_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("every answer right") << QStringList{"b", "c", "b", "c"} << QStringList{"1", "1", "1", "1"};
    QTest::newRow("always the middle") << QStringList{"b", "b", "b", "b"} << QStringList{"1", "0", "1", "0"};
    QTest::newRow("always the top") << QStringList{"a", "a", "a", "a"} << QStringList{"0", "0", "0", "0"};
}

void TestGameCL2A::completeRun()
{
    QFETCH(QStringList, answers);
    QFETCH(QStringList, values);
    AppFixture app;
    auto *game = qobject_cast<GameCL2A *>(app.startAt("CL2A"));
    QVERIFY(game);
    if (!app.workspace().hasKit())
        QSKIP("the stimulus kit has not been generated");
    QSignalSpy sounds(game, &GameWindow::requestPlaySound);
    const QString areaValues = "abc";

    AppFixture::click(game->getTransitionLabel());
    QVERIFY(game->getStoryImage()->isVisible());
    QVERIFY(!game->getExampleButton()->isVisible());
    QVERIFY(!game->getNextButton()->isVisible());
    for (int i = 0; i < 4; ++i)
        QVERIFY(!game->questionPage(i)->isVisible());
    for (int i = 0; i < 3; ++i)
        QVERIFY(!game->answerArea(i)->isVisible());
    // An area touched before the test has begun scores nothing.
    AppFixture::click(game->answerArea(1));
    QVERIFY(app.rowsOf("CL2A").isEmpty());

    AppFixture::click(game->getTestButton());
    QVERIFY(!game->getTestButton()->isActive());
    verifyPlaces(game);
    for (int q = 0; q < 4; ++q) {
        QVERIFY(game->questionPage(q)->isVisible());
        for (int i = 0; i < 3; ++i)
            QVERIFY(game->answerArea(i)->isVisible());
        AppFixture::click(game->answerArea(areaValues.indexOf(answers.at(q))));
        QCOMPARE(app.rowsOf("CL2A").size(), q + 1);
        QVERIFY(!game->questionPage(q)->isVisible());
    }
    QVERIFY(game->isFinished());
    QVERIFY(game->getStoryImage()->isVisible());
    for (int i = 0; i < 3; ++i) {
        QVERIFY(!game->answerArea(i)->isVisible());
        // Still reached directly: nothing more is scored.
        AppFixture::click(game->answerArea(i));
    }

    const QList<QStringList> rows = app.rowsOf("CL2A");
    QCOMPARE(rows.size(), 4);
    for (int q = 0; q < 4; ++q)
        QCOMPARE(rows.at(q).mid(2), (QStringList{QString::number(q), values.at(q)}));
    QCOMPARE(sounds.count(), 4);
    for (const QList<QVariant> &sound : qAsConst(sounds))
        QCOMPARE(sound.value(0).toString(), QString("sounds/touch.wav"));
}

void TestGameCL2A::areasFollowTheStoryOnResize_data()
{
    QTest::addColumn<QSize>("windowSize");
    QTest::newRow("smallest window") << QSize(800, 580);
    QTest::newRow("larger window") << QSize(1280, 900);
}

void TestGameCL2A::areasFollowTheStoryOnResize()
{
    QFETCH(QSize, windowSize);
    AppFixture app;
    auto *game = qobject_cast<GameCL2A *>(app.startAt("CL2A"));
    QVERIFY(game);
    if (!app.workspace().hasKit())
        QSKIP("the stimulus kit has not been generated");
    AppFixture::click(game->getTransitionLabel());
    AppFixture::click(game->getTestButton());

    MainWindow *w = app.window();
    w->restoreSize();
    w->resize(windowSize);
    const QSize before = game->size();
    QTRY_VERIFY(game->size() != before || w->size() == windowSize);
    QTest::qWait(50);
    verifyPlaces(game);

    // A touch still lands on the line it is over.
    AppFixture::click(game->answerArea(1));
    QCOMPARE(app.rowsOf("CL2A").value(0).mid(2), (QStringList{"0", "1"}));
}

QTEST_MAIN(TestGameCL2A)
#include "tst_gamecl2a.moc"
