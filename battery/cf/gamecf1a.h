#ifndef GAMECF1A_H
#define GAMECF1A_H

#include "gamewithfriends.h"

#include <QHash>
#include <QString>
#include <QStringList>

class ImageLabel;

// Syllable segmentation ("CF1A"): the application says a word and the child
// strikes a drum once per syllable, each strike a press of the Space bar (a drum
// sound, and one of the two drumsticks lowered for a moment, left and right in
// turn). The examiner's click on the next button logs, under the word, "1" when
// the strikes match its syllables and "0" otherwise, and says the next word.
// Clicking the friends animation repeats the current word; "lobo" is the
// example and is never logged.
class GameCF1A : public GameWithFriends
{
    Q_OBJECT

public:
    explicit GameCF1A(QWidget *parent = nullptr);

    static QString soundPath(const QString &word);
    // Every picture and sound this test uses.
    static QStringList resourcePaths();

    QString getCurrentWord() const { return currentWord; }
    int getHitCount() const { return hitCount; }
    ImageLabel *getDrum() const { return drum; }
    ImageLabel *getLeftStickUp() const { return leftStickUp; }
    ImageLabel *getLeftStickDown() const { return leftStickDown; }
    ImageLabel *getRightStickUp() const { return rightStickUp; }
    ImageLabel *getRightStickDown() const { return rightStickDown; }

public slots:
    void playWord();
    void drumsticksUp();
    void init() override;
    void runExample() override;
    void runGame() override;
    void runNext() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void addWord(const QString &word, int syllables, bool queue);
    void buildWords();
    void nextWord();
    void hitDrum();
    void placeDrum();

    QStringList words;
    QHash<QString, QString> wordSounds;
    QHash<QString, int> syllableCounts;
    ImageLabel *drum;
    ImageLabel *leftStickUp;
    ImageLabel *leftStickDown;
    ImageLabel *rightStickUp;
    ImageLabel *rightStickDown;
    QString currentWord;
    int hitCount;
    bool leftTurn;
};

#endif // GAMECF1A_H
