#include "batterydriver.h"
#include "gamett1a.h"
#include "hoverableclickableimage.h"

// The text type recognition test: the enlarged previews on Space, the kinds
// asked in their fixed order, scoring against the kind asked, the touch sound,
// and nothing more once the sixth kind is answered.
class TestGameTT1A : public QObject
{
    Q_OBJECT

    // The one preview on show (-1: none, -2: several).
    static int shownPreview(GameTT1A *game)
    {
        int shown = -1;
        for (int i = 0; i < 6; ++i)
            if (game->preview(i)->isVisible())
                shown = shown == -1 ? i : -2;
        return shown;
    }

private slots:
    void completeRun_data()
    {
        QTest::addColumn<QString>("touched"); // the kinds touched, in turn
        QTest::addColumn<QStringList>("values");
        QTest::newRow("all right") << "carta cuento poema receta noticia afiche"
                                   << QStringList({"1", "1", "1", "1", "1", "1"});
        QTest::newRow("always the news") << "noticia noticia noticia noticia noticia noticia"
                                         << QStringList({"0", "0", "0", "0", "1", "0"});
    }

    void completeRun()
    {
        QFETCH(QString, touched);
        QFETCH(QStringList, values);
        ENTER_TEST(GameTT1A, "TT1A", 0);
        QSignalSpy sounds(game, &GameWindow::requestPlaySound);
        const QStringList grid = {"noticia", "carta", "cuento", "poema", "receta", "afiche"};
        QTest::keyClick(game, Qt::Key_Space);
        QCOMPARE(shownPreview(game), -1);
        // Space shows the previews in turn, then none, and again, before the test button and after it.
        AppFixture::click(game->getTransitionLabel());
        for (int press = 0; press < 14; ++press) {
            if (press == 3)
                AppFixture::click(game->getTestButton());
            QTest::keyClick(game, Qt::Key_Space);
            const int preview = press % 7 < 6 ? press % 7 : -1;
            QCOMPARE(shownPreview(game), preview);
            if (preview >= 0) {
                // Its kind's picture above the grid; touching it does not touch the choice under it.
                if (app.workspace().hasKit()) {
                    QCOMPARE(game->getGameHolder()->childAt(game->preview(preview)->geometry().center()),
                             game->preview(preview));
                    const QString kind = grid.at(preview);
                    QVERIFY(showsPicture(game->preview(preview), "images/TT1A/" + kind
                                             + (kind == "cuento" ? "_900x498.png" : "_500x500.png")));
                }
                AppFixture::click(game->preview(preview));
            }
        }
        QVERIFY(app.rowsOf("TT1A").isEmpty() && sounds.isEmpty());
        const QStringList asked = {"carta", "cuento", "poema", "receta", "noticia", "afiche"};
        for (int i = 0; i < 6; ++i) {
            AppFixture::click(game->choice(grid.indexOf(touched.section(' ', i, i))));
            QCOMPARE(keyValues(app, "TT1A"), pairs(asked.mid(0, i + 1), values));
            QCOMPARE(firstArguments(sounds).mid(i), QStringList{"sounds/touch.wav"});
            QVERIFY(!game->getSoundingIcon()->isVisible());
        }
        QVERIFY(game->isFinished());
        // The choices stay on screen until the next test, but no longer count or sound.
        for (int i = 0; i < 6; ++i) {
            QVERIFY(game->choice(i)->isVisible());
            QVERIFY(!app.workspace().hasKit() || showsPicture(game->choice(i), "images/TT1A/" + grid.at(i) + "_270x270.png"));
            AppFixture::click(game->choice(i));
        }
        QTest::keyClick(game, Qt::Key_Space);
        QCOMPARE(shownPreview(game), -1);
        QCOMPARE(keyValues(app, "TT1A"), pairs(asked, values));
        QCOMPARE(sounds.count(), 6);
    }
};

QTEST_MAIN(TestGameTT1A)
#include "tst_gamett1a.moc"
