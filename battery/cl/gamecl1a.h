#ifndef GAMECL1A_H
#define GAMECL1A_H

#include "gamewindow.h"

#include <QList>
#include <QString>
#include <QStringList>

class ImageLabel;
class WidgetCL1Stimuli;

// Sentence reading: six items, one after the other. Each shows a short
// statement as a picture at the top and three option pictures below it; the
// child touches the option that matches the statement. Each touch logs the
// item's number ("1" to "6") with "1" (correct) or "0" and shows the next item
// at once. There is no example, no sound and no recording.
class GameCL1A : public GameWindow
{
    Q_OBJECT

public:
    explicit GameCL1A(QWidget *parent = nullptr);

    // Every picture this test can show.
    static QStringList resourcePaths();
    static QString statementPath(int itemNumber);
    // The letter ("a", "b", "c") of the correct option of items 1 to 6.
    static QStringList correctLetters();

    int currentItemIndex() const { return itemIndex; }
    ImageLabel *statementImage(int index) const { return statementImages.value(index); }
    WidgetCL1Stimuli *optionWidget(int index) const { return optionWidgets.value(index); }

public slots:
    void init() override;
    void runGame() override;
    void runNext() override;
    void selectedAnswer(int index_, bool isCorrect);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeItems();

    QList<QString> correctOptions;
    QList<ImageLabel *> statementImages;
    QList<WidgetCL1Stimuli *> optionWidgets;
    int itemIndex;
};

#endif // GAMECL1A_H
