#ifndef GAMERV1A_H
#define GAMERV1A_H

#include "gamewindow.h"

#include <QList>
#include <QString>
#include <QStringList>

class Paragraph;

// "RV1A": a short story of nine lines that greets the child by name. The child
// is asked for six words in a fixed order (the own first name, "pan", "mamá",
// "casa", "perro", "pelota") and touches one word for each; every touch is
// logged under the word sought, "1" when it was that word and "0" otherwise.
// No example, no sound, no recording.
class GameRV1A : public GameWindow
{
    Q_OBJECT

public:
    explicit GameRV1A(QWidget *parent = nullptr);

    // The child's first name as given on the form; the story uses its first
    // word, capitalised ("maría josé" gives "María"). Takes effect at init().
    void setChildName(QString name);

    QString getChildName() const { return childName; }
    QString getCurrentTarget() const { return currentTarget; }
    Paragraph *getParagraph() const { return paragraph; }

    // The story's lines, with %1 standing for the child's name.
    static QStringList storyLines();
    // The test shows no pictures of its own and plays no sounds.
    static QStringList resourcePaths() { return QStringList(); }

public slots:
    void init() override;
    void runGame() override;
    void selectedWord(QString word);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildStory();
    void placeParagraph();

    QList<QString> targets;
    Paragraph *paragraph;
    QString currentTarget;
    QString childName;
};

#endif // GAMERV1A_H
