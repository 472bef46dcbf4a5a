#ifndef GAMEPA1A_H
#define GAMEPA1A_H

#include "gamewindow.h"

#include <QHash>
#include <QString>
#include <QStringList>

class ImageLabel;

// Grapheme knowledge ("PA1A"): one lower-case letter at a time is shown and the
// examiner types the letter the child says. Each answer key logs "1" or "0"
// under the letter shown and brings the next letter at once; "a" is the example
// and is never logged.
class GamePA1A : public GameWindow
{
    Q_OBJECT

public:
    explicit GamePA1A(QWidget *parent = nullptr);

    // The example letter and the test letters in the order they are presented;
    // the letter name test uses the same sequence.
    static QString exampleLetter();
    static QStringList testLetters();
    // Whether the key typed counts as the letter: the same letter in either
    // case, or the digit 1 for "l" and 0 for "o".
    static bool keyMatchesLetter(int key, const QString &typed, const QString &letter);
    // True for the keys that are answers: A–Z and 0–9.
    static bool isAnswerKey(int key);

    static QString picturePath(const QString &letter);
    // Every picture this test shows.
    static QStringList resourcePaths();

    // The letter on screen, and its picture (null before the first init).
    QString getCurrentLetter() const { return currentLetter; }
    ImageLabel *letterPicture(const QString &letter) const { return letterPictures.value(letter); }

public slots:
    void init() override;
    void runExample() override;
    void runGame() override;
    void runNext() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void addLetter(const QString &letter, bool queue);
    void buildLetters();
    void centerAllLetters();
    void showCurrentLetter(bool visible);

    QStringList letters;
    QHash<QString, ImageLabel *> letterPictures;
    QString currentLetter;
};

#endif // GAMEPA1A_H
