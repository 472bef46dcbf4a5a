#include "movielabel.h"
#include "picturefixtures.h"

#include <QMovie>

class TestMovieLabel : public QObject
{
    Q_OBJECT
    TestWorkspace workspace{false};

private slots:
    void initTestCase()
    {
        const QList<QColor> colors{Qt::red, Qt::green, Qt::blue, Qt::yellow};
        QVERIFY2(writeAnimation("images/fast.gif", QSize(24, 16), colors), "ImageMagick's convert is needed");
        QVERIFY(writeAnimation("images/slow.gif", QSize(24, 16), colors, 25));
        QVERIFY(writeAnimation("images/still.gif", QSize(10, 12), {Qt::magenta}));
    }

    void playsOnceAndRestsOnLastFrame()
    {
        QWidget parent;
        MovieLabel label("images/fast.gif", &parent);
        MovieLabel still("images/still.gif", &parent);
        parent.show();
        QCOMPARE(label.size(), QSize(24, 16));
        QCOMPARE(label.frameCount(), 4);
        // A single frame stops at once.
        QCOMPARE(still.size(), QSize(10, 12));
        still.play();
        QVERIFY(!still.isPlaying());
        QCOMPARE(paintedColor(&still), QColor(Qt::magenta));
        // It rests on its first frame and does not start by itself.
        QTest::qWait(200);
        QVERIFY(!label.isPlaying());
        QCOMPARE(label.currentFrameNumber(), 0);
        QCOMPARE(paintedColor(&label), QColor(Qt::red));

        for (int round = 0; round < 2; ++round) {
            QSignalSpy frames(label.QLabel::movie(), &QMovie::frameChanged);
            label.play();
            QTRY_VERIFY_WITH_TIMEOUT(!label.isPlaying(), 3000);
            QCOMPARE(frames.count(), 4);
            for (int i = 0; i < 4; ++i)
                QCOMPARE(frames.at(i).at(0).toInt(), i);
            QCOMPARE(paintedColor(&label), QColor(Qt::yellow));
            // Still on the last frame a while later: it played exactly once.
            QTest::qWait(250);
            QVERIFY(!label.isPlaying());
            QCOMPARE(label.currentFrameNumber(), 3);
        }
    }

    void playDuringAnimationRestarts()
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

    void press()
    {
        PressCounter parent;
        MovieLabel label("images/fast.gif", &parent);
        parent.show();
        QSignalSpy spy(&label, &MovieLabel::clicked);
        QTest::mouseClick(&label, Qt::LeftButton);
        QTest::mouseClick(&label, Qt::RightButton);
        QCOMPARE(spy.count(), 2);
        label.hide();
        QTest::mouseClick(&label, Qt::LeftButton);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(parent.presses, 0);
        QVERIFY(!label.isPlaying()); // a click does not start the animation
    }
};

QTEST_MAIN(TestMovieLabel)
#include "tst_movielabel.moc"
