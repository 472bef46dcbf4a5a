#include "gamewithfriends.h"
#include "imagelabel.h"
#include "movielabel.h"
#include "picturefixtures.h"

class TestGameWithFriends : public QObject
{
    Q_OBJECT
    TestWorkspace workspace{false};

private slots:
    void initTestCase()
    {
        QVERIFY2(writeAnimation("images/friends.gif", QSize(120, 90), {Qt::red, Qt::green, Qt::blue}),
                 "ImageMagick's convert is needed");
        QVERIFY(writePicture("images/barraHerramientas.png", QSize(700, 64), Qt::black));
    }

    void placement_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<int>("y"); // before the location bar's height is taken off
        QTest::newRow("1366 x 767") << QSize(1366, 767) << 338;
    }

    void placement()
    {
        QFETCH(QSize, window);
        QFETCH(int, y);
        GameWithFriends game;
        MovieLabel *friends = game.getFriends();
        QCOMPARE(friends->parentWidget(), game.getGameHolder());
        QCOMPARE(friends->size(), QSize(120, 90));
        // Created after the toolbar, so it lies above it.
        const QObjectList stack = game.getGameHolder()->children();
        QVERIFY(stack.indexOf(friends) > stack.indexOf(game.getToolbar()));

        game.init();
        game.resize(window);
        QTRY_COMPARE(game.size(), window);
        const int L = game.findChild<QLabel *>("locationBarLabel")->height();
        QCOMPARE(friends->pos(), QPoint(50, y - L));
        QCOMPARE(game.getToolbar()->pos(), QPoint(0, window.height() - 64 - L)); // the base placement still runs
    }
};

QTEST_MAIN(TestGameWithFriends)
#include "tst_gamewithfriends.moc"
