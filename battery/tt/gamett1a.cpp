#include "gamett1a.h"

#include "clickableimage.h"
#include "hoverableclickableimage.h"
#include "imagelabel.h"

#include <QKeyEvent>

namespace {
struct Kind
{
    const char *name;
    const char *choicePicture;
    const char *previewPicture;
};

// In grid order: left to right, top row first.
const Kind kindTable[] = {
    {"noticia", "noticia_270x270", "noticia_500x500"},
    {"carta", "carta_270x270", "carta_500x500"},
    {"cuento", "cuento_270x270", "cuento_900x498"},
    {"poema", "poema_270x270", "poema_500x500"},
    {"receta", "receta_270x270", "receta_500x500"},
    {"afiche", "afiche_270x270", "afiche_500x500"},
};

// The order in which the examiner asks for the kinds.
const char *const askedOrder[] = {"carta", "cuento", "poema", "receta", "noticia", "afiche"};

const char touchSound[] = "sounds/touch.wav";
const int cell = 270;

QString picturePath(const char *name)
{
    return QString("images/TT1A/%1.png").arg(QString::fromUtf8(name));
}
}

GameTT1A::GameTT1A(QWidget *parent)
    : GameWindow(parent)
    , previewIndex(0)
{
    setDimensionColor(125, 97, 150);
    setTitle("Reconocimiento de tipos de texto");

    for (int i = 0; i < kindCount; ++i) {
        choiceImages[i] = new HoverableClickableImage(QString(), picturePath(kindTable[i].choicePicture),
                                                      getGameHolder());
        choiceImages[i]->setHoverMode(false);
    }
    // Created after the choices, so that they lie above them.
    for (int i = 0; i < kindCount; ++i) {
        previewImages[i] = new ImageLabel(picturePath(kindTable[i].previewPicture), getGameHolder());
        previewImages[i]->hide();
    }

    connect(choiceImages[0], &ClickableImage::clicked, this, &GameTT1A::clickedNoticia);
    connect(choiceImages[1], &ClickableImage::clicked, this, &GameTT1A::clickedCarta);
    connect(choiceImages[2], &ClickableImage::clicked, this, &GameTT1A::clickedCuento);
    connect(choiceImages[3], &ClickableImage::clicked, this, &GameTT1A::clickedPoema);
    connect(choiceImages[4], &ClickableImage::clicked, this, &GameTT1A::clickedReceta);
    connect(choiceImages[5], &ClickableImage::clicked, this, &GameTT1A::clickedAfiche);
}

QStringList GameTT1A::kinds()
{
    QStringList names;
    for (const Kind &kind : kindTable)
        names << QString::fromUtf8(kind.name);
    return names;
}

QStringList GameTT1A::resourcePaths()
{
    QStringList paths;
    for (const Kind &kind : kindTable)
        paths << picturePath(kind.choicePicture) << picturePath(kind.previewPicture);
    paths << touchSound;
    return paths;
}

void GameTT1A::init()
{
    GameWindow::init();
    exampleButton->setActive(false);
    testButton->setActive(true);
    nextButton->hide();
    currentType.clear();
    fillTypeQueue();
    placeTextTypes();
    for (int i = 0; i < kindCount; ++i) {
        choiceImages[i]->hide();
        previewImages[i]->hide();
    }
}

void GameTT1A::fillTypeQueue()
{
    typeQueue.clear();
    for (const char *kind : askedOrder)
        typeQueue.append(QString::fromUtf8(kind));
}

void GameTT1A::placeTextTypes()
{
    const int a = centeredX(3 * cell);
    const int b = centeredY(2 * cell);
    for (int i = 0; i < kindCount; ++i) {
        choiceImages[i]->move(a + (i % 3) * cell, b + (i / 3) * cell);
        centerWidget(previewImages[i]);
    }
}

void GameTT1A::runGame()
{
    testButton->setActive(false);
    testRunning = true;
    for (HoverableClickableImage *choice : choiceImages)
        choice->show();
    runNext();
}

void GameTT1A::runNext()
{
    if (typeQueue.isEmpty()) {
        finishGame();
        return;
    }
    currentType = typeQueue.takeFirst();
}

void GameTT1A::answerType(const QString &kind)
{
    // Once the last kind has been answered the choices stay on screen until the
    // next test comes, but they no longer count or sound.
    if (!testRunning || finished || currentType.isEmpty())
        return;
    emit requestLogValueForKey(currentType, kind == currentType ? "1" : "0");
    emit requestPlaySound(touchSound);
    runNext();
}

void GameTT1A::clickedNoticia()
{
    answerType("noticia");
}

void GameTT1A::clickedCarta()
{
    answerType("carta");
}

void GameTT1A::clickedCuento()
{
    answerType("cuento");
}

void GameTT1A::clickedPoema()
{
    answerType("poema");
}

void GameTT1A::clickedReceta()
{
    answerType("receta");
}

void GameTT1A::clickedAfiche()
{
    answerType("afiche");
}

void GameTT1A::showNextPreview()
{
    for (ImageLabel *preview : previewImages)
        preview->hide();
    if (previewIndex < kindCount)
        previewImages[previewIndex]->show();
    previewIndex = (previewIndex + 1) % (kindCount + 1);
}

void GameTT1A::keyPressEvent(QKeyEvent *event)
{
    if (!finished && isGameVisible() && event->key() == Qt::Key_Space) {
        showNextPreview();
        event->accept();
        return;
    }
    GameWindow::keyPressEvent(event);
}

void GameTT1A::resizeEvent(QResizeEvent *event)
{
    GameWindow::resizeEvent(event);
    placeTextTypes();
}
