#ifndef GAMECL2A_H
#define GAMECL2A_H

#include "gamewindow.h"

#include <QList>
#include <QString>
#include <QStringList>

class ImageLabel;
class InvisibleTouchArea;

// Reading comprehension: the child reads a story shown as one picture; then
// four question pictures follow one another, each laid over the story. Every
// question offers three answers on three lines; invisible touch areas over the
// lines ("a", "b", "c" from the top) take the child's choice. Each touch logs
// the question's index ("0" to "3") with "1" (correct) or "0", plays the touch
// sound and shows the next question at once. There is no example and no
// recording.
class GameCL2A : public GameWindow
{
    Q_OBJECT

public:
    static constexpr int AreaWidth = 320;
    static constexpr int AreaHeight = 35;
    static constexpr int AreaLeft = 130;

    explicit GameCL2A(QWidget *parent = nullptr);

    // Every picture and sound this test can ask for.
    static QStringList resourcePaths();
    static QString storyPath();
    static QString questionPath(int index);
    static QString touchSoundPath();
    // Distance of each answer line ("a", "b", "c") from the story's top edge.
    static QList<int> areaTops();

    int currentItemIndex() const { return itemIndex; }
    ImageLabel *getStoryImage() const { return storyImage; }
    ImageLabel *questionPage(int index) const { return questionPages.value(index); }
    InvisibleTouchArea *answerArea(int index) const { return answerAreas.value(index); }

public slots:
    void init() override;
    void runGame() override;
    void runNext() override;
    void selectedAnswer(QString answer);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeItems();
    void setAreasEnabled(bool enabled);

    ImageLabel *storyImage;
    QList<QString> correctOptions;
    QList<ImageLabel *> questionPages;
    QList<InvisibleTouchArea *> answerAreas;
    int itemIndex;
    bool answering;
};

#endif // GAMECL2A_H
