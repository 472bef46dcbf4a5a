#include "gamerv1a.h"

#include "clickableimage.h"
#include "paragraph.h"

namespace {
const char *const story[] = {
    "Hola, soy %1. Ayer me mandaron a",
    "comprar el pan para tomar once con mi papá",
    "y mi mamá. Fui con mi perro Sultán al almacén",
    "de la esquina de mi casa. En el pasaje había",
    "unos niños jugando a la pelota y mi perro",
    "se fue corriendo detrás de ella. Los niños estaban",
    "muy enojados porque no se la podían quitar.",
    "Sólo cuando apareció un gato detrás de un",
    "auto, Sultán se olvidó de la pelota.",
};

// The words sought after the child's name, in order.
const char *const soughtWords[] = {"pan", "mamá", "casa", "perro", "pelota"};

// A touched word is compared without its periods and commas.
QString withoutPunctuation(QString word)
{
    return word.remove('.').remove(',');
}
}

GameRV1A::GameRV1A(QWidget *parent)
    : GameWindow(parent)
    , paragraph(nullptr)
{
    setDimensionColor(0, 153, 215);
    setTitle("Reconocimiento visual de palabras");
}

QStringList GameRV1A::storyLines()
{
    QStringList lines;
    for (const char *line : story)
        lines << QString::fromUtf8(line);
    return lines;
}

void GameRV1A::setChildName(QString name)
{
    // The first word of the name; a name that starts with blanks still gives
    // its first real word.
    const QStringList parts = name.split(' ');
    QString first;
    for (const QString &part : parts) {
        if (!part.isEmpty()) {
            first = part;
            break;
        }
    }
    first = first.toLower();
    if (!first.isEmpty())
        first.replace(0, 1, first.at(0).toUpper());
    childName = first;
}

void GameRV1A::buildStory()
{
    delete paragraph;
    paragraph = new Paragraph(getGameHolder());

    const QStringList lines = storyLines();
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = i == 0 ? QString(lines.at(i)).replace("%1", childName) : lines.at(i);
        paragraph->addLine(line.toUtf8().constData());
    }
    paragraph->layoutLines();
    connect(paragraph, &Paragraph::clicked, this, &GameRV1A::selectedWord);

    targets.clear();
    targets << childName;
    for (const char *word : soughtWords)
        targets << QString::fromUtf8(word);
}

void GameRV1A::placeParagraph()
{
    if (paragraph)
        paragraph->move(centeredX(paragraph->width()), centeredY(paragraph->height()));
}

void GameRV1A::init()
{
    GameWindow::init();
    buildStory();
    placeParagraph();
    testButton->setActive(true);
    nextButton->hide();
    paragraph->hide();
    currentTarget = targets.takeFirst();
}

void GameRV1A::runGame()
{
    testButton->setActive(false);
    testRunning = true;
    paragraph->show();
    paragraph->setSelectableWord(true);
}

void GameRV1A::selectedWord(QString word)
{
    if (!testRunning || finished)
        return;
    // Compared without periods and commas on both sides, so that a name that
    // carries one can still be found.
    const bool right = withoutPunctuation(word) == withoutPunctuation(currentTarget);
    emit requestLogValueForKey(currentTarget, right ? "1" : "0");
    if (targets.isEmpty()) {
        paragraph->disableAllWords();
        finishGame();
    } else {
        currentTarget = targets.takeFirst();
    }
}

void GameRV1A::resizeEvent(QResizeEvent *event)
{
    GameWindow::resizeEvent(event);
    placeParagraph();
}
