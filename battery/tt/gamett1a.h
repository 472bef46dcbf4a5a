#ifndef GAMETT1A_H
#define GAMETT1A_H

#include "gamewindow.h"

#include <QList>
#include <QString>
#include <QStringList>

class HoverableClickableImage;
class ImageLabel;

// "TT1A": six small pictures of kinds of text in a grid of three by two. The
// examiner asks for the kinds in a fixed order ("carta", "cuento", "poema",
// "receta", "noticia", "afiche"); each touch is logged under the kind asked
// for, "1" when the child touched that kind and "0" otherwise, and confirmed
// with a touch sound. Space shows the enlarged pictures one after the other
// and then none.
class GameTT1A : public GameWindow
{
    Q_OBJECT

public:
    explicit GameTT1A(QWidget *parent = nullptr);

    // The kinds in grid order (noticia, carta, cuento, poema, receta, afiche).
    static QStringList kinds();
    // Every picture and sound this test can ask for.
    static QStringList resourcePaths();

    HoverableClickableImage *choice(int index) const { return choiceImages[index]; }
    ImageLabel *preview(int index) const { return previewImages[index]; }
    QString getCurrentType() const { return currentType; }

public slots:
    void init() override;
    void runGame() override;
    void runNext() override;

    void clickedNoticia();
    void clickedCarta();
    void clickedCuento();
    void clickedPoema();
    void clickedReceta();
    void clickedAfiche();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    static const int kindCount = 6;

    void answerType(const QString &kind);
    void fillTypeQueue();
    void placeTextTypes();
    void showNextPreview();

    HoverableClickableImage *choiceImages[kindCount];
    ImageLabel *previewImages[kindCount];
    QString currentType;
    QList<QString> typeQueue;
    int previewIndex;
};

#endif // GAMETT1A_H
