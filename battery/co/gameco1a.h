#ifndef GAMECO1A_H
#define GAMECO1A_H

#include "gamewindow.h"

#include <QList>
#include <QString>
#include <QStringList>

class ImageLabel;
class Paragraph;

// Oral comprehension: the child hears the instructions (a story read aloud)
// while a picture of readers is shown, then answers four questions about it
// aloud. Each question is shown in large type while the child's answer is
// recorded into a WAV file of its own; the examiner moves on with the next
// button. Per question the test logs "ANSWER" (the question's index, "0" to
// "3") and "FILE" (its recording). The answers are not scored here.
//
// The first question follows the end of the instructions, which the main
// window reports also when they cannot be played, so the test always goes on.
class GameCO1A : public GameWindow
{
    Q_OBJECT

public:
    explicit GameCO1A(QWidget *parent = nullptr);

    // Every picture and sound this test can ask for.
    static QStringList resourcePaths();
    static QString instructionSoundPath();
    static QString readersPath();

    ImageLabel *getReadersImage() const { return readersImage; }
    Paragraph *question(int index) const { return questions.value(index); }
    int currentQuestionIndex() const { return questionIndex; }

public slots:
    void init() override;
    void runGame() override;
    void runNext() override;
    void soundHasFinished() override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeQuestions();

    ImageLabel *readersImage;
    QList<Paragraph *> questions;
    Paragraph *currentQuestion;
    int questionIndex;
    // The instructions are playing: only their end shows the first question.
    bool awaitingInstructions;
};

#endif // GAMECO1A_H
