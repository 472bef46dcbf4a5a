#include "clickableimage.h"
#include "gamewindow.h"
#include "imagelabel.h"
#include "picturefixtures.h"
#include "transitionlabel.h"

namespace {

// A test window as the battery's tests build it: colour and title set in the
// constructor, the toolbar's slots overridden.
class ProbeGame : public GameWindow
{
public:
    explicit ProbeGame(QWidget *parent = nullptr)
        : GameWindow(parent)
    {
        setDimensionColor(0, 150, 79);
        setTitle("Conocimiento de grafemas");
    }

    using GameWindow::centerWidget;
    using GameWindow::finishGame;

    void setTestRunning(bool running) { testRunning = running; }
    QList<ClickableImage *> buttons() const { return {exampleButton, testButton, nextButton}; }
    QList<QWidget *> strip() const
    {
        return {toolbar, exampleButton, testButton, nextButton, recordingIcon, checkIcon, soundingIcon};
    }
    int locationBarHeight() const { return findChild<QLabel *>("locationBarLabel")->height(); }

    QList<int> calls{0, 0, 0}; // example, test, next
    void runExample() override { ++calls[0]; }
    void runGame() override { ++calls[1]; }
    void runNext() override { ++calls[2]; }
};

const QColor inactiveColor(Qt::darkGray);

} // namespace

class TestGameWindow : public QObject
{
    Q_OBJECT
    TestWorkspace workspace{false};

private slots:
    void initTestCase()
    {
        QVERIFY(writePicture("images/barraHerramientas.png", QSize(700, 64), Qt::black));
        QVERIFY(writePicture("images/icono_grabacion.png", QSize(24, 24), Qt::red));
        QVERIFY(writePicture("images/icono_sonando.png", QSize(30, 20), Qt::yellow));
        QVERIFY(writePicture("images/check_verde.png", QSize(50, 40), Qt::green));
        QVERIFY(writePicture("images/boton_ejemplo.png", QSize(90, 41), Qt::blue));
        QVERIFY(writePicture("images/boton_prueba.png", QSize(70, 45), Qt::cyan));
        QVERIFY(writePicture("images/boton_play_desactivado.png", QSize(70, 45), inactiveColor));
        QVERIFY(writePicture("images/boton_siguiente.png", QSize(60, 50), Qt::magenta));
        QVERIFY(writePicture("images/boton_siguiente_off.png", QSize(60, 50), inactiveColor));
    }

    void initRearmsTheScreen()
    {
        ProbeGame game;
        game.start();
        for (QWidget *indicator : game.strip().mid(4))
            indicator->show();
        game.setTestRunning(true);
        game.finishGame();
        QVERIFY(game.isFinished());

        game.init();
        QVERIFY(game.isVisible() && game.getTransitionLabel()->isVisible() && !game.isGameVisible());
        QCOMPARE(game.findChild<QLabel *>("locationBarLabel")->styleSheet(), QString("background-color:#00964f;"));
        QCOMPARE(game.getTransitionLabel()->styleSheet(), QString("background-color:#00964f; color:#ffffff;"));
        QCOMPARE(game.getTransitionLabel()->text(), QString("Conocimiento de grafemas"));
        for (QWidget *indicator : game.strip().mid(4))
            QVERIFY(indicator->isHidden());
        for (ClickableImage *button : game.buttons()) {
            QVERIFY(!button->isActive());
            QCOMPARE(paintedColor(button), inactiveColor);
        }
        QVERIFY(!game.isTestRunning() && !game.isFinished());

        // Escape asks for the abort dialog and is consumed; other keys are left to others.
        QSignalSpy aborts(&game, &GameWindow::requestAbortDialog);
        QVERIFY(keyAccepted(&game, Qt::Key_Escape) && !keyAccepted(&game, Qt::Key_Return));
        QCOMPARE(aborts.count(), 1);

        // A click on the transition screen shows the play area; the buttons are the test's to arm.
        QTest::mouseClick(game.getTransitionLabel(), Qt::LeftButton);
        QVERIFY(game.isGameVisible() && game.getTransitionLabel()->isHidden());
        QVERIFY(keyAccepted(&game, Qt::Key_Escape) && !keyAccepted(&game, Qt::Key_Return));
        QCOMPARE(aborts.count(), 2);
        QVERIFY(game.isGameVisible());
        for (ClickableImage *button : game.buttons())
            QTest::mouseClick(button, Qt::LeftButton);
        QList<int> expected{0, 0, 0};
        QCOMPARE(game.calls, expected);
        // Once active, each button reaches the test's own slot.
        for (int i = 0; i < 3; ++i) {
            game.buttons().at(i)->setActive(true);
            QTest::mouseClick(game.buttons().at(i), Qt::LeftButton);
            expected[i] = 1;
            QCOMPARE(game.calls, expected);
        }
    }

    void pendingFinish_data()
    {
        QTest::addColumn<QString>("meanwhile"); // 300 ms after finishGame()
        QTest::addColumn<int>("advances");
        QTest::newRow("finishGame again") << "finish" << 1;
        QTest::newRow("test re-armed by init") << "init" << 0;
        QTest::newRow("test hidden by the main window") << "hide" << 0;
        QTest::newRow("whole window hidden") << "hide parent" << 1;
    }

    void pendingFinish()
    {
        QFETCH(QString, meanwhile);
        QFETCH(int, advances);
        QWidget mainWindow;
        auto *game = new ProbeGame(&mainWindow);
        auto *picture = new ImageLabel("images/icono_sonando.png", game->getGameHolder());
        mainWindow.show();
        game->init();
        game->start();
        QSignalSpy spy(game, &GameWindow::requestNextGame);
        QElapsedTimer clock;
        qint64 advancedAt = -1;
        connect(game, &GameWindow::requestNextGame, this, [&] { advancedAt = clock.elapsed(); });

        clock.start();
        game->finishGame();
        QVERIFY(game->getCheckIcon()->isVisible());
        QTest::qWait(300);
        if (meanwhile == "finish")
            game->finishGame();
        else if (meanwhile == "init")
            game->init();
        else if (meanwhile == "hide")
            game->hide();
        else if (meanwhile == "hide parent")
            mainWindow.hide();
        QTest::qWait(1200);
        // Once, one second after the first call (with a coarse timer's tolerance).
        QCOMPARE(spy.count(), advances);
        QVERIFY2(!advances || (advancedAt >= 940 && advancedAt < 1250), qPrintable(QString::number(advancedAt)));
        if (meanwhile == "init") { // the new run still finishes normally
            game->finishGame();
            QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 3000);
        }
        // A test hidden by the main window gives its decoded pictures back, size
        // kept; shown again, they come back as they were, state included.
        QCOMPARE(picture->QLabel::pixmap(Qt::ReturnByValue).isNull(), meanwhile == "hide");
        QCOMPARE(game->getExampleButton()->pixmap(Qt::ReturnByValue).isNull(), meanwhile == "hide");
        QCOMPARE(picture->size(), QSize(30, 20));
        mainWindow.show();
        game->show();
        QCOMPARE(paintedColor(picture), QColor(Qt::yellow));
        QCOMPARE(paintedColor(game->getExampleButton()), inactiveColor);
    }

    void placement_data()
    {
        // For the pictures of initTestCase (toolbar 700 x 64, example 90 x 41,
        // test 70 x 45, next 60 x 50, recording 24 x 24, check 50 x 40, sounding
        // 30 x 20); y before the location bar's height is taken off. The
        // indicators sit at the strip's right end, or the window's when it is narrower.
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QList<QPoint>>("places"); // toolbar, example, test, next, recording, check, sounding
        QTest::addColumn<QRect>("centred"); // a widget of that size, halves truncated toward zero
        QTest::newRow("801 x 601") << QSize(801, 601)
                                   << QList<QPoint>{{0, 537},   {10, 549},  {110, 547}, {330, 544},
                                                    {666, 557}, {741, 551}, {660, 559}}
                                   << QRect(300, 250, 200, 100);
        QTest::newRow("600 x 400") << QSize(600, 400)
                                   << QList<QPoint>{{0, 336},   {10, 348},  {110, 346}, {330, 343},
                                                    {566, 356}, {540, 350}, {560, 358}}
                                   << QRect(-101, -102, 803, 605);
    }

    void placement()
    {
        QFETCH(QSize, window);
        QFETCH(QList<QPoint>, places);
        QFETCH(QRect, centred);
        ProbeGame game;
        game.init();
        game.start();
        game.resize(window);
        QTRY_COMPARE(game.size(), window);
        const QPoint up(0, game.locationBarHeight());
        QVERIFY(up.y() >= 10);
        for (int i = 0; i < places.size(); ++i)
            QCOMPARE(game.strip().at(i)->pos(), places.at(i) - up);

        QCOMPARE(QPoint(game.centeredX(centred.width()), game.centeredY(centred.height())), centred.topLeft() - up);
        QWidget widget(game.getGameHolder());
        widget.resize(centred.size());
        game.centerWidget(&widget);
        QCOMPARE(widget.pos(), centred.topLeft() - up);
    }
};

QTEST_MAIN(TestGameWindow)
#include "tst_gamewindow.moc"
