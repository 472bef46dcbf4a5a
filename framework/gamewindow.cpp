#include "gamewindow.h"
#include "ui_gamewindow.h"

#include "clickableimage.h"
#include "imagelabel.h"
#include "transitionlabel.h"

#include <QDebug>
#include <QKeyEvent>
#include <QTimer>

namespace {
const int finishDelayMs = 1000;
}

GameWindow::GameWindow(QWidget *parent)
    : QWidget(parent)
    , dimensionColor(0, 0, 0, 255)
    , toolbar(nullptr)
    , recordingIcon(nullptr)
    , checkIcon(nullptr)
    , soundingIcon(nullptr)
    , exampleButton(nullptr)
    , testButton(nullptr)
    , nextButton(nullptr)
    , testRunning(false)
    , finished(false)
    , ui(new Ui::GameWindow)
    , finishTimer(new QTimer(this))
{
    ui->setupUi(this);
    ui->gameHolder->hide();

    // Created in stacking order: later widgets lie above earlier ones.
    toolbar = new ImageLabel("images/barraHerramientas.png", ui->gameHolder);
    recordingIcon = new ImageLabel("images/icono_grabacion.png", ui->gameHolder);
    checkIcon = new ImageLabel("images/check_verde.png", ui->gameHolder);
    soundingIcon = new ImageLabel("images/icono_sonando.png", ui->gameHolder);
    exampleButton = new ClickableImage("images/boton_play_desactivado.png", "images/boton_ejemplo.png",
                                       ui->gameHolder);
    testButton = new ClickableImage("images/boton_play_desactivado.png", "images/boton_prueba.png",
                                    ui->gameHolder);
    nextButton = new ClickableImage("images/boton_siguiente_off.png", "images/boton_siguiente.png",
                                    ui->gameHolder);

    // Through the virtual slots, so that a test's overrides receive the clicks.
    connect(ui->transitionLabel, &TransitionLabel::clicked, this, &GameWindow::start);
    connect(exampleButton, &ClickableImage::clicked, this, &GameWindow::runExample);
    connect(testButton, &ClickableImage::clicked, this, &GameWindow::runGame);
    connect(nextButton, &ClickableImage::clicked, this, &GameWindow::runNext);

    finishTimer->setSingleShot(true);
    finishTimer->setInterval(finishDelayMs);
    connect(finishTimer, &QTimer::timeout, this, &GameWindow::runFinishGame);

    setFocusPolicy(Qt::StrongFocus);
}

GameWindow::~GameWindow()
{
    delete ui;
}

QWidget *GameWindow::getGameHolder() const
{
    return ui->gameHolder;
}

bool GameWindow::isGameVisible() const
{
    return ui->gameHolder->isVisible();
}

TransitionLabel *GameWindow::getTransitionLabel() const
{
    return ui->transitionLabel;
}

int GameWindow::centeredX(int w) const
{
    return (width() - w) / 2;
}

int GameWindow::centeredY(int h) const
{
    return (height() - h) / 2 - ui->locationBarLabel->height();
}

void GameWindow::centerWidget(QWidget *w)
{
    w->move(centeredX(w->width()), centeredY(w->height()));
}

void GameWindow::setDimensionColor(int r, int g, int b)
{
    dimensionColor = QColor(r, g, b, 255);
}

void GameWindow::setTitle(const char *utf8)
{
    title = QString::fromUtf8(utf8);
}

void GameWindow::setToolbarVisible(bool visible)
{
    toolbar->setVisible(visible);
}

void GameWindow::start()
{
    ui->transitionLabel->hide();
    ui->gameHolder->show();
}

void GameWindow::init()
{
    // A finish pending from an earlier run must not move this run on.
    finishTimer->stop();

    const QString colorName = dimensionColor.name();
    ui->locationBarLabel->setStyleSheet("background-color:" + colorName + ";");
    ui->transitionLabel->setStyleSheet("background-color:" + colorName + "; color:#ffffff;");
    ui->transitionLabel->setText(title);
    ui->transitionLabel->show();
    ui->gameHolder->hide();
    show();

    recordingIcon->hide();
    checkIcon->hide();
    soundingIcon->hide();

    exampleButton->setActive(false);
    testButton->setActive(false);
    nextButton->setActive(false);

    testRunning = false;
    finished = false;
}

void GameWindow::runGame()
{
    qDebug() << "Run game. Remember to override this method!";
}

void GameWindow::runExample()
{
    qDebug() << "Run example. Remember to override this method!";
}

void GameWindow::runNext()
{
    qDebug() << "Next item in test. Remember to override this method!";
}

void GameWindow::soundHasFinished()
{
    soundingIcon->hide();
    qDebug() << "Sound has finished. Remember to override this method!";
}

void GameWindow::runFinishGame()
{
    emit requestNextGame();
}

void GameWindow::startRecording()
{
    recordingIcon->show();
    emit requestStartRecordingSound(&recordingFileName);
}

void GameWindow::stopRecording()
{
    recordingIcon->hide();
    emit requestStopRecordingSound();
}

void GameWindow::finishGame()
{
    if (finished)
        return;
    checkIcon->show();
    finishTimer->start();
    finished = true;
}

void GameWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        emit requestAbortDialog();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void GameWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);

    const int H = height();
    const int W = width();
    const int L = ui->locationBarLabel->height();
    const int T = toolbar->height();
    const int TW = toolbar->width();

    // Vertically centred on the toolbar strip.
    auto onStrip = [&](const QWidget *w) { return H - (T - w->height()) / 2 - w->height() - L; };

    toolbar->move(0, H - T - L);
    exampleButton->move(10, onStrip(exampleButton));
    testButton->move(exampleButton->width() + 20, onStrip(testButton));
    nextButton->move(exampleButton->width() + 3 * testButton->width() + 30, onStrip(nextButton));
    // The indicators sit at the right end of the strip, or of the window when the
    // strip is wider than the screen, so that the examiner always sees them.
    const int right = qMin(TW, W);
    recordingIcon->move(right - recordingIcon->width() - 10, onStrip(recordingIcon));
    soundingIcon->move(right - soundingIcon->width() - 10, onStrip(soundingIcon));
    checkIcon->move(W - checkIcon->width() - 10, H - checkIcon->height() - L - 10);
}

void GameWindow::releasePictures()
{
    // The pictures of the play area are decoded again when the test is next
    // shown; an examiner's machine keeps only the running test's pictures.
    for (ImageLabel *picture : ui->gameHolder->findChildren<ImageLabel *>())
        picture->releasePicture();
    for (ClickableImage *button : ui->gameHolder->findChildren<ClickableImage *>())
        button->releasePictures();
}

void GameWindow::hideEvent(QHideEvent *event)
{
    // Hidden by the main window (it moved on to another test, or the evaluation
    // ended): the battery has already left this test, so a pending finish must
    // not ask for yet another test. Hiding the whole application window or
    // minimising it does not count.
    if (isHidden()) {
        finishTimer->stop();
        releasePictures();
    }
    QWidget::hideEvent(event);
}
