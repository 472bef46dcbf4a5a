#include "appfixture.h"
#include "clickableimage.h"
#include "gamett1a.h"
#include "hoverableclickableimage.h"
#include "imagelabel.h"
#include "mainwindow.h"
#include "transitionlabel.h"

#include <QSignalSpy>
#include <QtTest>

// The text type recognition test inside the real main window: the kinds asked
// in their fixed order, scoring against the kind asked, the touch sound, the
// enlarged previews on Space, and nothing more once the sixth kind is answered.
class TestGameTT1A : public QObject
{
    Q_OBJECT

private:
    // Grid order of the choices and previews.
    const QStringList grid = {"noticia", "carta", "cuento", "poema", "receta", "afiche"};

    static int shownPreview(GameTT1A *g)
    {
        int shown = -1;
        for (int i = 0; i < 6; ++i) {
            if (g->preview(i)->isVisible()) {
                if (shown != -1)
                    return -2;
                shown = i;
            }
        }
        return shown;
    }

private slots:
    void completeRun_data();
    void completeRun();
    void spaceCyclesThePreviews();
};

void TestGameTT1A::completeRun_data()
{
    QTest::addColumn<QStringList>("touched");
    QTest::addColumn<QStringList>("values");

    QTest::newRow("all right") << QStringList({"carta", "cuento", "poema", "receta", "noticia", "afiche"})
                               << QStringList({"1", "1", "1", "1", "1", "1"});
    QTest::newRow("recipe for the letter") << QStringList({"receta", "cuento", "afiche", "receta", "carta", "afiche"})
                                           << QStringList({"0", "1", "0", "1", "0", "1"});
    QTest::newRow("always the news") << QStringList({"noticia", "noticia", "noticia", "noticia", "noticia", "noticia"})
                                     << QStringList({"0", "0", "0", "0", "1", "0"});
}

void TestGameTT1A::completeRun()
{
    QFETCH(QStringList, touched);
    QFETCH(QStringList, values);

    AppFixture app;
    auto *g = qobject_cast<GameTT1A *>(app.startAt("TT1A"));
    QVERIFY(g);
    QCOMPARE(g->getTitle(), QString::fromUtf8("Reconocimiento de tipos de texto"));
    QSignalSpy sounds(g, &GameWindow::requestPlaySound);

    AppFixture::click(g->getTransitionLabel());
    QVERIFY(g->getTestButton()->isActive());
    QVERIFY(!g->getExampleButton()->isActive());
    QVERIFY(g->getNextButton()->isHidden());
    for (int i = 0; i < 6; ++i)
        QVERIFY(!g->choice(i)->isVisible());

    AppFixture::click(g->getTestButton());
    QVERIFY(!g->getTestButton()->isActive());
    for (int i = 0; i < 6; ++i)
        QVERIFY(g->choice(i)->isVisible());

    const QStringList asked = {"carta", "cuento", "poema", "receta", "noticia", "afiche"};
    const QString id = QString::number(app.window()->currentEvaluationId());
    QList<QStringList> expected;
    for (int i = 0; i < 6; ++i) {
        AppFixture::click(g->choice(grid.indexOf(touched.at(i))));
        expected << QStringList({id, "TT1A", asked.at(i), values.at(i)});
        QCOMPARE(app.rowsOf("TT1A"), expected);
        QCOMPARE(sounds.count(), i + 1);
        QCOMPARE(sounds.last().first().toString(), QString("sounds/touch.wav"));
        QVERIFY(!g->getSoundingIcon()->isVisible());
    }
    QVERIFY(g->isFinished());

    // The choices stay on screen until the next test, but no longer count or sound.
    for (int i = 0; i < 6; ++i) {
        QVERIFY(g->choice(i)->isVisible());
        AppFixture::click(g->choice(i));
    }
    QTest::keyClick(g, Qt::Key_Space);
    QCOMPARE(shownPreview(g), -1);
    QCOMPARE(app.rowsOf("TT1A"), expected);
    QCOMPARE(sounds.count(), 6);
}

void TestGameTT1A::spaceCyclesThePreviews()
{
    AppFixture app;
    auto *g = qobject_cast<GameTT1A *>(app.startAt("TT1A"));
    QVERIFY(g);
    QTest::keyClick(g, Qt::Key_Space);
    QCOMPARE(shownPreview(g), -1);

    // Space works before the test button and goes on after it.
    AppFixture::click(g->getTransitionLabel());
    for (int press = 0; press < 7; ++press) {
        if (press == 3)
            AppFixture::click(g->getTestButton());
        QTest::keyClick(g, Qt::Key_Space);
        QCOMPARE(shownPreview(g), press < 6 ? press : -1);
        if (press < 6) {
            // Above the grid, and touching it does not touch the choice under it.
            if (app.workspace().hasKit()) {
                const QPoint centre = g->preview(press)->geometry().center();
                QCOMPARE(g->getGameHolder()->childAt(centre), g->preview(press));
            }
            AppFixture::click(g->preview(press));
        }
    }
    QCOMPARE(app.rowsOf("TT1A").size(), 0);

    // The next press starts the cycle again.
    QTest::keyClick(g, Qt::Key_Space);
    QCOMPARE(shownPreview(g), 0);
}

QTEST_MAIN(TestGameTT1A)
#include "tst_gamett1a.moc"
