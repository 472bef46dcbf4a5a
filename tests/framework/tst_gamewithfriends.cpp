#include "gamewithfriends.h"
#include "imagelabel.h"
#include "movielabel.h"
#include "picturefixtures.h"
#include "testworkspace.h"

#include <QLabel>
#include <QtTest>

using namespace PictureFixtures;

class TestGameWithFriends : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void friendsInThePlayArea();
    void placement_data();
    void placement();

private:
    TestWorkspace workspace{false};
};

void TestGameWithFriends::initTestCase()
{
    QVERIFY2(writeAnimation("images/friends.gif", QSize(120, 90), {Qt::red, Qt::green, Qt::blue}),
             "ImageMagick's convert is needed");
    QVERIFY(writePicture("images/barraHerramientas.png", QSize(700, 64), Qt::black));
}

void TestGameWithFriends::friendsInThePlayArea()
{
    GameWithFriends game;
    MovieLabel *friends = game.getFriends();
    QVERIFY(friends);
    QCOMPARE(friends->parentWidget(), game.getGameHolder());
    QCOMPARE(friends->size(), QSize(120, 90));
    QCOMPARE(friends->frameCount(), 3);
    // Created after the toolbar, so it lies above it.
    QVERIFY(game.getGameHolder()->children().indexOf(friends)
            > game.getGameHolder()->children().indexOf(game.getToolbar()));
}

void TestGameWithFriends::placement_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<int>("y"); // before the location bar's height is taken off

    QTest::newRow("800 x 600") << QSize(800, 600) << 255;
    QTest::newRow("1366 x 767") << QSize(1366, 767) << 338;
}

void TestGameWithFriends::placement()
{
    QFETCH(QSize, window);
    QFETCH(int, y);

    GameWithFriends game;
    game.init();
    game.resize(window);
    QTRY_COMPARE(game.size(), window);
    const int L = game.findChild<QLabel *>("locationBarLabel")->height();

    QCOMPARE(game.getFriends()->pos(), QPoint(50, y - L));
    // The base placement still runs.
    QCOMPARE(game.getToolbar()->pos(), QPoint(0, window.height() - 64 - L));
}

QTEST_MAIN(TestGameWithFriends)
#include "tst_gamewithfriends.moc"
