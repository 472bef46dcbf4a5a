#include "movielabel.h"
#include "picturefixtures.h"
#include "testworkspace.h"

#include <QMovie>
#include <QSignalSpy>
#include <QtTest>

using namespace PictureFixtures;

namespace {
const QList<QColor> frameColors{Qt::red, Qt::green, Qt::blue, Qt::yellow};
}

class TestMovieLabel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void restsOnFirstFrameAfterConstruction();
    void playsOnceAndRestsOnLastFrame();
    void playDuringAnimationRestarts();
    void singleFrameStopsAtOnce();
    void press_data();
    void press();

private:
    // Frame numbers shown while the label plays, until it stops.
    static QList<int> framesOfOnePlay(MovieLabel &label);
    TestWorkspace workspace{false};
};

void TestMovieLabel::initTestCase()
{
    QVERIFY2(writeAnimation("images/friends.gif", QSize(24, 16), frameColors), "ImageMagick's convert is needed");
    QVERIFY(writeAnimation("images/slow.gif", QSize(24, 16), frameColors, 25));
    QVERIFY(writeAnimation("images/still.gif", QSize(10, 12), {Qt::magenta}));
}

QList<int> TestMovieLabel::framesOfOnePlay(MovieLabel &label)
{
    QSignalSpy frames(label.QLabel::movie(), &QMovie::frameChanged);
    label.play();
    [&] { QTRY_VERIFY_WITH_TIMEOUT(!label.isPlaying(), 3000); }();
    QList<int> shown;
    for (const QList<QVariant> &arguments : frames)
        shown << arguments.at(0).toInt();
    return shown;
}

void TestMovieLabel::restsOnFirstFrameAfterConstruction()
{
    QWidget parent;
    MovieLabel label("images/friends.gif", &parent);
    parent.show();
    QCOMPARE(label.size(), QSize(24, 16));
    QCOMPARE(label.minimumSize(), label.maximumSize());
    QCOMPARE(label.frameCount(), 4);
    QVERIFY(!label.isPlaying());
    QCOMPARE(label.currentFrameNumber(), 0);
    QCOMPARE(paintedColor(&label), QColor(Qt::red));

    // It does not start by itself.
    QTest::qWait(200);
    QCOMPARE(label.currentFrameNumber(), 0);
}

void TestMovieLabel::playsOnceAndRestsOnLastFrame()
{
    QWidget parent;
    MovieLabel label("images/friends.gif", &parent);
    parent.show();

    for (int round = 0; round < 2; ++round) {
        QCOMPARE(framesOfOnePlay(label), (QList<int>{0, 1, 2, 3}));
        QCOMPARE(label.currentFrameNumber(), 3);
        QCOMPARE(paintedColor(&label), QColor(Qt::yellow));
        // Still on the last frame a while later: it played exactly once.
        QTest::qWait(250);
        QVERIFY(!label.isPlaying());
        QCOMPARE(label.currentFrameNumber(), 3);
    }
}

void TestMovieLabel::playDuringAnimationRestarts()
{
    QWidget parent;
    MovieLabel label("images/slow.gif", &parent);
    parent.show();

    label.play();
    QTRY_COMPARE_WITH_TIMEOUT(label.currentFrameNumber(), 2, 3000);
    label.play();
    QVERIFY(label.isPlaying());
    QCOMPARE(label.currentFrameNumber(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!label.isPlaying(), 3000);
    QCOMPARE(label.currentFrameNumber(), 3);
}

void TestMovieLabel::singleFrameStopsAtOnce()
{
    QWidget parent;
    MovieLabel label("images/still.gif", &parent);
    parent.show();
    QCOMPARE(label.size(), QSize(10, 12));

    label.play();
    QVERIFY(!label.isPlaying());
    QCOMPARE(label.currentFrameNumber(), 0);
    QCOMPARE(paintedColor(&label), QColor(Qt::magenta));
}

void TestMovieLabel::press_data()
{
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("clicks");

    QTest::newRow("visible, left") << true << int(Qt::LeftButton) << 1;
    QTest::newRow("visible, right") << true << int(Qt::RightButton) << 1;
    QTest::newRow("hidden") << false << int(Qt::LeftButton) << 0;
}

void TestMovieLabel::press()
{
    QFETCH(bool, visible);
    QFETCH(int, button);
    QFETCH(int, clicks);

    PressCounter parent;
    MovieLabel label("images/friends.gif", &parent);
    parent.show();
    label.setVisible(visible);
    QSignalSpy spy(&label, &MovieLabel::clicked);

    QTest::mouseClick(&label, Qt::MouseButton(button), Qt::NoModifier, QPoint(3, 3));

    QCOMPARE(spy.count(), clicks);
    QCOMPARE(parent.presses, 0);
    // A click does not start the animation; the test decides when to replay it.
    QVERIFY(!label.isPlaying());
}

QTEST_MAIN(TestMovieLabel)
#include "tst_movielabel.moc"
