#include "gamevd.h"

#include "clickableimage.h"
#include "imagelabel.h"

namespace {
// Left to right. The file names carry the pictures' pixel sizes.
const char *const examplePaths[] = {
    "images/VD1A/example/perro230x240.png",
    "images/VD1A/example/auto230x240.png",
    "images/VD1A/example/reloj230x240.png",
};
const char *const testPaths[] = {
    "images/VD1A/test/pelota145x226.png",
    "images/VD1A/test/gato145x226.png",
    "images/VD1A/test/silla145x226.png",
    "images/VD1A/test/iglesia145x226.png",
    "images/VD1A/test/luna145x226.png",
    "images/VD1A/test/chancho145x226.png",
};
}

GameVD::GameVD(QWidget *parent)
    : GameWindow(parent)
{
    setDimensionColor(154, 196, 75);
    setTitle("Velocidad de denominación");
    for (const char *path : examplePaths)
        examplePictures << new ImageLabel(path, getGameHolder());
    for (const char *path : testPaths)
        testPictures << new ImageLabel(path, getGameHolder());
}

QStringList GameVD::resourcePaths()
{
    QStringList paths;
    for (const char *path : examplePaths)
        paths << path;
    for (const char *path : testPaths)
        paths << path;
    return paths;
}

void GameVD::init()
{
    GameWindow::init();
    exampleButton->setActive(true);
    testButton->setActive(false);
    for (ImageLabel *picture : qAsConst(examplePictures))
        picture->hide();
    for (ImageLabel *picture : qAsConst(testPictures))
        picture->hide();
}

void GameVD::runExample()
{
    exampleButton->setActive(false);
    testButton->setActive(true);
    for (ImageLabel *picture : qAsConst(examplePictures))
        picture->show();
}

void GameVD::runGame()
{
    testButton->setActive(false);
    nextButton->setActive(true);
    for (ImageLabel *picture : qAsConst(examplePictures))
        picture->hide();
    for (ImageLabel *picture : qAsConst(testPictures))
        picture->show();
    testRunning = true;
    startRecording();
    stopwatch.start();
}

void GameVD::runNext()
{
    // Only the one click that ends the test phase counts.
    if (!testRunning || finished)
        return;
    const qint64 elapsedMs = stopwatch.elapsed();
    stopRecording();
    emit requestLogValueForKey("TIME", QString::number(elapsedMs));
    emit requestLogValueForKey("FILE", recordingFileName);
    nextButton->setActive(false);
    finishGame();
}

void GameVD::resizeEvent(QResizeEvent *event)
{
    GameWindow::resizeEvent(event);

    // Example row: three pictures side by side, the middle one centred.
    const int ew = examplePictures.first()->width();
    const int ex = centeredX(ew);
    const int ey = centeredY(examplePictures.first()->height());
    for (int k = 0; k < examplePictures.size(); ++k)
        examplePictures.at(k)->move(ex + (k - 1) * ew, ey);

    // Test row: six pictures side by side, centred as a whole.
    const int tw = testPictures.first()->width();
    const int x0 = static_cast<int>(centeredX(tw) - 2.5 * tw);
    const int ty = centeredY(testPictures.first()->height());
    for (int k = 0; k < testPictures.size(); ++k)
        testPictures.at(k)->move(x0 + k * tw, ty);
}
