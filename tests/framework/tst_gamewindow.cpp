#include "clickableimage.h"
#include "gamewindow.h"
#include "imagelabel.h"
#include "picturefixtures.h"
#include "testworkspace.h"
#include "transitionlabel.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

using namespace PictureFixtures;

namespace {

// A test window as the battery's tests build it: colour and title set in the
// constructor, the toolbar's slots overridden.
class ProbeGame : public GameWindow
{
public:
    explicit ProbeGame(QWidget *parent = nullptr)
        : GameWindow(parent)
    {
        setDimensionColor(154, 196, 75);
        setTitle("Velocidad de denominación");
    }

    using GameWindow::centerWidget;
    using GameWindow::finishGame;
    using GameWindow::setDimensionColor;
    using GameWindow::setTitle;
    using GameWindow::startRecording;
    using GameWindow::stopRecording;

    void setTestRunning(bool running) { testRunning = running; }

    int examples = 0;
    int games = 0;
    int nexts = 0;

    void runExample() override { ++examples; }
    void runGame() override { ++games; }
    void runNext() override { ++nexts; }
};

QLabel *locationBar(GameWindow &game)
{
    return game.findChild<QLabel *>("locationBarLabel");
}

const QColor inactiveColor(Qt::darkGray);

} // namespace

class TestGameWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void initColoursScreenAndTitle_data();
    void initColoursScreenAndTitle();
    void initRearmsIndicatorsButtonsAndFlags();
    void transitionClickShowsPlayArea();
    void toolbarButtonsReachOverrides_data();
    void toolbarButtonsReachOverrides();
    void keys_data();
    void keys();
    void finishGameAdvancesOnceAfterOneSecond();
    void pendingFinish_data();
    void pendingFinish();
    void toolbarPlacement_data();
    void toolbarPlacement();
    void centering_data();
    void centering();
    void recordingNameIsFilledSynchronously();
    void picturesHeldOnlyWhileShown_data();
    void picturesHeldOnlyWhileShown();

private:
    TestWorkspace workspace{false};
};

void TestGameWindow::initTestCase()
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

void TestGameWindow::initColoursScreenAndTitle_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("name");

    QTest::newRow("VD") << QColor(154, 196, 75) << "Velocidad de denominación" << "#9ac44b";
    QTest::newRow("PA") << QColor(0, 150, 79) << "Conocimiento de grafemas" << "#00964f";
}

void TestGameWindow::initColoursScreenAndTitle()
{
    QFETCH(QColor, color);
    QFETCH(QString, title);
    QFETCH(QString, name);

    ProbeGame game;
    QCOMPARE(locationBar(game)->styleSheet(), QString("background-color: rgb(0, 0, 0);\n"));
    game.setDimensionColor(color.red(), color.green(), color.blue());
    game.setTitle(title.toUtf8().constData());
    QCOMPARE(game.getTitle(), title);

    game.start();
    game.init();

    QVERIFY(game.isVisible());
    QCOMPARE(locationBar(game)->styleSheet(), "background-color:" + name + ";");
    QCOMPARE(game.getTransitionLabel()->styleSheet(), "background-color:" + name + "; color:#ffffff;");
    QCOMPARE(game.getTransitionLabel()->text(), title);
    QVERIFY(game.getTransitionLabel()->isVisible());
    QVERIFY(!game.isGameVisible());
}

void TestGameWindow::initRearmsIndicatorsButtonsAndFlags()
{
    ProbeGame game;
    game.show();
    game.start();
    for (ImageLabel *icon : {game.getRecordingIcon(), game.getCheckIcon(), game.getSoundingIcon()})
        icon->show();
    game.setTestRunning(true);
    game.finishGame();
    QVERIFY(game.isFinished());

    game.init();

    for (ImageLabel *icon : {game.getRecordingIcon(), game.getCheckIcon(), game.getSoundingIcon()})
        QVERIFY(icon->isHidden());
    for (ClickableImage *button : {game.getExampleButton(), game.getTestButton(), game.getNextButton()}) {
        QVERIFY(!button->isActive());
        QCOMPARE(shownColor(button), inactiveColor);
    }
    QVERIFY(!game.isTestRunning());
    QVERIFY(!game.isFinished());
}

void TestGameWindow::transitionClickShowsPlayArea()
{
    ProbeGame game;
    game.init();
    QVERIFY(!game.isGameVisible());

    QTest::mouseClick(game.getTransitionLabel(), Qt::LeftButton);
    QVERIFY(game.isGameVisible());
    QVERIFY(game.getTransitionLabel()->isHidden());
    // The test's own init decides the buttons; the base leaves them inactive.
    QVERIFY(!game.getExampleButton()->isActive());
}

void TestGameWindow::toolbarButtonsReachOverrides_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("examples");
    QTest::addColumn<int>("games");
    QTest::addColumn<int>("nexts");

    QTest::newRow("example") << 0 << 1 << 0 << 0;
    QTest::newRow("test") << 1 << 0 << 1 << 0;
    QTest::newRow("next") << 2 << 0 << 0 << 1;
}

void TestGameWindow::toolbarButtonsReachOverrides()
{
    QFETCH(int, button);
    QFETCH(int, examples);
    QFETCH(int, games);
    QFETCH(int, nexts);

    ProbeGame game;
    game.init();
    game.start();
    const QList<ClickableImage *> buttons{game.getExampleButton(), game.getTestButton(), game.getNextButton()};

    // Inactive after init: nothing happens.
    QTest::mouseClick(buttons.at(button), Qt::LeftButton);
    QCOMPARE(game.examples + game.games + game.nexts, 0);

    buttons.at(button)->setActive(true);
    QTest::mouseClick(buttons.at(button), Qt::LeftButton);
    QCOMPARE(game.examples, examples);
    QCOMPARE(game.games, games);
    QCOMPARE(game.nexts, nexts);
}

void TestGameWindow::keys_data()
{
    QTest::addColumn<bool>("playArea");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("abortRequests");

    QTest::newRow("escape on the transition screen") << false << int(Qt::Key_Escape) << 1;
    QTest::newRow("escape in the play area") << true << int(Qt::Key_Escape) << 1;
    QTest::newRow("letter on the transition screen") << false << int(Qt::Key_A) << 0;
    QTest::newRow("return in the play area") << true << int(Qt::Key_Return) << 0;
}

void TestGameWindow::keys()
{
    QFETCH(bool, playArea);
    QFETCH(int, key);
    QFETCH(int, abortRequests);

    ProbeGame game;
    game.init();
    if (playArea)
        game.start();
    QSignalSpy spy(&game, &GameWindow::requestAbortDialog);

    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    press.ignore();
    QApplication::sendEvent(&game, &press);

    QCOMPARE(spy.count(), abortRequests);
    // Escape is consumed; every other key is left to whoever handles it next.
    QCOMPARE(press.isAccepted(), abortRequests > 0);
    QCOMPARE(game.isGameVisible(), playArea);
}

void TestGameWindow::finishGameAdvancesOnceAfterOneSecond()
{
    ProbeGame game;
    game.init();
    game.start();
    QSignalSpy spy(&game, &GameWindow::requestNextGame);
    QElapsedTimer clock;
    qint64 advancedAt = -1;
    connect(&game, &GameWindow::requestNextGame, this, [&] { advancedAt = clock.elapsed(); });

    for (int run = 0; run < 2; ++run) {
        spy.clear();
        advancedAt = -1;
        clock.start();
        game.finishGame();
        QVERIFY(game.getCheckIcon()->isVisible());
        QTest::qWait(300);
        game.finishGame();
        QCOMPARE(spy.count(), 0);

        QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 3000);
        // Counted from the first call, with a coarse timer's tolerance.
        QVERIFY2(advancedAt >= 940 && advancedAt < 1250, qPrintable(QString::number(advancedAt)));
        QTest::qWait(400);
        QCOMPARE(spy.count(), 1);

        // Re-armed for the next run.
        game.init();
        game.start();
        QVERIFY(game.getCheckIcon()->isHidden());
    }
}

void TestGameWindow::pendingFinish_data()
{
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<int>("advances");

    QTest::newRow("nothing happens") << "nothing" << 1;
    QTest::newRow("test re-armed by init") << "init" << 0;
    QTest::newRow("test hidden by the main window") << "hide" << 0;
    QTest::newRow("whole window hidden") << "hide parent" << 1;
}

void TestGameWindow::pendingFinish()
{
    QFETCH(QString, meanwhile);
    QFETCH(int, advances);

    QWidget mainWindow;
    auto *game = new ProbeGame(&mainWindow);
    mainWindow.show();
    game->init();
    game->start();
    QSignalSpy spy(game, &GameWindow::requestNextGame);

    game->finishGame();
    QTest::qWait(200);
    if (meanwhile == "init")
        game->init();
    else if (meanwhile == "hide")
        game->hide();
    else if (meanwhile == "hide parent")
        mainWindow.hide();

    QTest::qWait(1200);
    QCOMPARE(spy.count(), advances);
    if (meanwhile == "init") {
        // The new run still finishes normally.
        game->finishGame();
        QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 3000);
    }
}

void TestGameWindow::toolbarPlacement_data()
{
    // Positions for the pictures of initTestCase (toolbar 700 x 64, example
    // 90 x 41, test 70 x 45, next 60 x 50, recording 24 x 24, sounding 30 x 20,
    // check 50 x 40). y is given before the location bar's height is taken off.
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QPoint>("toolbar");
    QTest::addColumn<QPoint>("example");
    QTest::addColumn<QPoint>("test");
    QTest::addColumn<QPoint>("next");
    QTest::addColumn<QPoint>("recording");
    QTest::addColumn<QPoint>("sounding");
    QTest::addColumn<QPoint>("check");

    QTest::newRow("800 x 600") << QSize(800, 600) << QPoint(0, 536) << QPoint(10, 548) << QPoint(110, 546)
                               << QPoint(330, 543) << QPoint(666, 556) << QPoint(660, 558) << QPoint(740, 550);
    QTest::newRow("1366 x 768") << QSize(1366, 768) << QPoint(0, 704) << QPoint(10, 716) << QPoint(110, 714)
                                << QPoint(330, 711) << QPoint(666, 724) << QPoint(660, 726) << QPoint(1306, 718);
    // A strip wider than the window: the indicators stay inside the window.
    QTest::newRow("600 x 400") << QSize(600, 400) << QPoint(0, 336) << QPoint(10, 348) << QPoint(110, 346)
                               << QPoint(330, 343) << QPoint(566, 356) << QPoint(560, 358) << QPoint(540, 350);
}

void TestGameWindow::toolbarPlacement()
{
    QFETCH(QSize, window);
    QFETCH(QPoint, toolbar);
    QFETCH(QPoint, example);
    QFETCH(QPoint, test);
    QFETCH(QPoint, next);
    QFETCH(QPoint, recording);
    QFETCH(QPoint, sounding);
    QFETCH(QPoint, check);

    ProbeGame game;
    game.init();
    game.start();
    game.resize(window);
    QTRY_COMPARE(game.size(), window);
    const int L = locationBar(game)->height();
    QVERIFY(L >= 10);
    const QPoint up(0, L);

    QCOMPARE(game.getToolbar()->pos(), toolbar - up);
    QCOMPARE(game.getExampleButton()->pos(), example - up);
    QCOMPARE(game.getTestButton()->pos(), test - up);
    QCOMPARE(game.getNextButton()->pos(), next - up);
    QCOMPARE(game.getRecordingIcon()->pos(), recording - up);
    QCOMPARE(game.getSoundingIcon()->pos(), sounding - up);
    QCOMPARE(game.getCheckIcon()->pos(), check - up);
}

void TestGameWindow::centering_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QSize>("widget");
    QTest::addColumn<QPoint>("place"); // y before the location bar's height is taken off

    QTest::newRow("even") << QSize(800, 600) << QSize(200, 100) << QPoint(300, 250);
    QTest::newRow("odd difference truncates") << QSize(801, 601) << QSize(200, 100) << QPoint(300, 250);
    QTest::newRow("wider than the window truncates toward zero")
        << QSize(800, 600) << QSize(803, 605) << QPoint(-1, -2);
}

void TestGameWindow::centering()
{
    QFETCH(QSize, window);
    QFETCH(QSize, widget);
    QFETCH(QPoint, place);

    ProbeGame game;
    game.init();
    game.resize(window);
    QTRY_COMPARE(game.size(), window);
    const int L = locationBar(game)->height();

    QCOMPARE(game.centeredX(widget.width()), place.x());
    QCOMPARE(game.centeredY(widget.height()), place.y() - L);

    QWidget child(game.getGameHolder());
    child.resize(widget);
    game.centerWidget(&child);
    QCOMPARE(child.pos(), place - QPoint(0, L));
}

void TestGameWindow::recordingNameIsFilledSynchronously()
{
    ProbeGame game;
    game.init();
    game.start();
    int stops = 0;
    connect(&game, &GameWindow::requestStartRecordingSound, this,
            [](QString *name) { *name = "20240315093012"; }, Qt::DirectConnection);
    connect(&game, &GameWindow::requestStopRecordingSound, this, [&] { ++stops; });

    game.startRecording();
    QCOMPARE(game.getRecordingFileName(), QString("20240315093012"));
    QVERIFY(game.getRecordingIcon()->isVisible());

    game.stopRecording();
    QCOMPARE(stops, 1);
    QVERIFY(game.getRecordingIcon()->isHidden());
}


void TestGameWindow::picturesHeldOnlyWhileShown_data()
{
    QTest::addColumn<bool>("wholeWindow");
    QTest::addColumn<bool>("kept");

    QTest::newRow("test hidden by the main window") << false << false;
    QTest::newRow("whole window hidden or minimised") << true << true;
}

void TestGameWindow::picturesHeldOnlyWhileShown()
{
    QFETCH(bool, wholeWindow);
    QFETCH(bool, kept);

    QWidget mainWindow;
    auto *game = new ProbeGame(&mainWindow);
    auto *picture = new ImageLabel("images/icono_sonando.png", game->getGameHolder());
    mainWindow.show();
    game->init();
    game->start();
    QTest::mouseClick(game->getTransitionLabel(), Qt::LeftButton);
    game->getExampleButton()->setActive(false);
    QCOMPARE(shownColor(picture), QColor(Qt::yellow));

    if (wholeWindow)
        mainWindow.hide();
    else
        game->hide();
    QCOMPARE(!shownColor(picture).isValid(), !kept);
    QCOMPARE(!shownColor(game->getExampleButton()).isValid(), !kept);
    QCOMPARE(picture->size(), QSize(30, 20));

    // Shown again, the pictures come back as they were, state included.
    mainWindow.show();
    game->show();
    QCOMPARE(shownColor(picture), QColor(Qt::yellow));
    QCOMPARE(shownColor(game->getExampleButton()), inactiveColor);
}

QTEST_MAIN(TestGameWindow)
#include "tst_gamewindow.moc"
