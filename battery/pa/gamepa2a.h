#ifndef GAMEPA2A_H
#define GAMEPA2A_H

#include "gamewithfriends.h"

#include <QHash>
#include <QString>
#include <QStringList>

// Letter name knowledge ("PA2A"): nothing is written on the screen; for each
// letter a spoken prompt plays while the friends animation moves, and the
// examiner types the letter the child names. Each answer key logs "1" or "0"
// under the letter and plays the next prompt at once. Clicking the animation
// replays the current prompt. "a" is the example and is never logged.
class GamePA2A : public GameWithFriends
{
    Q_OBJECT

public:
    explicit GamePA2A(QWidget *parent = nullptr);

    // Whether the key typed counts as the letter: as in the grapheme test, and B
    // and V count for each other.
    static bool keyMatchesLetter(int key, const QString &typed, const QString &letter);

    static QString soundPath(const QString &letter);
    // Every prompt this test plays.
    static QStringList resourcePaths();

    // The letter whose prompt was played last.
    QString getCurrentLetter() const { return currentLetter; }

public slots:
    void playPhoneme();
    void init() override;
    void runExample() override;
    void runGame() override;
    void runNext() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void addLetter(const QString &letter, bool queue);
    void buildLetters();
    void playPrompt();

    QStringList letters;
    QHash<QString, QString> letterSounds;
    QString currentLetter;
};

#endif // GAMEPA2A_H
