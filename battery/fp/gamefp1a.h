#ifndef GAMEFP1A_H
#define GAMEFP1A_H

#include "gamewindow.h"

#include <QString>
#include <QStringList>

class ImageLabel;
class MovieLabel;
class QLabel;
class QTimer;

// Word and pseudo-word reading: a martian "says" one written word at a time in
// a speech bubble and the child reads it aloud. Every word is recorded into a
// WAV file of its own. The examiner clicks the next button once the child has
// read the word; the word and its recording are logged ("WORD", "FILE"), the
// screen stays blank for 500 ms and the next word follows. Four invented words
// come first, then four real ones.
//
// The next button is active only while a word is on screen, so that clicks
// during the pauses or after the last word cannot log a word twice, stop the
// recorder again or skip a word.
class GameFP1A : public GameWindow
{
    Q_OBJECT

public:
    explicit GameFP1A(QWidget *parent = nullptr);

    // Every picture this test can show.
    static QStringList resourcePaths();
    // The words of the test, in the order they are shown.
    static QStringList testWords();
    static QString exampleWord();

    MovieLabel *getMartian() const { return martian; }
    ImageLabel *getSpeechBubble() const { return speechBubble; }
    QLabel *getWordLabel() const { return wordLabel; }

public slots:
    void init() override;
    void runExample() override;
    void runGame() override;
    void runNext() override;
    void showNextWord();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void buildWords();
    void placeMartian();
    void placeWord();

    QStringList words;
    QString currentWord;
    MovieLabel *martian;
    ImageLabel *speechBubble;
    QLabel *wordLabel;
    bool wordShown;
    // The 500 ms pause before each word; cancelled by init() and when the test
    // is hidden, so that a pause left over from an earlier run never shows a word.
    QTimer *pauseTimer;
};

#endif // GAMEFP1A_H
