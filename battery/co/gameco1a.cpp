#include "gameco1a.h"

#include "clickableimage.h"
#include "imagelabel.h"
#include "paragraph.h"

namespace {
// The questions, one or two lines each.
const char *const questionLines[][2] = {
    {"¿Cómo se hace la mermelada de moscas?", nullptr},
    {"¿Por qué es necesario que la mermelada", "lleve cola fría?"},
    {"¿Por qué hay que empezar con caquitas de perro", "y huevito podrido?"},
    {"¿Prepararías la mermelada de moscas?", "¿Sí o no? ¿Por qué?"},
};
const int questionCount = 4;
}

GameCO1A::GameCO1A(QWidget *parent)
    : GameWindow(parent)
    , readersImage(nullptr)
    , currentQuestion(nullptr)
    , questionIndex(-1)
    , awaitingInstructions(false)
{
    setDimensionColor(245, 147, 52);
    setTitle("Comprensión oral");

    readersImage = new ImageLabel(readersPath(), getGameHolder());
    for (const auto &lines : questionLines) {
        auto *paragraph = new Paragraph(getGameHolder());
        for (const char *line : lines)
            if (line)
                paragraph->addLine(line);
        paragraph->layoutLines();
        paragraph->hide();
        questions << paragraph;
    }
}

QStringList GameCO1A::resourcePaths()
{
    return {readersPath(), instructionSoundPath()};
}

QString GameCO1A::instructionSoundPath()
{
    return "sounds/CO1A/instrucciones_mermelada_moscas.wav";
}

QString GameCO1A::readersPath()
{
    return "images/CO1A/lectores.png";
}

void GameCO1A::placeQuestions()
{
    centerWidget(readersImage);
    for (Paragraph *paragraph : qAsConst(questions))
        centerWidget(paragraph);
}

void GameCO1A::init()
{
    GameWindow::init();
    exampleButton->setActive(false);
    testButton->setActive(true);
    nextButton->setActive(false);
    readersImage->hide();
    // A question left on screen by an abandoned run must not show in this one.
    for (Paragraph *paragraph : qAsConst(questions))
        paragraph->hide();
    questionIndex = -1;
    currentQuestion = nullptr;
    awaitingInstructions = false;
    placeQuestions();
}

void GameCO1A::runGame()
{
    if (testRunning)
        return;
    testRunning = true;
    readersImage->show();
    soundingIcon->show();
    // Armed before the request: the end of a sound that cannot be played is
    // reported as soon as the event loop turns.
    awaitingInstructions = true;
    testButton->setActive(false);
    emit requestPlaySound(instructionSoundPath());
}

void GameCO1A::soundHasFinished()
{
    soundingIcon->hide();
    // Only the end of the instructions leads to the first question, and only once.
    if (!awaitingInstructions)
        return;
    awaitingInstructions = false;
    readersImage->hide();
    nextButton->setActive(true);
    runNext();
}

void GameCO1A::runNext()
{
    // Nothing to move on from before the first question or after the last.
    if (awaitingInstructions || !testRunning || questionIndex >= questionCount)
        return;
    if (questionIndex >= 0) {
        stopRecording();
        emit requestLogValueForKey("ANSWER", QString::number(questionIndex));
        emit requestLogValueForKey("FILE", recordingFileName);
    }
    ++questionIndex;
    if (currentQuestion)
        currentQuestion->hide();
    if (questionIndex >= questionCount) {
        currentQuestion = nullptr;
        nextButton->setActive(false);
        finishGame();
        return;
    }
    currentQuestion = questions.at(questionIndex);
    currentQuestion->show();
    startRecording();
}

void GameCO1A::resizeEvent(QResizeEvent *event)
{
    GameWindow::resizeEvent(event);
    placeQuestions();
}
